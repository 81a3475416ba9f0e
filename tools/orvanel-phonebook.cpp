// orvanel-phonebook: makes phone books for ORVANEL and moves contacts in and out.
//   orvanel-phonebook init FILE                  a new phone book file with an empty table
//   orvanel-phonebook init --connection STRING   the table PHONEBOOK on a database server
//   orvanel-phonebook sample FILE N              appends N generated contacts to a file
//   orvanel-phonebook copy FROM TO               every record from one connection string
//                                                to another, whose table must be empty
//   orvanel-phonebook import FILE [--into CONNECTION]
//                                                the contacts of a vCard or CSV file
//   orvanel-phonebook export FILE [--format vcard3|vcard4|csv] [--from CONNECTION]
//                                                every record to a vCard or CSV file
// Without --into or --from, import and export use ORVANEL.MDB in the data folder.
// A connection string that holds a password is better not given as an argument, which
// every user of the machine sees (ps): "-" reads it as a line from standard input, and
// "env:NAME" takes it from the environment variable NAME.
#include "contacts/contacttransfer.h"
#include "phonebook/store/connectionstring.h"
#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/phonebooktable.h"
#include "phonebook/store/sqlitefile.h"
#include "phonebookfile.h"
#include "platform/folders.h"
#include "platform/runtimeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {
const char *const usageText =
    "usage: orvanel-phonebook init FILE\n"
    "       orvanel-phonebook init --connection STRING\n"
    "       orvanel-phonebook sample FILE N\n"
    "       orvanel-phonebook copy FROM-CONNECTION TO-CONNECTION\n"
    "       orvanel-phonebook import FILE [--into CONNECTION]\n"
    "       orvanel-phonebook export FILE [--format vcard3|vcard4|csv] [--from CONNECTION]\n"
    "A connection string with a password in it is seen by every user of this computer\n"
    "when it is an argument: give - to read it as a line from standard input, or\n"
    "env:NAME to take it from the environment variable NAME.\n";

int usage() {
    std::fputs(usageText, stderr);
    return 2;
}

// A connection string as given: itself, a line of standard input for "-", or the
// value of an environment variable for "env:NAME". Empty with `failure` set when the
// place named holds none.
QString connectionFrom(const QString &given, QString &failure) {
    if (given == QLatin1String("-")) {
        // One stream for the run: "copy - -" reads one line each.
        static QTextStream input(stdin);
        const QString line = input.readLine();
        if (line.trimmed().isEmpty())
            failure = QStringLiteral("no connection string came on standard input");
        return line;
    }
    if (given.startsWith(QLatin1String("env:"))) {
        const QString name = given.mid(4);
        const QString value = qEnvironmentVariable(name.toLocal8Bit().constData());
        if (value.trimmed().isEmpty())
            failure =
                QStringLiteral("the environment variable %1 holds no connection string").arg(name);
        return value;
    }
    return given;
}

int report(const QString &failure) {
    if (failure.isEmpty())
        return 0;
    std::fprintf(stderr, "orvanel-phonebook: %s\n", failure.toLocal8Bit().constData());
    return 1;
}

// The options after a command's file: each one of `known`, followed by its value.
std::optional<QHash<QString, QString>> options(const QStringList &given, const QStringList &known) {
    QHash<QString, QString> values;
    for (qsizetype i = 0; i < given.size(); i += 2) {
        if (!known.contains(given[i]) || i + 1 == given.size() || values.contains(given[i]))
            return std::nullopt;
        values.insert(given[i], given[i + 1]);
    }
    return values;
}

QString databaseOr(const QString &given) {
    return given.isEmpty() ? phoneBookConnectionString(Folders::data()) : given;
}

// How far an import or export has come, on a terminal only: "Importing: 45%" written over
// itself on standard error, and the line cleared at the end.
class TerminalProgress {
public:
    explicit TerminalProgress(const char *what) : what_(what), shown_(isatty(STDERR_FILENO)) {}
    ~TerminalProgress() {
        if (shown_ && percent_ >= 0)
            std::fprintf(stderr, "\r\033[K");
    }
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    TransferProgress callback() {
        if (!shown_)
            return {};
        return [this](qint64 done, qint64 total) {
            const int percent = total > 0 ? int(done * 100 / total) : 0;
            if (percent != percent_) {
                percent_ = percent;
                std::fprintf(stderr, "\r%s: %d%%", what_, percent);
                std::fflush(stderr);
            }
            return true;
        };
    }

private:
    const char *what_;
    bool shown_;
    int percent_ = -1;
};

