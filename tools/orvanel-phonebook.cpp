// orvanel-phonebook: makes phone book files for ORVANEL.
//   orvanel-phonebook init FILE        a new phone book with an empty table PHONEBOOK
//   orvanel-phonebook sample FILE N    appends N generated contacts
#include "phonebookfile.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {
int usage() {
    std::fputs("usage: orvanel-phonebook init FILE\n"
               "       orvanel-phonebook sample FILE N\n",
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
