#include "postgresserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QVersionNumber>
#include <unistd.h>

namespace {
constexpr uid_t nobody = 65534;

int freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
} // namespace

PostgresServer::~PostgresServer() {
    if (running_)
        stop();
}

QString PostgresServer::binary(const QString &name) const {
    // Debian keeps the server's programs in a folder per major version, off PATH.
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty())
        return found;
    QString best;
    QVersionNumber bestVersion;
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    for (const QString &version : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString candidate = versions.filePath(version + QStringLiteral("/bin/") + name);
        if (QFile::exists(candidate) && QVersionNumber::fromString(version) > bestVersion) {
            best = candidate;
            bestVersion = QVersionNumber::fromString(version);
        }
    }
    return best;
}

bool PostgresServer::runAsServerUser(const QString &program, const QStringList &arguments) {
    const QString path = binary(program);
    if (path.isEmpty()) {
        error_ = program + QStringLiteral(" was not found (Debian package postgresql)");
        return false;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (geteuid() == 0)
        process.start(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=%1").arg(nobody),
                                  QStringLiteral("--regid=%1").arg(nobody),
                                  QStringLiteral("--clear-groups"), path} +
                          arguments);
    else
        process.start(path, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        error_ = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll()) +
                 process.errorString();
        return false;
    }
    return true;
}

bool PostgresServer::start() {
    if (running_)
        return true;
    if (!dir_.isValid()) {
        error_ = dir_.errorString();
        return false;
    }
    const QString data = dir_.filePath(QStringLiteral("data"));
    if (!made_) {
        if (geteuid() == 0 &&
            chown(QFile::encodeName(dir_.path()).constData(), nobody, nobody) != 0) {
            error_ = QStringLiteral("the test folder cannot be given to user nobody");
            return false;
        }
        const QString passwordFile = dir_.filePath(QStringLiteral("password"));
        QFile file(passwordFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(password) < 0) {
            error_ = file.errorString();
            return false;
        }
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::ReadOther);
        if (!runAsServerUser(QStringLiteral("initdb"),
                             {QStringLiteral("-D"), data, QStringLiteral("-U"),
                              QString::fromLatin1(user), QStringLiteral("--pwfile=") + passwordFile,
                              QStringLiteral("--auth-local=trust"),
                              QStringLiteral("--auth-host=scram-sha-256"), QStringLiteral("-E"),
                              QStringLiteral("UTF8"), QStringLiteral("--no-locale")}))
            return false;
        made_ = true;
        port_ = freePort();
    }
    const QString options =
        QStringLiteral("-k %1 -c listen_addresses=127.0.0.1 -p %2 -c fsync=off "
                       "-c full_page_writes=off -c synchronous_commit=off -c max_connections=80")
            .arg(dir_.path())
            .arg(port_);
    if (!runAsServerUser(QStringLiteral("pg_ctl"),
                         {QStringLiteral("-D"), data, QStringLiteral("-w"), QStringLiteral("-t"),
                          QStringLiteral("60"), QStringLiteral("-l"),
                          dir_.filePath(QStringLiteral("server.log")), QStringLiteral("-o"),
                          options, QStringLiteral("start")}))
        return false;
    running_ = true;
    return true;
}

bool PostgresServer::stop() {
    if (!running_)
        return true;
    running_ = !runAsServerUser(QStringLiteral("pg_ctl"),
                                {QStringLiteral("-D"), dir_.filePath(QStringLiteral("data")),
                                 QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"),
                                 QStringLiteral("stop")});
    return !running_;
}

QString PostgresServer::createDatabase() {
    const QString name = QStringLiteral("book%1").arg(++databases_);
    QProcess psql;
    psql.setProcessChannelMode(QProcess::MergedChannels);
    psql.start(QStringLiteral("psql"),
               {QStringLiteral("-h"), socketFolder(), QStringLiteral("-p"), QString::number(port_),
                QStringLiteral("-U"), QString::fromLatin1(user), QStringLiteral("-d"),
                QStringLiteral("postgres"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                QStringLiteral("-qc"), QStringLiteral("CREATE DATABASE ") + name});
    if (!psql.waitForFinished(30000) || psql.exitCode() != 0) {
        error_ = QString::fromLocal8Bit(psql.readAll());
        return {};
    }
    return name;
}

QString PostgresServer::connectionString(const QString &database) const {
    return QStringLiteral("PROVIDER=PostgreSQL;Host=%1;Port=%2;Database=%3;User ID=%4;")
        .arg(socketFolder())
        .arg(port_)
        .arg(database, QString::fromLatin1(user));
}

QString PostgresServer::tcpConnectionString(const QString &database, const QString &secret) const {
    return QStringLiteral(
               "PROVIDER=PostgreSQL;Host=127.0.0.1;Port=%1;Database=%2;User ID=%3;Password=%4;")
        .arg(port_)
        .arg(database, QString::fromLatin1(user), secret);
}

PostgresServer &sharedPostgresServer() {
    static PostgresServer server;
    return server;
}
