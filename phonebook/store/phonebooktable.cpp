#include "phonebook/store/phonebooktable.h"

#include "phonebook/store/connectionstring.h"
#include "phonebook/store/phonebookconnection.h"
#include "phonebook/store/postgresconnection.h"
#include "phonebook/store/sqlitefile.h"
#include "phonebook/store/storetexts.h"
#include "platform/runtimeerror.h"

namespace {
// The columns in the order the table is made with, after the serial number.
const char *const textColumns[] = {"NAME",    "ADDRESS", "CITY",  "STATE",       "COUNTRY",
                                   "PINCODE", "PHONE",   "EMAIL", "DATEOFBIRTH", "OPTIONALPHONE"};

QString createTable(Engine engine) {
    // SQLite's integer primary key is the row id, which numbers a record left without
    // one; PostgreSQL's is numbered by the trigger below.
    QString text =
        engine == Engine::SQLite
            ? QStringLiteral("CREATE TABLE PHONEBOOK ([SERIAL NUMBER] INTEGER PRIMARY KEY")
            : QStringLiteral("CREATE TABLE PHONEBOOK (\"SERIAL NUMBER\" BIGINT PRIMARY KEY");
    for (const char *column : textColumns)
        text += QStringLiteral(", %1 TEXT").arg(QLatin1String(column));
    return text + QLatin1Char(')');
}
} // namespace

QStringList phoneBookSchema(Engine engine) {
    if (engine == Engine::SQLite)
        return {createTable(engine)};
    // The server gives one past the highest there, or further on when others are adding
    // at the same moment.
    return {
        createTable(engine),
        QStringLiteral("CREATE SEQUENCE PHONEBOOK_SERIAL OWNED BY PHONEBOOK.\"SERIAL NUMBER\""),
        QStringLiteral("CREATE FUNCTION PHONEBOOK_NUMBER() RETURNS TRIGGER LANGUAGE plpgsql AS $$\n"
                       "DECLARE highest BIGINT;\n"
                       "BEGIN\n"
                       "  IF NEW.\"SERIAL NUMBER\" IS NULL THEN\n"
                       "    NEW.\"SERIAL NUMBER\" := nextval('PHONEBOOK_SERIAL');\n"
                       "    SELECT max(\"SERIAL NUMBER\") INTO highest FROM PHONEBOOK;\n"
                       "    IF highest >= NEW.\"SERIAL NUMBER\" THEN\n"
                       "      PERFORM setval('PHONEBOOK_SERIAL', highest);\n"
                       "      NEW.\"SERIAL NUMBER\" := nextval('PHONEBOOK_SERIAL');\n"
                       "    END IF;\n"
                       "  END IF;\n"
                       "  RETURN NEW;\n"
                       "END $$"),
        QStringLiteral("CREATE TRIGGER PHONEBOOK_NUMBER BEFORE INSERT ON PHONEBOOK FOR EACH ROW "
                       "EXECUTE FUNCTION PHONEBOOK_NUMBER()")};
}

QString createPhoneBook(const QString &connectionString) {
    try {
        const ConnectionString settings = checkedConnectionString(connectionString);
        const QString provider = settings.value(QStringLiteral("Provider"));
        if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
            PostgresConnection::createTable(settings);
            return {};
        }
        if (settings.value(QStringLiteral("Data Source")).isEmpty())
            raiseError(ErrorNumber::InvalidConnectionString, StoreText::noDataSource());
        return SqliteFile::create(settings.value(QStringLiteral("Data Source")));
    } catch (const RuntimeError &error) {
        return error.Description();
    }
}
