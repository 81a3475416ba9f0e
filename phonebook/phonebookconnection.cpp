#include "phonebook/phonebookconnection.h"

#include "phonebook/connectionstring.h"
#include "phonebook/phonebooktexts.h"
#include "phonebook/sqliteconnection.h"
#include "platform/runtimeerror.h"

namespace {
// Each provider, the keys its connection strings may hold, and how it opens.
struct Provider {
    const char *name;
    std::initializer_list<const char *> keys;
    std::unique_ptr<PhoneBookConnection> (*open)(const ConnectionString &);
};

std::unique_ptr<PhoneBookConnection> openSqlite(const ConnectionString &settings) {
    const QString file = settings.value(QStringLiteral("Data Source"));
    if (file.isEmpty())
        raiseError(ErrorNumber::InvalidConnectionString, PhoneBookText::noDataSource());
    return std::make_unique<SqliteConnection>(file);
}

const Provider providers[] = {
    {"SQLite", {"Provider", "Data Source"}, openSqlite},
};
} // namespace

std::unique_ptr<PhoneBookConnection> openConnection(const QString &connectionString) {
    const ConnectionString settings = ConnectionString::parse(connectionString);
    const QString name = settings.value(QStringLiteral("Provider"));
    for (const Provider &provider : providers) {
        if (name.compare(QLatin1String(provider.name), Qt::CaseInsensitive) != 0)
            continue;
        for (const QString &key : settings.keys()) {
            bool known = false;
            for (const char *allowed : provider.keys)
                known = known || key.compare(QLatin1String(allowed), Qt::CaseInsensitive) == 0;
            if (!known)
                raiseError(ErrorNumber::InvalidConnectionString, PhoneBookText::unknownKey(key));
        }
        return provider.open(settings);
    }
    raiseError(ErrorNumber::ProviderNotFound, PhoneBookText::unknownProvider(name));
}
