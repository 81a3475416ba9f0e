#pragma once

#include <QString>

// The words about the web browser's module that the program shows the user.
namespace BrowserText {
inline QString moduleNotLoaded(const QString &path, const QString &reason) {
    return QStringLiteral("The web browser cannot start: its module %1 could not be loaded "
                          "(%2). The rest of ORVANEL works on.")
        .arg(path, reason);
}
inline QString notOurModule(const QString &path) {
    return QStringLiteral("The web browser cannot start: %1 is not ORVANEL's web browser "
                          "module. The rest of ORVANEL works on.")
        .arg(path);
}
} // namespace BrowserText