int importFile(const QString &file, const QString &into) {
    try {
        ImportResult result;
        {
            TerminalProgress progress("Importing");
            result = importContacts(file, *openConnection(databaseOr(into)), progress.callback());
        }
        for (const RefusedContact &refused : result.refused)
            std::fprintf(stderr, "%s: %s: %s\n", file.toLocal8Bit().constData(),
                         refused.origin.toLocal8Bit().constData(),
                         refused.reason.toLocal8Bit().constData());
        if (result.refusedCount > long(result.refused.size()))
            std::fprintf(stderr, "%s: and %ld more refused\n", file.toLocal8Bit().constData(),
                         result.refusedCount - long(result.refused.size()));
        std::printf("%s\n", result.summary().toLocal8Bit().constData());
        return 0;
    } catch (const RuntimeError &error) {
        return report(error.Description());
    }
}

int exportFile(const QString &file, const QString &format, const QString &from) {
    const QHash<QString, ContactFormat> formats{{QStringLiteral("vcard3"), ContactFormat::VCard3},
                                                {QStringLiteral("vcard4"), ContactFormat::VCard4},
                                                {QStringLiteral("csv"), ContactFormat::Csv}};
    if (!formats.contains(format))
        return report(
            QStringLiteral("the format must be vcard3, vcard4 or csv, not %1").arg(format));
    try {
        long written = 0;
        {
            TerminalProgress progress("Exporting");
            written = exportContacts(*openConnection(databaseOr(from)), file, formats.value(format),
                                     progress.callback());
        }
        std::printf("%ld %s written to %s\n", written, written == 1 ? "contact" : "contacts",
                    file.toLocal8Bit().constData());
        return 0;
    } catch (const RuntimeError &error) {
        return report(error.Description());
    }
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    if (arguments.size() == 1 &&
        (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h"))) {
        std::fputs(usageText, stdout);
        std::printf("Without --into or --from, import and export use the phone book of\n"
                    "ORVANEL's data folder: %s\n",
                    QDir::toNativeSeparators(Folders::data() + QStringLiteral("/ORVANEL.MDB"))
                        .toLocal8Bit()
                        .constData());
        return 0;
    }
    // The connection strings, wherever they were given, in the order they come.
    QString failure;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const bool isConnection = (arguments[0] == QLatin1String("copy") && (i == 1 || i == 2)) ||
                                  (i > 0 && (arguments[i - 1] == QLatin1String("--connection") ||
                                             arguments[i - 1] == QLatin1String("--into") ||
                                             arguments[i - 1] == QLatin1String("--from")));
        if (isConnection && failure.isEmpty())
            arguments[i] = connectionFrom(arguments[i], failure);
    }
    if (!failure.isEmpty())
        return report(failure);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("init"))
        return report(SqliteFile::create(arguments[1]));
    if (arguments.size() == 3 && arguments[0] == QLatin1String("init") &&
        arguments[1] == QLatin1String("--connection"))
        return report(createPhoneBook(arguments[2]));
    if (arguments.size() == 3 && arguments[0] == QLatin1String("copy")) {
        long copied = 0;
        failure = copyPhoneBook(arguments[1], arguments[2], copied);
        if (failure.isEmpty())
            std::printf("%ld records copied\n", copied);
        return report(failure);
    }
    if (arguments.size() == 3 && arguments[0] == QLatin1String("sample")) {
        bool ok = false;
        const long count = arguments[2].toLong(&ok);
        if (!ok || count < 0)
            return report(QStringLiteral("the number of contacts must be a whole number, not %1")
                              .arg(arguments[2]));
        return report(appendSampleContacts(arguments[1], count));
    }
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("import")) {
        const auto given = options(arguments.mid(2), {QStringLiteral("--into")});
        if (!given)
            return usage();
        return importFile(arguments[1], given->value(QStringLiteral("--into")));
    }
    if (arguments.size() >= 2 && arguments[0] == QLatin1String("export")) {
        const auto given =
            options(arguments.mid(2), {QStringLiteral("--format"), QStringLiteral("--from")});
        if (!given)
            return usage();
        return exportFile(arguments[1],
                          given->value(QStringLiteral("--format"), QStringLiteral("vcard3")),
                          given->value(QStringLiteral("--from")));
    }
    return usage();
}
