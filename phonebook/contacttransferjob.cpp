#include "phonebook/contacttransferjob.h"

#include "phonebook/chosenconnection.h"
#include "phonebook/phonebooktexts.h"
#include "phonebook/store/connectionstring.h"
#include "phonebook/store/phonebookconnection.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>

namespace {
ContactTransferJob *current = nullptr;
bool lastEndedForClosing = false;

// The progress dialog shows once a transfer has lasted this long.
constexpr int quietMilliseconds = 500;
// How often the dialog is brought up to date.
constexpr int refreshMilliseconds = 50;
constexpr int steps = 1000;
} // namespace

ContactTransferJob::ContactTransferJob(bool import, QWidget *parent)
    : import_(import), parent_(parent) {}

ContactTransferJob::~ContactTransferJob() = default;

ContactTransferJob *ContactTransferJob::running() {
    return current;
}

bool ContactTransferJob::endedForClosing() {
    return lastEndedForClosing;
}

void ContactTransferJob::cancel(std::function<void()> thenClose) {
    cancelled_ = true;
    if (thenClose)
        thenClose_ = std::move(thenClose);
    if (dialog_)
        dialog_->setLabelText(PhoneBookText::cancelling());
}

void ContactTransferJob::run(const std::function<void(const TransferProgress &)> &work,
                             const QString &label) {
    if (current)
        raiseError(ErrorNumber::DatabaseLocked, PhoneBookText::transferRunning());
    current = this;
    lastEndedForClosing = false;
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::exception_ptr failure;
    const TransferProgress progress = [&](qint64 now, qint64 all) {
        done = now;
        total = all;
        return !cancelled_;
    };
    QThread *thread = QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    });

    QProgressDialog dialog(label, PhoneBookText::cancelButton(), 0, steps, parent_);
    dialog.setObjectName(QStringLiteral("dlgContactProgress"));
    dialog.setWindowTitle(import_ ? PhoneBookText::importTitle() : PhoneBookText::exportTitle());
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(quietMilliseconds);
    dialog.setValue(0);
    dialog_ = &dialog;
    connect(&dialog, &QProgressDialog::canceled, this, [this] { cancel(); });
    QTimer refresh;
    connect(&refresh, &QTimer::timeout, &dialog, [&] {
        const qint64 all = total;
        if (all > 0)
            dialog.setValue(int(std::min<qint64>(steps, done * steps / all)));
    });
    refresh.start(refreshMilliseconds);

    QEventLoop waiting;
    connect(thread, &QThread::finished, &waiting, &QEventLoop::quit);
    thread->start();
    waiting.exec();
    thread->wait();
    delete thread;
    dialog_ = nullptr;
    current = nullptr;
    if (thenClose_) {
        lastEndedForClosing = true;
        QTimer::singleShot(0, thenClose_);
    }
    if (failure)
        std::rethrow_exception(failure);
}

ImportResult ContactTransferJob::importFile(const QString &file, const QString &connectionString,
                                            QWidget *parent) {
    ContactTransferJob job(true, parent);
    ImportResult result;
    job.run(
        [&](const TransferProgress &progress) {
            const std::unique_ptr<PhoneBookConnection> connection =
                openConnection(connectionString);
            result = importContacts(file, *connection, progress);
        },
        PhoneBookText::importing(QFileInfo(file).fileName()));
    return result;
}

long ContactTransferJob::exportFile(const QString &connectionString, const QString &file,
                                    ContactFormat format, QWidget *parent) {
    ContactTransferJob job(false, parent);
    long written = 0;
    job.run(
        [&](const TransferProgress &progress) {
            const std::unique_ptr<PhoneBookConnection> connection =
                openConnection(connectionString);
            written = exportContacts(*connection, file, format, progress);
        },
        PhoneBookText::exporting(QFileInfo(file).fileName()));
    return written;
}

bool offerContactImport(const QString &file, QWidget *parent,
                        const std::function<bool()> &beforeImport) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    if (MsgBox(PhoneBookText::askImport(shown), MsgBoxStyle::YesNo + MsgBoxStyle::Question) !=
        MsgBoxResult::Yes)
        return false;
    if (beforeImport && !beforeImport())
        return false;
    bool imported = false;
    runReportingErrors([&] {
        try {
            const ImportResult result = ContactTransferJob::importFile(
                file, chosenConnectionString(platform().dataFolder()), parent);
            imported = true;
            MsgBox(result.summary(), MsgBoxStyle::OkOnly + MsgBoxStyle::Information);
        } catch (const RuntimeError &error) {
            // Cancelled as the program closes: nothing more to tell.
            if (!error.is(ErrorNumber::UserInterrupt) || !ContactTransferJob::endedForClosing())
                throw;
        }
    });
    return imported && !ContactTransferJob::endedForClosing();
}

void offerContactExport(const QString &file, ContactFormat format, QWidget *parent) {
    runReportingErrors([&] {
        try {
            const long written = ContactTransferJob::exportFile(
                chosenConnectionString(platform().dataFolder()), file, format, parent);
            MsgBox(PhoneBookText::exportDone(written, QDir::toNativeSeparators(file)),
                   MsgBoxStyle::OkOnly + MsgBoxStyle::Information);
        } catch (const RuntimeError &error) {
            if (!error.is(ErrorNumber::UserInterrupt) || !ContactTransferJob::endedForClosing())
                throw;
        }
    });
}
