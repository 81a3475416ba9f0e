#include "sampledocument.h"

#include <QTextCursor>
#include <array>

namespace {
const std::array<QString, 12> words = {
    QStringLiteral("morning"),  QStringLiteral("walk"),      QStringLiteral("river"),
    QStringLiteral("letter"),   QStringLiteral("telephone"), QStringLiteral("garden"),
    QStringLiteral("Übergang"), QStringLiteral("café"),      QStringLiteral("Ελλάδα"),
    QStringLiteral("дневник"),  QStringLiteral("meeting"),   QStringLiteral("evening")};
}

void fillSampleDocument(QTextDocument &document, qsizetype characters) {
    document.clear();
    QTextCursor cursor(&document);
    quint32 seed = 12345;
    auto next = [&seed](quint32 range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    qsizetype written = 0;
    bool firstParagraph = true;
    while (written < characters) {
        if (!firstParagraph)
            cursor.insertBlock();
        firstParagraph = false;
        QTextBlockFormat block;
        const quint32 align = next(8);
        block.setAlignment(align == 0   ? Qt::AlignHCenter
                           : align == 1 ? Qt::AlignRight
                                        : Qt::AlignLeft);
        cursor.setBlockFormat(block);
        const int sentenceWords = 40 + int(next(80));
        for (int w = 0; w < sentenceWords && written < characters; ++w) {
            QTextCharFormat format;
            const quint32 style = next(16);
            format.setFontWeight(style == 0 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(style == 1);
            format.setFontUnderline(style == 2);
            if (style == 3)
                format.setForeground(QColor(0x80, 0x00, 0x00));
            if (style == 4)
                format.setFontFamilies({QStringLiteral("Times New Roman")});
            const QString word = words[next(words.size())] + QLatin1Char(' ');
            cursor.insertText(word, format);
            written += word.size();
        }
    }
}
