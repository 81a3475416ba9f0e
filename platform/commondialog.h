#pragma once

#include <QString>
#include <memory>

class QPrinter;

// Print-dialog flags, added together in CommonDialog::Flags.
namespace PrintFlag {
inline constexpr int AllPages = 0;
inline constexpr int Selection = 1;
inline constexpr int NoPageNumbers = 8;
inline constexpr int ReturnDeviceContext = 256;
} // namespace PrintFlag

// The common dialog component of the main window: one object whose title, filter,
// flags and cancel behaviour each command sets before it shows one of the dialogs.
class CommonDialog {
public:
    CommonDialog();
    ~CommonDialog();

    QString DialogTitle;
    QString Filter;
    QString FileName;
    // The folder the open and save dialogs show first.
    QString InitDir;
    // The filter of `Filter` shown first, counted from 1; the one chosen after a dialog.
    int FilterIndex = 1;
    int Flags = 0;
    // When set, cancelling a dialog raises the cancel error (32755).
    bool CancelError = false;

    // The open and save file dialogs; the chosen path lands in FileName, an empty
    // name when the user cancelled.
    void ShowOpen();
    void ShowSave();

    // The print dialog. Returns the chosen printer, where the original component
    // handed back a device context; nullptr when the user cancelled.
    QPrinter *ShowPrinter();

    // The page set-up dialog on the same printer.
    void ShowPageSetup();

    // The printer the print and page set-up dialogs work on.
    QPrinter &printer();

private:
    void cancelled();
    std::unique_ptr<QPrinter> printer_;
};
