#include "diary/searchterms.h"

#include <QChar>

namespace {

bool isWrittenWithoutSpaces(char32_t c) {
    if (c < 0x2e80)
        return false;
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return true;
    default:
        return false;
    }
}

bool isWordCharacter(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return QChar::isLetterOrNumber(c) || QChar::category(c) == QChar::Mark_NonSpacing ||
           QChar::category(c) == QChar::Mark_SpacingCombining;
}

// The words of a text, folded (lower case, no accents) into one buffer, each with where
// it stands in the buffer and in the text.
struct Words {
    struct Word {
        qsizetype foldedStart = 0;
        qsizetype foldedLength = 0;
        TextSpan span;
    };
    QString folded;
    QList<Word> list;

    QStringView at(qsizetype index) const {
        const Word &word = list[index];
        return QStringView(folded).mid(word.foldedStart, word.foldedLength);
    }
};

// The characters a character folds to: its base letters, without accents, in lower case.
void appendFolded(QString &out, char32_t c) {
    if (c < 0x80) {
        out += QChar(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        return;
    }
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    for (const char32_t part : decomposed.toUcs4()) {
        const auto category = QChar::category(part);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
            category == QChar::Mark_Enclosing)
            continue;
        const char32_t lower = QChar::toCaseFolded(part);
        out += QString::fromUcs4(&lower, 1);
    }
}

// The words of a text the way the index splits it: runs of letters and digits, and each
// character of a script written without spaces on its own.
Words wordsOf(const QString &text) {
    Words words;
    words.folded.reserve(text.size());
    Words::Word current;
    bool inWord = false;
    auto finish = [&](qsizetype end) {
        current.foldedLength = words.folded.size() - current.foldedStart;
        if (inWord && current.foldedLength > 0) {
            current.span.length = end - current.span.start;
            words.list << current;
        }
        inWord = false;
    };
    auto begin = [&](qsizetype start) {
        current = Words::Word{words.folded.size(), 0, TextSpan{start, 0}};
        inWord = true;
    };
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype start = i;
        char32_t c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
            text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        ++i;
        if (isWrittenWithoutSpaces(c)) {
            finish(start);
            begin(start);
            appendFolded(words.folded, c);
            finish(i);
        } else if (isWordCharacter(c)) {
            if (!inWord)
                begin(start);
            appendFolded(words.folded, c);
        } else if (inWord) {
            finish(start);
        }
    }
    if (inWord)
        finish(text.size());
    return words;
}

} // namespace

SearchTerms SearchTerms::parse(const QString &typed) {
    SearchTerms result;
    // The typed text in pieces: outside quotes each word is a term, inside them the
    // words together are one.
    const QStringList pieces = typed.split(QLatin1Char('"'));
    for (qsizetype piece = 0; piece < pieces.size(); ++piece) {
        const bool quoted = piece % 2 == 1;
        const Words words = wordsOf(pieces[piece]);
        if (quoted) {
            Term phrase;
            for (qsizetype i = 0; i < words.list.size(); ++i)
                phrase.words << words.at(i).toString();
            if (!phrase.words.isEmpty())
                result.terms_ << phrase;
            continue;
        }
        // A run of characters of a script written without spaces is a phrase of them.
        Term run;
        auto endRun = [&] {
            if (!run.words.isEmpty())
                result.terms_ << run;
            run = Term{};
        };
        for (qsizetype i = 0; i < words.list.size(); ++i) {
            const QString folded = words.at(i).toString();
            const TextSpan &span = words.list[i].span;
            const bool single =
                folded.size() <= 2 && isWrittenWithoutSpaces(folded.toUcs4().value(0));
            const bool followsRun =
                !run.words.isEmpty() && i > 0 &&
                words.list[i - 1].span.start + words.list[i - 1].span.length == span.start;
            if (single && (run.words.isEmpty() || followsRun)) {
                run.words << folded;
                continue;
            }
            endRun();
            if (single)
                run.words << folded;
            else
                result.terms_ << Term{{folded}, false};
        }
        endRun();
    }
    // The last word, while it is being typed, may be the beginning of a longer one.
    const QString trimmed = typed;
    if (!result.terms_.isEmpty() && pieces.size() % 2 == 1 && !trimmed.isEmpty() &&
        isWordCharacter(trimmed.back().unicode()) && result.terms_.last().words.size() == 1)
        result.terms_.last().prefix = true;
    return result;
}

QString SearchTerms::indexQuery() const {
    QStringList parts;
    for (const Term &term : terms_) {
        QString part = QLatin1Char('"') + term.words.join(QLatin1Char(' ')) + QLatin1Char('"');
        if (term.prefix)
            part += QLatin1Char('*');
        parts << part;
    }
    return parts.join(QStringLiteral(" AND "));
}

QList<TextSpan> SearchTerms::spansIn(const QString &text) const {
    const Words words = wordsOf(text);
    QList<TextSpan> spans;
    for (qsizetype i = 0; i < words.list.size(); ++i) {
        for (const Term &term : terms_) {
            const qsizetype count = term.words.size();
            if (i + count > words.list.size())
                continue;
            bool matches = true;
            for (qsizetype k = 0; k < count && matches; ++k) {
                const QString &wanted = term.words[k];
                const QStringView found = words.at(i + k);
                matches =
                    term.prefix && k == count - 1 ? found.startsWith(wanted) : found == wanted;
            }
            if (matches) {
                const TextSpan &last = words.list[i + count - 1].span;
                spans << TextSpan{words.list[i].span.start,
                                  last.start + last.length - words.list[i].span.start};
                break;
            }
        }
    }
    return spans;
}

QString indexedText(const QString &text) {
    QString spaced;
    spaced.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isWrittenWithoutSpaces(c.unicode())) {
            spaced += QLatin1Char(' ');
            spaced += c;
            spaced += QLatin1Char(' ');
        } else {
            spaced += c;
        }
    }
    return spaced;
}
