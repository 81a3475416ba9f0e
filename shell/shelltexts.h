#pragma once

#include <QString>

// The words the main window shows the user that no other window shares.
namespace ShellText {
inline QString refreshPlaceholder() {
    return QStringLiteral("Add 'mnuViewRefresh_Click' code.");
}
inline QString noHelp() {
    return QStringLiteral("Unable to display Help Contents. There is no Help associated with "
                          "this project.");
}
} // namespace ShellText
