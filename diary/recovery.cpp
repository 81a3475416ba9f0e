#include "diary/recovery.h"

#include "diary/diarytexts.h"
#include "platform/messagebox.h"

#include <QDir>

Recovery::Recovery(QObject *parent) : QObject(parent) {
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("recovery copies"));
    thread_.start(QThread::LowPriority);
}

Recovery::~Recovery() {
    flush();
    thread_.quit();
    thread_.wait();
}

template <typename Step> void Recovery::queue(Step step) {
    QMetaObject::invokeMethod(worker_, std::move(step), Qt::QueuedConnection);
}

void Recovery::flush() {
    QMetaObject::invokeMethod(
        worker_, [] {}, Qt::BlockingQueuedConnection);
}

void Recovery::write(int id, RecoveryCopy copy) {
    queue([this, id, copy = std::move(copy)] {
        const QString failure = folder_.write(id, copy);
        if (!failure.isEmpty())
            QMetaObject::invokeMethod(this, [this, failure] { tellFailure(failure); });
    });
}

void Recovery::remove(int id) {
    queue([this, id] { folder_.remove(id); });
}

void Recovery::writeNow(int id, const RecoveryCopy &copy) {
    flush();
    folder_.write(id, copy);
}

bool Recovery::adopt(int id, const QString &path) {
    flush();
    return folder_.adopt(id, path);
}

void Recovery::tellFailure(const QString &why) {
    if (told_)
        return;
    told_ = true;
    MsgBox(DiaryText::recoveryNotWritten(QDir::toNativeSeparators(RecoveryFolder::root()), why),
           MsgBoxStyle::Exclamation);
}
