#include "accessories/frmabout.h"

#include "platform/messagebox.h"
#include "platform/platform.h"
#include "platform/runtimeerror.h"
#include "platform/units.h"

#include <orvanel/version.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <array>

namespace {
const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString msinfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
constexpr quint32 valueBufferSize = 1024;
} // namespace

frmAbout::frmAbout(QWidget *owner)
    : AccessoryWindow(owner, "frmAbout", QStringLiteral("About ORVANEL"), 5865, 3630) {
    // Modal: the main window and the other windows take no input until it is closed.
    setWindowModality(Qt::ApplicationModal);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAccessibleName(QStringLiteral("ORVANEL icon"));
    picIcon->setAlignment(Qt::AlignCenter);
    placeInTwips(picIcon, 2625, 255, 540, 540);

    lblTitle = new QLabel(QStringLiteral("Orvanel"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(designedFont(QStringLiteral("Goudy Stout"), 15.75));
    setTextColor(lblTitle, QColor(0, 0, 255));
    placeInTwips(lblTitle, 120, 915, 5310, 420);

    lblVersion = new QLabel(QStringLiteral("Version 1.0"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setFont(designedFont(QStringLiteral("AvantGarde Bk BT"), 9.75, QFont::Bold));
    setTextColor(lblVersion, QColor(255, 0, 0));
    placeInTwips(lblVersion, 4245, 1395, 1215, 225);

    cmdOK =
        pictureButton(this, "cmdOK", QStringLiteral("OK"), "ok", QString(), 3060, 2070, 2505, 585);
    cmdSysInfo = pictureButton(this, "cmdSysInfo", QStringLiteral("System Info"), "sysinfo",
                               QString(), 3045, 2775, 2535, 600);
    // Enter answers OK; Esc closes the box as its close box does.
    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdSysInfo);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::Unload);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

bool frmAbout::Form_Load() {
    picIcon->setPixmap(QApplication::windowIcon().pixmap(picIcon->size()));
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(Version::major)
                            .arg(Version::minor)
                            .arg(Version::patch));
    fitToText(lblVersion);
    lblTitle->setText(appTitle());
    lblTitle->adjustSize();
    cmdOK->setFocus();
    return true;
}

void frmAbout::StartSysInfo() {
    try {
        QString programPath;
        if (!GetKeyValue(RegistryKey::LocalMachine, msinfoKey, QStringLiteral("PATH"),
                         programPath)) {
            if (!GetKeyValue(RegistryKey::LocalMachine, msinfoLocationKey, QStringLiteral("MSINFO"),
                             programPath))
                raiseError(ErrorNumber::FileNotFound);
            programPath += QStringLiteral("/MSINFO32.EXE");
            if (!QFileInfo::exists(programPath))
                raiseError(ErrorNumber::FileNotFound);
        }
        platform().startProgram(programPath, {});
    } catch (const RuntimeError &) {
        MsgBox(QStringLiteral("System Information Is Unavailable At This Time"),
               MsgBoxStyle::OkOnly);
    }
}

bool frmAbout::GetKeyValue(HKEY RootKey, const QString &SubKeyPath, const QString &ValueName,
                           QString &ValueText) {
    HKEY key = 0;
    // Read access is all a lookup needs: asking for write rights as well would refuse
    // every user who may not change the hive.
    if (RegOpenKeyExA(RootKey, SubKeyPath, 0, RegistryAccess::Read, &key) !=
        RegistryStatus::Success) {
        ValueText.clear();
        RegCloseKey(key);
        return false;
    }
    std::array<unsigned char, valueBufferSize> buffer{};
    quint32 size = valueBufferSize;
    quint32 kind = 0;
    if (RegQueryValueExA(key, ValueName, &kind, buffer.data(), &size) != RegistryStatus::Success) {
        ValueText.clear();
        RegCloseKey(key);
        return false;
    }
    const auto *data = reinterpret_cast<const char *>(buffer.data());
    if (kind == RegistryKind::Text) {
        ValueText = QString::fromUtf8(data, qstrnlen(data, size));
    } else if (kind == RegistryKind::Number) {
        quint32 number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | buffer[size_t(i)];
        ValueText = QStringLiteral("&h") + QString::number(number, 16).toUpper();
    }
    RegCloseKey(key);
    return true;
}
