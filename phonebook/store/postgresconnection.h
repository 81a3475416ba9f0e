#pragma once

#include "phonebook/store/passwordexchange.h"
#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/serverwatch.h"

#include <QSqlQuery>
#include <QStringList>
#include <chrono>
#include <map>
#include <optional>
#include <utility>
#include <vector>

class ConnectionString;
class QSqlError;

// The phone book in table PHONEBOOK of a PostgreSQL database, shared by everybody who
// reaches the server, through Qt SQL's QPSQL driver. The table must hold the eleven
// columns under their folded names (address, city, ..., and "SERIAL NUMBER"), of
// whatever types; the connection never creates it.
//
// A lost connection fails the command it happened in with a description that says the
// server cannot be reached; the next command connects again. Connecting gives up after
// 5 seconds; a network gone silent is noticed by TCP within about 5 more; a statement
// the server cannot finish is cancelled after 30; a server that says nothing at all is
// given up on 5 seconds after each of those.
class PostgresConnection : public PhoneBookConnection {
public:
    struct Times {
        std::chrono::milliseconds connect{5000};    // making a connection
        std::chrono::milliseconds statement{30000}; // a statement, on the server
        std::chrono::milliseconds grace{5000};      // after either, for an answer to come
    };
    // The times every connection made from now on keeps.
    static Times &times();

    // The keys its connection strings may hold.
    static const QStringList &keys();

    explicit PostgresConnection(const ConnectionString &settings);
    ~PostgresConnection() override;
    PostgresConnection(const PostgresConnection &) = delete;
    PostgresConnection &operator=(const PostgresConnection &) = delete;

    void readAll(RowTable &rows) override;
    void beginWriting() override;
    void commit() override;
    void rollback() override;
    StoredValues insertRecord(const Values &values) override;
    void insertRecords(const std::vector<Values> &rows, size_t &failed) override;
    size_t insertBatchSize() const override { return 5000; }
    StoredValues updateRecord(const RowTable::RawValues &original,
                              const std::vector<Change> &changes) override;
    void deleteRecord(const RowTable::RawValues &original) override;

    // Creates table PHONEBOOK, with a serial number the server gives a record left
    // without one, in the database a connection string names; refuses a database that
    // has the table already.
    static void createTable(const ConnectionString &settings);

private:
    enum class Connecting { Checked, Unchecked };
    PostgresConnection(const ConnectionString &settings, Connecting connecting);

    // Whether a statement may run again on a new connection after the old one was
    // found lost: only statements that write nothing, or open a transaction.
    enum class Retry { No, OnNewConnection };
    QSqlQuery &run(const QString &sql, const std::vector<Value> &values = {},
                   const std::vector<Change> &changes = {}, Retry retry = Retry::No);
    void open();
    void release();
    // Runs a COPY ... FROM STDIN statement with `data` in COPY's text format.
    void copyIn(const char *statement, const QByteArray &data);
    void checkTable();
    void closeLost();
    // Ends the command whose answer did not come in time, as for a lost connection.
    [[noreturn]] void giveUp();

    // While one lives, the connection's socket is watched for a command's deadline.
    class Watched {
    public:
        Watched(PostgresConnection &connection, const QSqlDatabase &db);
        ~Watched();
        Watched(const Watched &) = delete;
        Watched &operator=(const Watched &) = delete;
        // Stops watching (before anything closes the socket); true when the time ran out.
        bool expired() const;

    private:
        ServerWatch &watch_;
    };
    [[noreturn]] void fail(const QSqlError &error, const std::vector<Change> &changes) const;
    static const QString &rowCondition();
    Values valuesOf(const QSqlQuery &query) const;

    QString name_;     // of the Qt SQL connection
    QString server_;   // as messages name it: "at db.example:5432", "on this computer"
    QString database_; // "\"orvanel\" at db.example:5432"
    QString password_;
    // The connection's options as the client library takes them, for the probe made
    // before each connecting.
    std::vector<std::pair<QByteArray, QByteArray>> probeOptions_;
    ServerWatch watch_;
    // The server asked how it takes a password before each connecting, when the
    // password would go over a network without TLS.
    std::optional<PasswordServer> passwordCheck_;
    bool inTransaction_ = false;
    // Whether each column takes whole numbers only, as the table declares it.
    std::array<bool, fieldCount> wholeNumbers_{};
    // The statements run on the open connection, by their text; those that take values
    // are prepared on the server once.
    std::map<QString, QSqlQuery> statements_;
};
