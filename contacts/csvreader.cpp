#include "contacts/csvreader.h"

#include "contacts/contactlines.h"
#include "contacts/contacttexts.h"
#include "contacts/csvdialects.h"
#include "contacts/outlooklanguages.h"
#include "platform/runtimeerror.h"

#include <QHash>
#include <QStringList>
#include <functional>

namespace {
QString lineText(const QByteArray &bytes) {
    return decodedText(bytes).value_or(QString());
}

// Splits one record into fields, asking for further lines while a quote is open.
class RecordSplitter {
public:
    RecordSplitter(ContactLines &lines, QChar separator) : lines_(lines), separator_(separator) {}

    // The fields of the record that begins with `line`, into `fields`; with `oneLine`, a
    // quote left open ends with the line instead of taking the next.
    void split(const QString &line, QStringList &fields, bool oneLine = false) {
        fields.clear();
        QString text = line;
        const qint64 firstLine = lines_.lineNumber();
        qsizetype i = 0;
        for (;;) {
            qsizetype quote = i;
            while (quote < text.size() && text[quote] != separator_ &&
                   (text[quote] == QLatin1Char(' ') || text[quote] == QLatin1Char('\t')))
                ++quote;
            QString field;
            if (quote < text.size() && text[quote] == QLatin1Char('"')) {
                i = quote + 1;
                for (;;) {
                    const qsizetype close = text.indexOf(QLatin1Char('"'), i);
                    if (close < 0) {
                        field += QStringView(text).mid(i);
                        i = text.size();
                        if (oneLine)
                            break;
                        // A line break inside quotes belongs to the field.
                        if (field.size() > ContactLines::maxLineBytes)
                            raiseError(ErrorNumber::InvalidFileFormat,
                                       ContactText::csvFieldTooLong(lines_.path(), firstLine));
                        const std::optional<QByteArray> more = lines_.next();
                        if (!more)
                            raiseError(ErrorNumber::InvalidFileFormat,
                                       ContactText::unclosedCsvQuote(lines_.path(), firstLine));
                        field += QLatin1Char('\n');
                        text = lineText(*more);
                        i = 0;
                        continue;
                    }
                    field += QStringView(text).mid(i, close - i);
                    i = close + 1;
                    if (i < text.size() && text[i] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        ++i;
                        continue;
                    }
                    break;
                }
            }
            // An unquoted field, or what follows a closing quote, runs to the separator.
            qsizetype end = text.indexOf(separator_, i);
            if (end < 0)
                end = text.size();
            field += QStringView(text).mid(i, end - i);
            fields << field;
            if (end == text.size())
                break;
            i = end + 1;
        }
    }

private:
    ContactLines &lines_;
    QChar separator_;
};

} // namespace

void readCsv(ContactLines &lines, ContactReading &contents, const ContactSink &sink) {
    contents.cards = false;
    std::optional<QByteArray> first;
    do {
        first = lines.next();
    } while (first && first->trimmed().isEmpty());
    if (!first)
        raiseError(ErrorNumber::InvalidFileFormat, ContactText::contactFileEmpty(lines.path()));

    // The separator is the one that makes headers of a set we know.
    const QString headerLine = lineText(*first);
    std::optional<Header> header;
    std::optional<Reading> reading;
    QChar separator;
    for (const QChar candidate : {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')}) {
        if (!headerLine.contains(candidate) && candidate != QLatin1Char(','))
            continue;
        RecordSplitter splitter(lines, candidate);
        QStringList names;
        splitter.split(headerLine, names, true);
        // Outlook in another language is read as the English one.
        if (std::optional<QStringList> english = outlookHeadersInEnglish(names))
            names = std::move(*english);
        Header tried(names);
        if (auto found = readingFor(tried)) {
            header.emplace(std::move(tried));
            reading = std::move(found);
            separator = candidate;
            break;
        }
    }
    if (!reading)
        raiseError(ErrorNumber::InvalidFileFormat, ContactText::unknownCsvHeaders(lines.path()));

    RecordSplitter splitter(lines, separator);
    QStringList fields; // one list for every record, which keeps its room
    fields.reserve(header->size() + 1);
    while (const std::optional<QByteArray> line = lines.next()) {
        if (line->trimmed().isEmpty())
            continue;
        const qint64 place = lines.lineNumber();
        splitter.split(lineText(*line), fields);
        // Fields past the headers are refused unless they are empty: a separator that
        // was not quoted would otherwise move every value after it into the wrong column.
        while (fields.size() > header->size() && fields.last().trimmed().isEmpty())
            fields.removeLast();
        if (fields.size() > header->size()) {
            contents.refuse({contents.origin(place),
                             ContactText::tooManyFields(fields.size(), header->size())});
            continue;
        }
        Values values = (*reading)(Row(*header, fields));
        QString problem = serialNumberProblem(values);
        if (problem.isEmpty() && !hasAnyValue(values))
            problem = ContactText::nothingToKeep();
        if (!problem.isEmpty())
            contents.refuse({contents.origin(place), problem});
        else
            sink({std::move(values), place});
    }
}
