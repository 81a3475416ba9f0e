#include "scriptedplatform.h"

#include "platform/messagebox.h"
#include "platform/programstart.h"
#include "platform/runtimeerror.h"

#include <QPrinter>
#include <QTest>

namespace {
void unexpected(const QString &what) {
    const QByteArray message = ("unexpected " + what).toUtf8();
    QTest::qFail(message.constData(), __FILE__, __LINE__);
}
} // namespace

int ScriptedPlatform::ShownMessage::buttons() const {
    return style & MsgBoxStyle::ButtonMask;
}
int ScriptedPlatform::ShownMessage::icon() const {
    return style & MsgBoxStyle::IconMask;
}
int ScriptedPlatform::ShownMessage::defaultButton() const {
    return (style & MsgBoxStyle::DefaultMask) / MsgBoxStyle::DefaultButton2 + 1;
}

ScriptedPlatform::ScriptedPlatform() {
    setPlatform(this);
}
ScriptedPlatform::~ScriptedPlatform() {
    setPlatform(nullptr);
}

void ScriptedPlatform::answerMessage(int answer) {
    messageAnswers_ << [answer](const ShownMessage &) { return answer; };
}
void ScriptedPlatform::answerMessageWith(std::function<int(const ShownMessage &)> answer) {
    messageAnswers_ << std::move(answer);
}
void ScriptedPlatform::answerFileDialog(const QString &path, int filterIndex) {
    fileAnswers_ << std::pair{path, filterIndex};
}
void ScriptedPlatform::answerPrintToPdf(const QString &pdfPath) {
    printAnswers_ << PrintAnswer{true, pdfPath};
}
void ScriptedPlatform::answerPrintCancel() {
    printAnswers_ << PrintAnswer{false, {}};
}
void ScriptedPlatform::answerPageSetup(bool accept) {
    pageSetupAnswers_ << accept;
}

int ScriptedPlatform::unansweredDialogs() const {
    return int(messageAnswers_.size() + fileAnswers_.size() + printAnswers_.size() +
               pageSetupAnswers_.size());
}

int ScriptedPlatform::messageBox(const QString &text, int style, const QString &title) {
    const ShownMessage shown{text, style, title};
    messages << shown;
    if (messageAnswers_.isEmpty()) {
        unexpected(QStringLiteral("message box: ") + text);
        switch (shown.buttons()) {
        case MsgBoxStyle::YesNo:
            return MsgBoxResult::No;
        case MsgBoxStyle::OkOnly:
            return MsgBoxResult::Ok;
        default:
            return MsgBoxResult::Cancel;
        }
    }
    return messageAnswers_.takeFirst()(shown);
}

QString ScriptedPlatform::fileDialog(FileDialogKind kind, const QString &title,
                                     const QString &filter, const QString &folder, int flags,
                                     int *filterIndex) {
    fileDialogs << ShownFileDialog{kind, title, filter, folder, flags};
    if (fileAnswers_.isEmpty()) {
        unexpected(QStringLiteral("file dialog: ") + title);
        return {};
    }
    const auto [path, chosenFilter] = fileAnswers_.takeFirst();
    if (filterIndex && chosenFilter > 0)
        *filterIndex = chosenFilter;
    return path;
}

bool ScriptedPlatform::printDialog(const QString &title, int flags, QPrinter &printer) {
    printDialogs << ShownPrintDialog{title, flags, false};
    if (printAnswers_.isEmpty()) {
        unexpected(QStringLiteral("print dialog: ") + title);
        return false;
    }
    const PrintAnswer answer = printAnswers_.takeFirst();
    if (answer.accept) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answer.pdfPath);
        printer.setPrintRange((flags & 1) ? QPrinter::Selection : QPrinter::AllPages);
    }
    return answer.accept;
}

bool ScriptedPlatform::pageSetupDialog(const QString &title, QPrinter &) {
    printDialogs << ShownPrintDialog{title, 0, true};
    if (pageSetupAnswers_.isEmpty()) {
        unexpected(QStringLiteral("page setup dialog: ") + title);
        return false;
    }
    return pageSetupAnswers_.takeFirst();
}

void ScriptedPlatform::startProgram(const QString &program, const QStringList &arguments) {
    if (startFailure)
        raiseError(ErrorNumber::FileNotFound, *startFailure);
    if (startProgramsForReal)
        startDetachedProgram(program, arguments);
    startedPrograms << (QStringList{program} + arguments);
}

void ScriptedPlatform::beep() {
    ++beeps;
}

bool ScriptedPlatform::showHelp(QWidget *, const QString &helpFile, int command, int data) {
    helpCalls << HelpCall{helpFile, command, data};
    return true;
}

bool ScriptedPlatform::keyState(LockKey key) {
    return keys.value(key, false);
}
QDate ScriptedPlatform::today() {
    return pinnedToday;
}
QString ScriptedPlatform::dataFolder() {
    return folder;
}
QString ScriptedPlatform::shippedFolder() {
    return shipped.isEmpty() ? folder : shipped;
}
QString ScriptedPlatform::olderDataFolder() {
    return olderFolder;
}
QString ScriptedPlatform::executableName() {
    return exeName;
}
void ScriptedPlatform::endProgram() {
    programEnded = true;
}
