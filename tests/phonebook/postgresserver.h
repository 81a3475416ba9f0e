#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL server of the test's own: a new cluster made by initdb in a temporary
// folder and run by pg_ctl, listening on 127.0.0.1 at a free port and on a socket in
// that folder. Run as user nobody when the tests run as root, since the server refuses
// to run as root. Stopped and deleted when the object goes.
//
// The superuser is "orvanel". Over the socket it needs no password; over TCP it needs
// the password `password`.
class PostgresServer {
public:
    static constexpr const char *user = "orvanel";
    static constexpr const char *password = "orvanel-test-secret";

    PostgresServer() = default;
    ~PostgresServer();
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // Makes the cluster on first use and starts the server; false with `error()` set
    // when it cannot.
    bool start();
    bool stop();
    bool running() const { return running_; }
    QString error() const { return error_; }

    int port() const { return port_; }
    QString socketFolder() const { return dir_.path(); }

    // A new, empty database; its name.
    QString createDatabase();
    // Connection strings for the program: over the socket, and over TCP with a password.
    QString connectionString(const QString &database) const;
    QString tcpConnectionString(const QString &database, const QString &password) const;

private:
    bool runAsServerUser(const QString &program, const QStringList &arguments);
    QString binary(const QString &name) const;

    QTemporaryDir dir_{QStringLiteral("/tmp/orvanel-pg-XXXXXX")};
    bool made_ = false;
    bool running_ = false;
    int port_ = 0;
    int databases_ = 0;
    QString error_;
};

// The one server of a test program, started by the first test that asks for it.
PostgresServer &sharedPostgresServer();
