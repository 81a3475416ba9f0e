#pragma once

#include "accessories/accessorywindow.h"
#include "platform/registry.h"

class QLabel;

// The About box: the program's name, icon and version, and a button that starts the
// system's information program. Modal over the main window.
class frmAbout : public AccessoryWindow {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *owner);

    // Starts the system information program the registry names, or tells the user that
    // it is unavailable.
    static void StartSysInfo();

    // Reads one value below an open registry key or hive into ValueText: a text as it is,
    // a 32-bit number as "&h" and its hexadecimal digits; a value of another kind leaves
    // ValueText as it was. False, with ValueText empty, when the key or the value cannot
    // be read or the value does not fit 1024 bytes.
    static bool GetKeyValue(HKEY RootKey, const QString &SubKeyPath, const QString &ValueName,
                            QString &ValueText);

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

protected:
    bool Form_Load() override;
};
