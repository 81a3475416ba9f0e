#include "phonebook/store/phonebookconnection.h"

#include "phonebook/store/connectionstring.h"
#include "phonebook/store/postgresconnection.h"
#include "phonebook/store/sqliteconnection.h"
#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

namespace {
// Each provider, the keys its connection strings may hold, and how it opens.
struct Provider {
    const char *name;
    const QStringList &(*keys)();
    std::unique_ptr<PhoneBookConnection> (*open)(const ConnectionString &);
};

std::unique_ptr<PhoneBookConnection> openSqlite(const ConnectionString &settings) {
    const QString file = settings.value(QStringLiteral("Data Source"));
    if (file.isEmpty())
        raiseError(ErrorNumber::InvalidConnectionString, StoreText::noDataSource());
    return std::make_unique<SqliteConnection>(file);
}

const QStringList &sqliteKeys() {
    static const QStringList keys{QStringLiteral("Provider"), QStringLiteral("Data Source")};
    return keys;
}

std::unique_ptr<PhoneBookConnection> openPostgres(const ConnectionString &settings) {
    return std::make_unique<PostgresConnection>(settings);
}

const Provider providers[] = {
    {"SQLite", sqliteKeys, openSqlite},
    {"PostgreSQL", PostgresConnection::keys, openPostgres},
};
} // namespace

namespace {
const Provider &providerOf(const ConnectionString &settings) {
    const QString name = settings.value(QStringLiteral("Provider"));
    for (const Provider &provider : providers) {
        if (name.compare(QLatin1String(provider.name), Qt::CaseInsensitive) != 0)
            continue;
        for (const QString &key : settings.keys()) {
            if (!provider.keys().contains(key, Qt::CaseInsensitive))
                raiseError(ErrorNumber::InvalidConnectionString, StoreText::unknownKey(key));
        }
        return provider;
    }
    raiseError(ErrorNumber::ProviderNotFound, StoreText::unknownProvider(name));
}
} // namespace

ConnectionString checkedConnectionString(const QString &connectionString) {
    ConnectionString settings = ConnectionString::parse(connectionString);
    providerOf(settings);
    return settings;
}

std::unique_ptr<PhoneBookConnection> openConnection(const QString &connectionString) {
    const ConnectionString settings = ConnectionString::parse(connectionString);
    return providerOf(settings).open(settings);
}

void PhoneBookConnection::insertRecords(const std::vector<Values> &rows, size_t &failed) {
    for (size_t i = 0; i < rows.size(); ++i) {
        failed = i;
        insertRecord(rows[i]);
    }
}
