#include "phonebook/store/connectionstring.h"

#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

namespace {
bool needsQuotes(const QString &value) {
    return value.contains(QLatin1Char(';')) || value.startsWith(QLatin1Char('"')) ||
           value.startsWith(QLatin1Char('\'')) || value != value.trimmed();
}
} // namespace

ConnectionString ConnectionString::parse(const QString &text) {
    ConnectionString result;
    qsizetype at = 0;
    const qsizetype end = text.size();
    // Whatever follows a password may be a piece of it (a ; in a password not quoted):
    // a message about it says where it is and never shows it.
    const auto notAPair = [&result](const QString &part) {
        return result.contains(QStringLiteral("Password"))
                   ? StoreText::notKeyAndValueAfterPassword()
                   : StoreText::notKeyAndValue(part);
    };
    while (at < end) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), at);
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), at);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            const QString rest = text.mid(at, semicolon < 0 ? -1 : semicolon - at).trimmed();
            if (!rest.isEmpty())
                raiseError(ErrorNumber::InvalidConnectionString, notAPair(rest));
            at = semicolon < 0 ? end : semicolon + 1;
            continue;
        }
        const QString key = text.mid(at, equals - at).trimmed();
        if (key.isEmpty())
            raiseError(ErrorNumber::InvalidConnectionString, notAPair(text.mid(at).trimmed()));
        at = equals + 1;
        while (at < end && text[at].isSpace())
            ++at;
        QString value;
        if (at < end && (text[at] == QLatin1Char('"') || text[at] == QLatin1Char('\''))) {
            const QChar quote = text[at++];
            bool closed = false;
            while (at < end) {
                if (text[at] == quote) {
                    if (at + 1 < end && text[at + 1] == quote) {
                        value += quote;
                        at += 2;
                        continue;
                    }
                    ++at;
                    closed = true;
                    break;
                }
                value += text[at++];
            }
            if (!closed)
                raiseError(ErrorNumber::InvalidConnectionString, StoreText::unclosedQuote(key));
            while (at < end && text[at].isSpace())
                ++at;
            if (at < end && text[at] != QLatin1Char(';'))
                raiseError(ErrorNumber::InvalidConnectionString, StoreText::textAfterQuote(key));
        } else {
            const qsizetype stop = text.indexOf(QLatin1Char(';'), at);
            value = text.mid(at, stop < 0 ? -1 : stop - at).trimmed();
            at = stop < 0 ? end : stop;
        }
        ++at; // the ; after the value
        result.values_.insert(key.toLower(), value);
        result.written_.insert(key.toLower(), key);
    }
    return result;
}

QString ConnectionString::value(const QString &key) const {
    return values_.value(key.toLower());
}

bool ConnectionString::contains(const QString &key) const {
    return values_.contains(key.toLower());
}

QStringList ConnectionString::keys() const {
    return written_.values();
}

QString connectionStringValue(const QString &value) {
    if (!needsQuotes(value))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString phoneBookConnectionString(const QString &dataFolder) {
    // Plain concatenation, as the phone book has always built it; only a folder whose
    // name would not read back plain (a ; in it) is quoted.
    return QStringLiteral("PROVIDER=SQLite;Data Source=") +
           connectionStringValue(dataFolder + QStringLiteral("/ORVANEL.MDB")) + QStringLiteral(";");
}
