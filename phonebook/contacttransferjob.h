#pragma once

#include "contacts/contacttransfer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QProgressDialog;
class QWidget;

// Asks whether to add the contacts of `file` to the phone book the phone book windows
// open and, on Yes, once `beforeImport` (when given) agrees, adds them with progress and
// tells the one-line result, or what failed. True when contacts may have been added.
bool offerContactImport(const QString &file, QWidget *parent,
                        const std::function<bool()> &beforeImport = {});

// Writes every contact of that phone book to `file` with progress, and says how many, or
// what failed.
void offerContactExport(const QString &file, ContactFormat format, QWidget *parent);

// An import or export of contacts on a thread of its own, with a connection of its own,
// so that every window keeps answering while it runs. After half a second a progress
// dialog shows how far it has come and offers Cancel. One runs at a time; the calls
// return when it has ended.
class ContactTransferJob : public QObject {
    Q_OBJECT
public:
    // Adds the contacts of `file` to the phone book `connectionString` names. Fails with
    // the import's RuntimeError; with the user-interrupt error when it was cancelled.
    static ImportResult importFile(const QString &file, const QString &connectionString,
                                   QWidget *parent);
    // Writes the contacts of the phone book to `file`; the number written. Fails as the
    // export fails; with the user-interrupt error when it was cancelled.
    static long exportFile(const QString &connectionString, const QString &file,
                           ContactFormat format, QWidget *parent);

    // The one running, or none.
    static ContactTransferJob *running();
    // Whether the one that ended last was cancelled because the program was closing:
    // the caller then tells nothing and changes nothing, as the program is ending.
    static bool endedForClosing();

    bool isImport() const { return import_; }
    QProgressDialog *progressDialog() const { return dialog_; }
    // Cancels it; with `thenClose`, `thenClose` is called once it has ended and its
    // caller has returned.
    void cancel(std::function<void()> thenClose = {});

private:
    ContactTransferJob(bool import, QWidget *parent);
    ~ContactTransferJob() override;
    void run(const std::function<void(const TransferProgress &)> &work, const QString &label);

    bool import_;
    QPointer<QWidget> parent_;
    QProgressDialog *dialog_ = nullptr;
    std::atomic_bool cancelled_{false};
    std::function<void()> thenClose_;
};
