#include "phonebook/chosenconnection.h"

#include "phonebook/store/connectionstring.h"
#include "platform/settings.h"

QString chosenConnectionString(const QString &dataFolder) {
    const QString stored = GetSetting(QStringLiteral("ORVANEL"), QStringLiteral("PhoneBook"),
                                      QStringLiteral("Connection"));
    return stored.trimmed().isEmpty() ? phoneBookConnectionString(dataFolder) : stored;
}
