#include "phonebook/store/phonebooksql.h"

#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

#include <QStringList>

QString PhoneBookSql::column(int field) const {
    if (engine_ == Engine::SQLite)
        return QString::fromLatin1(columns[size_t(field)].sqlName);
    // PostgreSQL folds a plain name to lower case, as the table was made; a name with a
    // blank is quoted.
    const QString name = columnName(field);
    return name.contains(QLatin1Char(' ')) ? QLatin1Char('"') + name + QLatin1Char('"') : name;
}

QString PhoneBookSql::parameter(int number) const {
    return engine_ == Engine::SQLite ? QStringLiteral("?%1").arg(number) : QStringLiteral("?");
}

const QString &PhoneBookSql::returnedColumns() const {
    // Built once for each engine: every insert and update of an import names them.
    static const QString sqlite = PhoneBookSql(Engine::SQLite).listReturnedColumns();
    static const QString server = PhoneBookSql(Engine::PostgreSQL).listReturnedColumns();
    return engine_ == Engine::SQLite ? sqlite : server;
}

QString PhoneBookSql::listReturnedColumns() const {
    // The server hands each value over as the text it shows.
    QStringList list;
    for (int i = 0; i < fieldCount; ++i)
        list << (engine_ == Engine::SQLite ? column(i)
                                           : QStringLiteral("CAST(%1 AS TEXT)").arg(column(i)));
    return list.join(QLatin1Char(','));
}

QString PhoneBookSql::rowCondition(int firstParameter, bool rowIds) const {
    const QString compare = engine_ == Engine::SQLite
                                ? QStringLiteral("CAST(%1 AS TEXT) IS %2")
                                : QStringLiteral("CAST(%1 AS TEXT) IS NOT DISTINCT FROM %2");
    QStringList tests;
    for (int i = 0; i < fieldCount; ++i)
        tests << compare.arg(column(i), parameter(firstParameter + i));
    const QString match = tests.join(QStringLiteral(" AND "));
    if (engine_ == Engine::PostgreSQL)
        // A row another client is changing is waited for and then compared again.
        return QStringLiteral("ctid = (SELECT ctid FROM PHONEBOOK WHERE %1 LIMIT 1 FOR UPDATE)")
            .arg(match);
    if (!rowIds)
        return match;
    return QStringLiteral("rowid = (SELECT rowid FROM PHONEBOOK WHERE %1 LIMIT 1)").arg(match);
}

QString PhoneBookSql::insert(const std::vector<Change> &given) const {
    if (given.empty())
        return QStringLiteral("INSERT INTO PHONEBOOK DEFAULT VALUES RETURNING %1")
            .arg(returnedColumns());
    QStringList names;
    QStringList parameters;
    for (const Change &change : given) {
        names << column(change.field);
        parameters << parameter(int(parameters.size()) + 1);
    }
    return QStringLiteral("INSERT INTO PHONEBOOK (%1) VALUES (%2) RETURNING %3")
        .arg(names.join(QLatin1Char(',')), parameters.join(QLatin1Char(',')), returnedColumns());
}

QString PhoneBookSql::update(const std::vector<Change> &changes, const QString &condition) const {
    QStringList assignments;
    for (const Change &change : changes)
        assignments << QStringLiteral("%1 = %2").arg(column(change.field),
                                                     parameter(int(assignments.size()) + 1));
    return QStringLiteral("UPDATE PHONEBOOK SET %1 WHERE %2 RETURNING %3")
        .arg(assignments.join(QLatin1Char(',')), condition, returnedColumns());
}

QString PhoneBookSql::remove(const QString &condition) {
    return QStringLiteral("DELETE FROM PHONEBOOK WHERE %1").arg(condition);
}

std::vector<PhoneBookConnection::Change> givenValues(const Values &values) {
    std::vector<PhoneBookConnection::Change> given;
    given.reserve(fieldCount);
    for (int i = 0; i < fieldCount; ++i) {
        if (values[size_t(i)])
            given.push_back({i, values[size_t(i)]});
    }
    return given;
}

QString changedValue(const std::vector<PhoneBookConnection::Change> &changes, int field) {
    for (const PhoneBookConnection::Change &change : changes) {
        if (change.field == field)
            return change.value.value_or(QString());
    }
    return {};
}

void raiseRefusal(Refusal refusal, int column, const QString &value, const QString &message) {
    const QString name = column >= 0 ? columnName(column) : QString();
    switch (refusal) {
    case Refusal::DuplicateValue:
        if (column >= 0)
            raiseError(ErrorNumber::DuplicateValue, StoreText::duplicateValue(name, value));
        break;
    case Refusal::MissingValue:
        if (column >= 0)
            raiseError(ErrorNumber::MissingValue, StoreText::mustHaveValue(name));
        break;
    case Refusal::WrongKind:
        if (column >= 0)
            raiseError(ErrorNumber::ValueTypeMismatch, StoreText::wrongKind(name, value));
        break;
    case Refusal::NotWholeNumber:
        if (column >= 0)
            raiseError(ErrorNumber::ValueTypeMismatch, StoreText::notWholeNumber(name, value));
        break;
    case Refusal::Rule:
        break;
    case Refusal::Busy:
        raiseError(ErrorNumber::DatabaseLocked, StoreText::busy());
    case Refusal::DiskFull:
        raiseError(ErrorNumber::DiskFull, StoreText::diskFull());
    case Refusal::Other:
        raiseError(ErrorNumber::DatabaseError, StoreText::databaseError(message));
    }
    raiseError(ErrorNumber::DatabaseError, StoreText::refusedByRule(message));
}
