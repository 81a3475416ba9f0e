#include "diary/diaryindex.h"

#include "diary/diaryfiles.h"
#include "rtf/rtffile.h"
#include "rtf/rtfreader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QTextDocument>
#include <algorithm>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

// Raised for this file's own use when the database answers with a failure.
struct IndexFailure {
    int code;
};

// The version of the index's layout: an index of another version is made afresh.
constexpr int layoutVersion = 2;
constexpr int passageBefore = 60;
constexpr int passageLength = 200;
constexpr int entriesPerBatch = 50;

const char *const schema = R"(
PRAGMA journal_mode=WAL;
CREATE TABLE entry(id INTEGER PRIMARY KEY, name TEXT UNIQUE NOT NULL, size INTEGER,
                   mtime INTEGER, inode INTEGER, day TEXT, readable INTEGER, text TEXT);
CREATE VIRTUAL TABLE words USING fts5(text, content='',
                                      tokenize='unicode61 remove_diacritics 2',
                                      prefix='1 2 3');
)";

void check(sqlite3 *db, int code) {
    if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE)
        throw IndexFailure{sqlite3_extended_errcode(db) & 0xff};
}

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3 *db, const char *sql) : db_(db) {
        check(db, sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, const QString &text) {
        const QByteArray utf8 = text.toUtf8();
        check(db_, sqlite3_bind_text(statement_, index, utf8.constData(), int(utf8.size()),
                                     SQLITE_TRANSIENT));
        return *this;
    }
    Statement &bind(int index, qint64 number) {
        check(db_, sqlite3_bind_int64(statement_, index, number));
        return *this;
    }
    // Whether a row came; false at the end.
    bool step() {
        const int code = sqlite3_step(statement_);
        check(db_, code);
        return code == SQLITE_ROW;
    }
    void reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    QString text(int column) const {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(statement_, column)),
            sqlite3_column_bytes(statement_, column));
    }
    qint64 number(int column) const { return sqlite3_column_int64(statement_, column); }

private:
    sqlite3 *db_;
    sqlite3_stmt *statement_ = nullptr;
};

// Whether a failure says the index file is damaged or not an index: such a file is made
// afresh. A file busy in another program is left alone.
bool isDamage(const IndexFailure &failure) {
    return failure.code == SQLITE_CORRUPT || failure.code == SQLITE_NOTADB ||
           failure.code == SQLITE_ERROR || failure.code == SQLITE_SCHEMA;
}

void run(sqlite3 *db, const char *sql) {
    check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
}

// What is known of an entry's file without reading it.
struct FileState {
    qint64 size = 0;
    qint64 mtime = 0; // nanoseconds
    qint64 inode = 0;
    bool operator==(const FileState &) const = default;
};

FileState stateOf(const QString &path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            qint64(status.st_ino)};
}

// The day an entry is about: the date in a name such as "Diary 12-09-2026", else the
// day its file was last written; as YYYY-MM-DD, so that it sorts.
QString dayOf(const QString &name, const QString &path) {
    if (const std::optional<QDate> day = dayInName(name))
        return day->toString(Qt::ISODate);
    return QFileInfo(path).lastModified().toString(Qt::ISODate);
}

// The entry's words, read as the diary window reads it; nothing for a file that is not
// rich text or cannot be read.
std::optional<QString> textOf(const QString &path) {
    const RtfFile::Result file = RtfFile::read(path);
    if (file.outcome != RtfFile::Outcome::Read)
        return std::nullopt;
    try {
        QTextDocument document;
        RtfReader::readDocument(file.data, document);
        return document.toPlainText();
    } catch (...) {
        return std::nullopt;
    }
}

