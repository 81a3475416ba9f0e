#include "diary/frmdocument.h"

#include "diary/diaryhost.h"
#include "diary/diarytexts.h"
#include "diary/rtftextbox.h"
#include "platform/errorhandling.h"
#include "platform/messagebox.h"
#include "platform/settings.h"
#include "platform/units.h"

#include <QCloseEvent>

namespace {
// Layout of the text box in the window's client area, in twips.
constexpr double boxMargin = 100;
constexpr double rightMarginInset = 400;
// The window's client area as it was designed.
constexpr double designWidth = 4680;
constexpr double designHeight = 3195;

const QString savedSection = QStringLiteral("Saving");
const QString savedKey = QStringLiteral("Document");

// The toolbar buttons that follow the selection, in the order they are set.
const char *const characterButtons[] = {"Bold", "Italic", "Underline"};
struct AlignmentButton {
    const char *key;
    int alignment;
};
const AlignmentButton alignmentButtons[] = {{"Align Left", 0}, {"Center", 2}, {"Align Right", 1}};
} // namespace

void writeSavedFlag(bool saved) {
    SaveSetting(appTitle(), savedSection, savedKey,
                saved ? QStringLiteral("1") : QStringLiteral("0"));
}

bool savedFlagIsSet() {
    // A value that is not a whole number counts as not saved: asking once too often
    // loses nothing.
    bool isNumber = false;
    const int flag = GetSetting(appTitle(), savedSection, savedKey, QStringLiteral("1"))
                         .trimmed()
                         .toInt(&isNumber);
    return isNumber && flag == 1;
}

frmDocument::frmDocument(DiaryHost &host, QWidget *parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("frmDocument"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/orvanel.xpm")));
    resize(sizeHint());
    rtfText = new RtfTextBox(this);
    rtfText->setObjectName(QStringLiteral("rtfText"));
    setFocusProxy(rtfText);
    connect(rtfText, &RtfTextBox::SelChange, this, &frmDocument::rtfText_SelChange);
    Form_Load();
}

QSize frmDocument::sizeHint() const {
    return {twipsToPixelsX(designWidth), twipsToPixelsY(designHeight)};
}

bool frmDocument::textChanged() const {
    return rtfText->document()->isModified();
}

void frmDocument::markSaved() {
    rtfText->document()->setModified(false);
    ++saveCount_;
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
    const auto on = [](std::optional<bool> state) { return state.value_or(false); };
    host_.setToolbarButtonValue(QString::fromLatin1(characterButtons[0]), on(rtfText->SelBold()));
    host_.setToolbarButtonValue(QString::fromLatin1(characterButtons[1]), on(rtfText->SelItalic()));
    host_.setToolbarButtonValue(QString::fromLatin1(characterButtons[2]),
                                on(rtfText->SelUnderline()));
    const std::optional<int> alignment = rtfText->SelAlignment();
    for (const AlignmentButton &button : alignmentButtons)
        host_.setToolbarButtonValue(QString::fromLatin1(button.key), alignment == button.alignment);
    writeSavedFlag(false);
}

bool offerToSave(frmDocument &document, DiaryHost &host) {
    const int answer =
        MsgBox(DiaryText::notSavedQuestion(),
               MsgBoxStyle::YesNoCancel + MsgBoxStyle::DefaultButton1, DiaryText::savingTitle());
    if (answer == MsgBoxResult::Cancel)
        return false;
    if (answer == MsgBoxResult::Yes) {
        const int saves = document.saveCount();
        host.mnuFileSave_Click();
        // A Yes whose save did not happen keeps the window and its text.
        if (document.saveCount() == saves)
            return false;
    }
    return true;
}

bool frmDocument::Form_Unload() {
    // The shared flag asks after any change in any window; the window's own change
    // asks even when another window's save set the flag.
    if (!savedFlagIsSet() || textChanged()) {
        if (!offerToSave(*this, host_))
            return false;
    }
    host_.switchDocumentCommands(false);
    return true;
}

void frmDocument::closeEvent(QCloseEvent *event) {
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}
