#pragma once

#include "diary/searchterms.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <atomic>
#include <functional>

struct sqlite3;

// The full-text index of the diary's entries: a cache in a database file of its own,
// which can always be thrown away. A missing, damaged or older file is made afresh.
// Entries are read through the program's RTF reader, so that a word split by formatting
// inside the file is found whole. One object per thread.
class DiaryIndex {
public:
    explicit DiaryIndex(const QString &databasePath);
    ~DiaryIndex();
    DiaryIndex(const DiaryIndex &) = delete;
    DiaryIndex &operator=(const DiaryIndex &) = delete;

    // The index file for a diary folder, in the program's cache folder.
    static QString fileFor(const QString &diaryFolder);

    // Brings the index in step with the entries of `folder`: entries new or changed
    // since they were read (size, time and file identity) are read, entries gone are
    // forgotten. `batchDone` is called after each few entries, with how many of the
    // folder's entries are in step so far and how many there are; `stop` ends the work
    // between two of them.
    void update(const QString &folder,
                const std::function<void(int done, int total)> &batchDone = {},
                const std::atomic_bool *stop = nullptr);

    // How many entries of the folder could not be read as rich text.
    int unreadableCount();

    enum class Order { NewestFirst, BestMatchFirst };

    struct Found {
        QString title;
        // A short passage around the first place found, and where the words stand in it.
        QString passage;
        QList<TextSpan> passageSpans;
        int hits = 0;
    };

    // The entries that hold every term, at most `limit` of them, in the order asked;
    // `total` is how many there are in all.
    QList<Found> search(const SearchTerms &terms, Order order, int limit, int &total);

private:
    void open();
    // Throws the index file away and makes it afresh; false when that failed too, and
    // the index then finds nothing.
    bool recreate();
    void forget(sqlite3 *&database);

    QString path_;
    sqlite3 *db_ = nullptr;
};
