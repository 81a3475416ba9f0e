#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

class QTextDocument;
class RtfIncrementalWriter;
class Recovery;
class frmDocument;

// Keeps the recovery copy of one diary window while its entry has changes of its own:
// written a while after typing pauses and now and then while it goes on, a few
// paragraphs between key presses and then on the writing thread.
class EntryRecovery : public QObject {
    Q_OBJECT
public:
    EntryRecovery(frmDocument &window, Recovery &recovery);
    // The copy stays: the window went without its entry being saved or given up.
    ~EntryRecovery() override;

    // The entry was saved, replaced or given up: its copy goes.
    void discard();
    // Writes the copy at once when the entry has changes: the program is about to end.
    void writeNow();
    // A copy from a run that ended without saving becomes this window's.
    void adopt(const QString &path);

private:
    void changed();
    void startWriting();
    void writeStep();
    void stopWriting();

    frmDocument &window_;
    Recovery &recovery_;
    const int id_;
    QTimer pause_;
    QTimer longest_;
    QTimer step_;
    std::unique_ptr<RtfIncrementalWriter> writer_;
    QPointer<QTextDocument> writing_;
    QMetaObject::Connection follow_;
    bool again_ = false; // changed while a copy was being written
    bool hasCopy_ = false;
};
