#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A copy of an entry that was not saved: enough to give the entry back after a crash.
struct RecoveryCopy {
    QString title;    // the window's title
    QString filePath; // the file the entry belongs to; empty for one kept under its title
    QByteArray rtf;   // the entry
};

// The copies one run of the program keeps, one file per diary window, in a folder of its
// own under the user's recovery folder. The folder is locked while the run lasts (the
// system lets go of the lock when the process ends, however it ends), so a second ORVANEL
// never takes copies that are still being kept. Each copy is an RTF file that any word
// processor opens; the entry's title and file ride along in a group that readers skip.
class RecoveryFolder {
public:
    // $XDG_STATE_HOME/orvanel/recovery; ~/.local/state/orvanel/recovery by default.
    static QString root();

    RecoveryFolder();
    // Lets go of the folder, and removes it when it holds no copy.
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder &) = delete;
    RecoveryFolder &operator=(const RecoveryFolder &) = delete;

    // Writes copy `id`, replacing the one before only once the new one is whole on disk.
    // Returns why it could not, or an empty string. Safe from any one thread at a time.
    QString write(int id, const RecoveryCopy &copy);
    void remove(int id);
    // Takes a copy from elsewhere (a claimed one) as copy `id`.
    bool adopt(int id, const QString &path);

    // The file of a copy: the copy, or nothing when the file is not one. The title is a
    // name without a folder, and the file one in the diary folder or none.
    static std::optional<RecoveryCopy> read(const QString &path);
    static QByteArray encode(const RecoveryCopy &copy);

    // The copies of runs that ended without letting go of them, claimed for this run:
    // no other ORVANEL can claim them until this object is gone.
    class Orphans {
    public:
        Orphans();
        ~Orphans();
        Orphans(Orphans &&) noexcept;
        Orphans &operator=(Orphans &&) noexcept;
        QStringList files; // oldest first
        // What stood among the copies without being ORVANEL's own for this user (a link,
        // another user's folder), now moved out of the way under these names, unread.
        QStringList refused;
        // Moves every copy into one dated folder beside the others, which the program
        // never deletes; returns that folder, or an empty string when it could not.
        QString setAside();
        // Removes the folders that are left once their copies were taken or set aside.
        void removeEmptyFolders();

    private:
        friend class RecoveryFolder;
        struct Claim;
        std::vector<Claim> claims_;
    };
    static Orphans claimOrphans();

private:
    QString ensureFolder();
    QString pathOf(int id) const;

    QMutex mutex_;
    QString folder_; // empty until the first copy
    int lock_ = -1;
};
