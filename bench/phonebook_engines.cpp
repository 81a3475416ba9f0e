// Reading the phone book's query into the record set's rows, through SQLite's own C
// interface (what the program uses) and through Qt SQL's QSQLITE driver: the time and
// the memory each takes, which chose the engine's interface.
//   phonebook_engines FILE c|qt
#include "phonebook/store/phonebookcolumns.h"
#include "phonebook/store/rowtable.h"
#include "phonebook/store/sqliteconnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>

namespace {
long peakKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void readWithQtSql(const QString &file, RowTable &rows) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(file);
    db.open();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.exec(QString::fromLatin1(phoneBookQuery));
    while (query.next()) {
        Values values;
        for (int i = 0; i < fieldCount; ++i) {
            const QVariant value = query.value(i);
            if (!value.isNull())
                values[static_cast<size_t>(i)] = value.toString();
        }
        rows.append(values);
    }
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    const QString file = QString::fromLocal8Bit(argv[1]);
    const bool qt = qstrcmp(argv[2], "qt") == 0;
    QElapsedTimer timer;
    timer.start();
    RowTable rows;
    if (qt)
        readWithQtSql(file, rows);
    else
        SqliteConnection(file).readAll(rows);
    std::printf("%s: %zu rows in %lld ms, peak %ld MiB\n", qt ? "Qt SQL (QSQLITE)" : "SQLite C",
                rows.size(), static_cast<long long>(timer.elapsed()), peakKilobytes() / 1024);
    return 0;
}
