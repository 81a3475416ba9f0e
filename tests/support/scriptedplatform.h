#pragma once

#include "platform/platform.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <functional>
#include <optional>

// A platform for tests: it answers every dialog from a queue the test fills and records
// what the program showed. A dialog the test did not expect fails the test at once and
// is answered with its safest choice (Cancel, No or OK). Installs itself while it lives.
class ScriptedPlatform : public Platform {
public:
    struct ShownMessage {
        QString text;
        int style = 0;
        QString title;
        int buttons() const;
        int icon() const;
        int defaultButton() const; // 1, 2 or 3
    };
    struct ShownFileDialog {
        FileDialogKind kind;
        QString title;
        QString filter;
        QString folder;
        int flags = 0;
    };
    struct ShownPrintDialog {
        QString title;
        int flags = 0;
        bool pageSetup = false;
    };
    struct HelpCall {
        QString helpFile;
        int command = 0;
        int data = 0;
    };

    ScriptedPlatform();
    ~ScriptedPlatform() override;

    // Answers for the next dialogs, in order.
    void answerMessage(int answer);
    // Runs while the box is "open"; its result is the answer.
    void answerMessageWith(std::function<int(const ShownMessage &)> answer);
    // An empty path cancels; a filter index above 0 is the filter the user chose.
    void answerFileDialog(const QString &path, int filterIndex = 0);
    void answerPrintToPdf(const QString &pdfPath);
    void answerPrintCancel();
    void answerPageSetup(bool accept);

    // What the program showed.
    QList<ShownMessage> messages;
    QList<ShownFileDialog> fileDialogs;
    QList<ShownPrintDialog> printDialogs;
    QList<HelpCall> helpCalls;
    QList<QStringList> startedPrograms; // each the program, then its arguments
    int beeps = 0;
    bool programEnded = false;
    int unansweredDialogs() const;

    // The world the program sees.
    QDate pinnedToday{2026, 12, 6};
    QString folder;      // the data folder
    QString shipped;     // the folder of what the program ships; empty: the data folder
    QString olderFolder; // where an older build kept the user's data; empty: none
    QString exeName = QStringLiteral("orvanel");
    QHash<LockKey, bool> keys;
    std::optional<QString> startFailure; // the description startProgram fails with
    bool startProgramsForReal = false;   // programs are also started, as the Qt platform does

    int messageBox(const QString &text, int style, const QString &title) override;
    QString fileDialog(FileDialogKind kind, const QString &title, const QString &filter,
                       const QString &folder, int flags, int *filterIndex = nullptr) override;
    bool printDialog(const QString &title, int flags, QPrinter &printer) override;
    bool pageSetupDialog(const QString &title, QPrinter &printer) override;
    void startProgram(const QString &program, const QStringList &arguments) override;
    void beep() override;
    bool showHelp(QWidget *window, const QString &helpFile, int command, int data) override;
    bool keyState(LockKey key) override;
    QDate today() override;
    QString dataFolder() override;
    QString shippedFolder() override;
    QString olderDataFolder() override;
    QString executableName() override;
    void endProgram() override;

private:
    QList<std::function<int(const ShownMessage &)>> messageAnswers_;
    QList<std::pair<QString, int>> fileAnswers_;
    struct PrintAnswer {
        bool accept;
        QString pdfPath;
    };
    QList<PrintAnswer> printAnswers_;
    QList<bool> pageSetupAnswers_;
};
