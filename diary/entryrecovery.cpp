#include "diary/entryrecovery.h"

#include "diary/frmdocument.h"
#include "diary/recovery.h"
#include "diary/rtftextbox.h"
#include "rtf/rtfwriter.h"

EntryRecovery::EntryRecovery(frmDocument &window, Recovery &recovery)
    : QObject(&window), window_(window), recovery_(recovery), id_(recovery.newId()) {
    pause_.setSingleShot(true);
    longest_.setSingleShot(true);
    step_.setInterval(0);
    connect(&pause_, &QTimer::timeout, this, &EntryRecovery::startWriting);
    connect(&longest_, &QTimer::timeout, this, &EntryRecovery::startWriting);
    connect(&step_, &QTimer::timeout, this, &EntryRecovery::writeStep);
    // The box keeps this signal for whichever document it shows.
    connect(window.rtfText, &QTextEdit::textChanged, this, &EntryRecovery::changed);
}

EntryRecovery::~EntryRecovery() {
    stopWriting();
}

void EntryRecovery::changed() {
    if (!recovery_.enabled || !window_.textChanged())
        return;
    pause_.start(recovery_.timing.pause);
    if (!longest_.isActive())
        longest_.start(recovery_.timing.longest);
}

void EntryRecovery::startWriting() {
    pause_.stop();
    longest_.stop();
    if (writer_) {
        again_ = true;
        return;
    }
    if (!window_.textChanged())
        return;
    QTextDocument *document = window_.rtfText->document();
    writing_ = document;
    writer_ = std::make_unique<RtfIncrementalWriter>(*document);
    follow_ = connect(document, &QTextDocument::contentsChange, this,
                      [this](int from, int removed, int added) {
                          writer_->documentChanged(from, removed, added);
                      });
    step_.start();
}

void EntryRecovery::writeStep() {
    // A window that took another document gives up this copy; the other one is read in
    // step with the file it came from.
    if (writing_ != window_.rtfText->document()) {
        stopWriting();
        return;
    }
    if (!writer_->writeFor(recovery_.timing.step))
        return;
    QByteArray rtf = writer_->take();
    stopWriting();
    recovery_.write(id_, {window_.windowTitle(), window_.filePath, std::move(rtf)});
    hasCopy_ = true;
    if (std::exchange(again_, false))
        changed();
}

void EntryRecovery::stopWriting() {
    step_.stop();
    disconnect(follow_);
    writer_.reset();
    writing_ = nullptr;
}

void EntryRecovery::discard() {
    pause_.stop();
    longest_.stop();
    stopWriting();
    again_ = false;
    if (std::exchange(hasCopy_, false))
        recovery_.remove(id_);
}

void EntryRecovery::writeNow() {
    stopWriting();
    if (!window_.textChanged())
        return;
    const RecoveryCopy copy{window_.windowTitle(), window_.filePath,
                            RtfWriter::writeDocument(*window_.rtfText->document())};
    recovery_.writeNow(id_, copy);
    hasCopy_ = true;
}

void EntryRecovery::adopt(const QString &path) {
    hasCopy_ = recovery_.adopt(id_, path);
}
