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
// Without --into or --from, import and export use ORVANEL.MDB in the program folder.
#include "phonebook/connectionstring.h"
#include "phonebook/contacttransfer.h"
#include "phonebook/phonebookconnection.h"
#include "phonebookfile.h"
#include "platform/qtplatform.h"
#include "platform/runtimeerror.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {
int usage() {
    std::fputs("usage: orvanel-phonebook init FILE\n"
               "       orvanel-phonebook init --connection STRING\n"
               "       orvanel-phonebook sample FILE N\n"
               "       orvanel-phonebook copy FROM-CONNECTION TO-CONNECTION\n"
               "       orvanel-phonebook import FILE [--into CONNECTION]\n"
               "       orvanel-phonebook export FILE [--format vcard3|vcard4|csv] "
               "[--from CONNECTION]\n",
               stderr);
    return 2;
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
    return given.isEmpty() ? phoneBookConnectionString(runningProgramFolder()) : given;
}

int importFile(const QString &file, const QString &into) {
    try {
        const ImportResult result = importContacts(file, *openConnection(databaseOr(into)));
        for (const RefusedContact &refused : result.refused)
            std::fprintf(stderr, "%s: %s: %s\n", file.toLocal8Bit().constData(),
                         refused.origin.toLocal8Bit().constData(),
                         refused.reason.toLocal8Bit().constData());
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
        const long written =
            exportContacts(*openConnection(databaseOr(from)), file, formats.value(format));
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
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() == 2 && arguments[0] == QLatin1String("init"))
        return report(createPhoneBook(arguments[1]));
    if (arguments.size() == 3 && arguments[0] == QLatin1String("init") &&
        arguments[1] == QLatin1String("--connection"))
        return report(createPhoneBookAt(arguments[2]));
    if (arguments.size() == 3 && arguments[0] == QLatin1String("copy")) {
        long copied = 0;
        const QString failure = copyPhoneBook(arguments[1], arguments[2], copied);
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