// A short passage around the first place found, with the places inside it.
void describe(DiaryIndex::Found &found, const QString &text, const QList<TextSpan> &spans) {
    found.hits = int(spans.size());
    const qsizetype first = spans.isEmpty() ? 0 : spans.first().start;
    qsizetype start = std::max<qsizetype>(0, first - passageBefore);
    // The passage starts at a word.
    while (start > 0 && start < first && !text.at(start - 1).isSpace())
        ++start;
    const qsizetype end = std::min(text.size(), start + passageLength);
    QString passage = text.mid(start, end - start);
    passage.replace(QChar::ParagraphSeparator, QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QChar::ObjectReplacementCharacter, QLatin1Char(' '));
    const qsizetype lead = start > 0 ? 1 : 0;
    if (start > 0)
        passage.prepend(QChar(0x2026));
    if (end < text.size())
        passage.append(QChar(0x2026));
    found.passage = passage;
    for (const TextSpan &span : spans) {
        if (span.start >= start && span.start + span.length <= end)
            found.passageSpans << TextSpan{span.start - start + lead, span.length};
    }
}

} // namespace

DiaryIndex::DiaryIndex(const QString &databasePath) : path_(databasePath) {
    try {
        open();
    } catch (const IndexFailure &failure) {
        if (isDamage(failure))
            recreate();
        else
            forget(db_);
    }
}

DiaryIndex::~DiaryIndex() {
    forget(db_);
}

QString DiaryIndex::fileFor(const QString &diaryFolder) {
    const QByteArray folder = QDir::cleanPath(QFileInfo(diaryFolder).absoluteFilePath()).toUtf8();
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/orvanel/diary-") + key + QStringLiteral(".index");
}

void DiaryIndex::forget(sqlite3 *&database) {
    sqlite3_close_v2(database);
    database = nullptr;
}

void DiaryIndex::open() {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    check(db_, sqlite3_open_v2(QFile::encodeName(path_).constData(), &db_,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr));
    sqlite3_busy_timeout(db_, 2000);
    // A cache: a write cut off by a crash costs a rebuild, never the user's words, so the
    // index does not wait for the disk at each commit.
    run(db_, "PRAGMA synchronous=OFF");
    qint64 found = 0;
    {
        Statement version(db_, "PRAGMA user_version");
        version.step();
        found = version.number(0);
    }
    if (found == layoutVersion) {
        // A file that is not a database, or a damaged one, fails here.
        Statement count(db_, "SELECT count(*) FROM entry");
        count.step();
        return;
    }
    if (found != 0)
        throw IndexFailure{SQLITE_SCHEMA};
    run(db_, schema);
    run(db_, ("PRAGMA user_version=" + std::to_string(layoutVersion)).c_str());
}

bool DiaryIndex::recreate() {
    forget(db_);
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(path_ + QLatin1String(suffix));
    try {
        open();
        return true;
    } catch (const IndexFailure &) {
        forget(db_);
        return false;
    }
}

