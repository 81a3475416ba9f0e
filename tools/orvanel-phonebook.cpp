// orvanel-phonebook: makes phone books for ORVANEL.
//   orvanel-phonebook init FILE                  a new phone book file with an empty table
//   orvanel-phonebook init --connection STRING   the table PHONEBOOK on a database server
//   orvanel-phonebook sample FILE N              appends N generated contacts to a file
//   orvanel-phonebook copy FROM TO               every record from one connection string
//                                                to another, whose table must be empty
#include "phonebookfile.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {
int usage() {
    std::fputs("usage: orvanel-phonebook init FILE\n"
               "       orvanel-phonebook init --connection STRING\n"
               "       orvanel-phonebook sample FILE N\n"
               "       orvanel-phonebook copy FROM-CONNECTION TO-CONNECTION\n",
               stderr);
    return 2;
}

int report(const QString &failure) {
    if (failure.isEmpty())
        return 0;
    std::fprintf(stderr, "orvanel-phonebook: %s\n", failure.toLocal8Bit().constData());
    return 1;
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
    return usage();
}
