#include "platform/commandline.h"

#include "platform/runtimeerror.h"

namespace {
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

[[noreturn]] void badLine(const QString &why) {
    raiseError(ErrorNumber::InvalidProcedureCall,
               QStringLiteral("The command line cannot be run: %1.").arg(why));
}
} // namespace

QStringList splitCommandLine(const QString &commandLine) {
    QStringList words;
    QString word;
    bool inWord = false; // "" is a word of its own, so quotes can start one
    const qsizetype length = commandLine.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = commandLine[i];
        if (isBlank(c)) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == QLatin1Char('\'')) {
            const qsizetype close = commandLine.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0)
                badLine(QStringLiteral("a single quote (') is not closed"));
            word += commandLine.mid(i + 1, close - i - 1);
            i = close;
        } else if (c == QLatin1Char('"')) {
            for (++i;; ++i) {
                if (i >= length)
                    badLine(QStringLiteral("a double quote (\") is not closed"));
                const QChar inner = commandLine[i];
                if (inner == QLatin1Char('"'))
                    break;
                if (inner == QLatin1Char('\\') && i + 1 < length &&
                    QStringLiteral("\"\\$`").contains(commandLine[i + 1]))
                    word += commandLine[++i];
                else
                    word += inner;
            }
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 >= length)
                badLine(QStringLiteral("it ends in a backslash"));
            word += commandLine[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}
