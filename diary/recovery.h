#pragma once

#include "diary/recoveryfolder.h"

#include <QObject>
#include <QThread>
#include <chrono>

// When a changed entry's copy is written: this long after typing pauses, and at least
// this often while it goes on.
struct RecoveryTiming {
    std::chrono::milliseconds pause{2000};
    std::chrono::milliseconds longest{30000};
    // How long one step of writing a copy may hold up the window.
    std::chrono::microseconds step{2000};
};

// The program's recovery copies of diary entries. The disk is written on a thread of its
// own, in the order copies are handed in, so that neither writing nor syncing a copy
// holds up the window. A copy that cannot be written is told once; typing goes on.
class Recovery : public QObject {
    Q_OBJECT
public:
    explicit Recovery(QObject *parent = nullptr);
    // Waits for the copies handed in.
    ~Recovery() override;

    RecoveryTiming timing;
    // Off, no copies are written (the typing benchmark compares).
    bool enabled = true;

    // A number for a window's copy, unique in this run.
    int newId() { return ++lastId_; }
    // Writes copy `id` on the writing thread; removes it there, after what came before.
    void write(int id, RecoveryCopy copy);
    void remove(int id);
    // At once, on the calling thread, once the copies handed in are done: for a program
    // that is about to end.
    void writeNow(int id, const RecoveryCopy &copy);
    // A claimed copy becomes copy `id`.
    bool adopt(int id, const QString &path);
    // Waits until what was handed in is done.
    void flush();

private:
    void tellFailure(const QString &why);
    // Runs `step` on the writing thread after everything handed in before it.
    template <typename Step> void queue(Step step);

    RecoveryFolder folder_;
    QThread thread_;
    QObject *worker_ = nullptr; // lives on `thread_`
    int lastId_ = 0;
    bool told_ = false;
};