void DiaryIndex::update(const QString &folder,
                        const std::function<void(int done, int total)> &batchDone,
                        const std::atomic_bool *stop) {
    if (!db_)
        return;
    try {
        // What the index knows of each entry.
        QHash<QString, std::pair<qint64, FileState>> known;
        {
            Statement rows(db_, "SELECT id, name, size, mtime, inode FROM entry");
            while (rows.step())
                known.insert(
                    rows.text(1),
                    {rows.number(0), FileState{rows.number(2), rows.number(3), rows.number(4)}});
        }
        const QStringList names =
            QDir(folder).entryList({QStringLiteral("*.DIA")}, QDir::Files, QDir::Name);
        Statement remove(db_, "DELETE FROM entry WHERE id = ?");
        Statement oldText(db_, "SELECT text FROM entry WHERE id = ?");
        Statement unindex(db_, "INSERT INTO words(words, rowid, text) VALUES('delete', ?, ?)");
        Statement store(db_, "INSERT OR REPLACE INTO entry(name, size, mtime, inode, day, "
                             "readable, text) VALUES(?, ?, ?, ?, ?, ?, ?)");
        Statement index(db_, "INSERT INTO words(rowid, text) VALUES(?, ?)");
        auto forgetEntry = [&](qint64 id) {
            oldText.bind(1, id);
            if (oldText.step()) {
                const QString text = oldText.text(0);
                oldText.reset();
                if (!text.isEmpty()) {
                    unindex.bind(1, id).bind(2, indexedText(text));
                    unindex.step();
                    unindex.reset();
                }
            } else {
                oldText.reset();
            }
            remove.bind(1, id);
            remove.step();
            remove.reset();
        };

        run(db_, "BEGIN");
        QSet<QString> present;
        int inBatch = 0;
        int done = 0;
        for (const QString &file : names) {
            const QString name = file.chopped(4);
            present.insert(name);
            const QString path = folder + QLatin1Char('/') + file;
            const FileState state = stateOf(path);
            const auto was = known.constFind(name);
            ++done;
            if (was != known.cend() && was->second == state)
                continue;
            if (was != known.cend())
                forgetEntry(was->first);
            const std::optional<QString> text = textOf(path);
            store.bind(1, name).bind(2, state.size).bind(3, state.mtime).bind(4, state.inode);
            store.bind(5, dayOf(name, path)).bind(6, qint64(text.has_value()));
            store.bind(7, text.value_or(QString()));
            store.step();
            store.reset();
            if (text && !text->isEmpty()) {
                index.bind(1, qint64(sqlite3_last_insert_rowid(db_))).bind(2, indexedText(*text));
                index.step();
                index.reset();
            }
            if (++inBatch == entriesPerBatch) {
                run(db_, "COMMIT");
                inBatch = 0;
                if (batchDone)
                    batchDone(done, int(names.size()));
                if (stop && *stop)
                    return;
                run(db_, "BEGIN");
            }
        }
        for (auto entry = known.cbegin(); entry != known.cend(); ++entry) {
            if (!present.contains(entry.key()))
                forgetEntry(entry->first);
        }
        run(db_, "COMMIT");
        if (batchDone)
            batchDone(int(names.size()), int(names.size()));
    } catch (const IndexFailure &failure) {
        // A damaged index is made afresh and read again from the entries, once.
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        if (isDamage(failure) && recreate() && (!stop || !*stop))
            update(folder, batchDone, stop);
    }
}

int DiaryIndex::unreadableCount() {
    if (!db_)
        return 0;
    try {
        Statement count(db_, "SELECT count(*) FROM entry WHERE readable = 0");
        count.step();
        return int(count.number(0));
    } catch (const IndexFailure &) {
        return 0;
    }
}

QList<DiaryIndex::Found> DiaryIndex::search(const SearchTerms &terms, Order order, int limit,
                                            int &total) {
    total = 0;
    QList<Found> results;
    if (terms.isEmpty() || !db_)
        return results;
    try {
        const QString query = terms.indexQuery();
        Statement count(db_, "SELECT count(*) FROM words WHERE words MATCH ?");
        count.bind(1, query);
        count.step();
        total = int(count.number(0));
        // The entries found, in order, then the text of those listed: sorting carries
        // only names and days, never whole texts.
        Statement rows(db_, order == Order::NewestFirst
                                ? "SELECT e.id, e.name FROM words JOIN entry e ON "
                                  "e.id = words.rowid WHERE words MATCH ? "
                                  "ORDER BY e.day DESC, e.name DESC LIMIT ?"
                                : "SELECT e.id, e.name FROM words JOIN entry e ON "
                                  "e.id = words.rowid WHERE words MATCH ? "
                                  "ORDER BY words.rank LIMIT ?");
        rows.bind(1, query).bind(2, qint64(limit));
        QList<qint64> ids;
        while (rows.step()) {
            ids << rows.number(0);
            Found found;
            found.title = rows.text(1);
            results << found;
        }
        Statement text(db_, "SELECT text FROM entry WHERE id = ?");
        for (qsizetype i = 0; i < ids.size(); ++i) {
            text.bind(1, ids[i]);
            if (text.step()) {
                const QString words = text.text(0);
                describe(results[i], words, terms.spansIn(words));
            }
            text.reset();
        }
    } catch (const IndexFailure &) {
        // A query the index cannot answer finds nothing; a damaged index is mended by
        // the next update.
        total = 0;
        results.clear();
    }
    return results;
}
