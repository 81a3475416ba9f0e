#include "diary/frmdocument.h"

#include "diary/diaryhost.h"
#include "diary/diarytexts.h"
#include "diary/entryrecovery.h"
#include "diary/rtftextbox.h"
#include "platform/errorhandling.h"
#include "platform/imagelist.h"
#include "platform/messagebox.h"
#include "platform/settings.h"
#include "platform/units.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>

namespace {
// Layout of the text box in the window's client area, in twips.
constexpr double boxMargin = 100;
constexpr double rightMarginInset = 400;
// The window's client area as it was designed.
constexpr double designWidth = 4680;
constexpr double designHeight = 3195;

const QString savedSection = QStringLiteral("Saving");
const QString savedKey = QStringLiteral("Document");
} // namespace

void writeSavedFlag(bool saved) {
    SaveSetting(appTitle(), savedSection, savedKey,
                saved ? QStringLiteral("1") : QStringLiteral("0"));
}

frmDocument::frmDocument(DiaryHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("frmDocument"));
    setWindowIcon(QIcon(xpmPicture(QStringLiteral(":/icons/orvanel.xpm"))));
    resize(sizeHint());
    rtfText = new RtfTextBox(this);
    rtfText->setObjectName(QStringLiteral("rtfText"));
    setFocusProxy(rtfText);
    // A screen reader names the editor after its entry.
    connect(this, &QWidget::windowTitleChanged, rtfText, &QWidget::setAccessibleName);
    connect(rtfText, &RtfTextBox::SelChange, this, &frmDocument::rtfText_SelChange);
    recovery_ = new EntryRecovery(*this, host.recovery());
    // F3 and Shift+F3 go through the places where the last search's words stand.
    auto *next = new QShortcut(QKeySequence(Qt::Key_F3), this, [this] { goToFound(true); });
    auto *previous =
        new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this, [this] { goToFound(false); });
    next->setContext(Qt::WidgetWithChildrenShortcut);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    Form_Load();
}

bool frmDocument::showFound(const SearchTerms &terms) {
    found_ = terms;
    QTextCursor start = rtfText->textCursor();
    start.movePosition(QTextCursor::Start);
    rtfText->setTextCursor(start);
    goToFound(true);
    return rtfText->textCursor().hasSelection();
}

void frmDocument::goToFound(bool forward) {
    const QList<TextSpan> spans = found_.spansIn(rtfText->toPlainText());
    if (spans.isEmpty())
        return;
    const QTextCursor at = rtfText->textCursor();
    const int from = forward ? at.selectionEnd() : at.selectionStart();
    const TextSpan *chosen = nullptr;
    if (forward) {
        // The first place after the selection, or the first of all when it is the last.
        for (const TextSpan &span : spans) {
            if (span.start >= from) {
                chosen = &span;
                break;
            }
        }
        if (!chosen)
            chosen = &spans.first();
    } else {
        for (auto span = spans.crbegin(); span != spans.crend(); ++span) {
            if (span->start + span->length <= from) {
                chosen = &*span;
                break;
            }
        }
        if (!chosen)
            chosen = &spans.last();
    }
    QTextCursor selection(rtfText->document());
    selection.setPosition(int(chosen->start));
    selection.setPosition(int(chosen->start + chosen->length), QTextCursor::KeepAnchor);
    rtfText->setTextCursor(selection);
    rtfText->ensureCursorVisible();
}

QSize frmDocument::sizeHint() const {
    return {twipsToPixelsX(designWidth), twipsToPixelsY(designHeight)};
}

bool frmDocument::textChanged() const {
    return rtfText->document()->isModified();
}

void frmDocument::markInStep(std::optional<FileStamp> file) {
    rtfText->document()->setModified(false);
    knownFile_ = std::move(file);
    recovery_->discard();
}

bool frmDocument::knowsFileAsItIs(const QString &path) const {
    return knownFile_ && FileStamp::of(path) == knownFile_;
}

void frmDocument::Form_Load() {
    Form_Resize();
}

void frmDocument::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDocument::Form_Resize() {
    // A window too small for the margins keeps the box as it was.
    runIgnoringErrors({
        [&] {
            rtfText->Move(boxMargin, boxMargin, pixelsToTwipsX(width()) - 2 * boxMargin,
                          pixelsToTwipsY(height()) - 2 * boxMargin);
        },
        [&] { rtfText->setRightMargin(rtfText->Width() - rightMarginInset); },
    });
}

void frmDocument::rtfText_SelChange() {
    showSelectionFormat();
    writeSavedFlag(false);
}

void frmDocument::showSelectionFormat() {
    for (CharacterFormat format : characterFormats)
        host_.showCharacterFormat(format, rtfText->SelFormat(format).value_or(false));
    host_.showAlignment(rtfText->SelAlignment());
}

bool offerToSave(frmDocument &document, DiaryHost &host) {
    // Save acts on the active window: make it this one, whichever window the user
    // closed or the main window is closing.
    if (auto *window = qobject_cast<QMdiSubWindow *>(document.parentWidget()))
        window->mdiArea()->setActiveSubWindow(window);
    const int answer =
        MsgBox(DiaryText::notSavedQuestion(),
               MsgBoxStyle::YesNoCancel + MsgBoxStyle::DefaultButton1, DiaryText::savingTitle());
    if (answer == MsgBoxResult::Cancel)
        return false;
    if (answer == MsgBoxResult::Yes) {
        // A Yes whose save did not happen keeps the window and its text.
        if (!host.saveActiveEntry())
            return false;
    }
    return true;
}

bool frmDocument::Form_Unload() {
    // Only the window's own changes ask: the shared flag changes with every caret move
    // in any window, and a Yes for an untouched window would write an empty entry over
    // a saved one.
    if (textChanged() && !offerToSave(*this, host_))
        return false;
    // Saved, or the user would not keep the changes.
    recovery_->discard();
    // The commands serve the diary windows still open.
    if (!host_.otherDiaryWindowsOpen(*this))
        host_.switchDocumentCommands(false);
    return true;
}

void frmDocument::closeEvent(QCloseEvent *event) {
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}
