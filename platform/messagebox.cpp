#include "platform/messagebox.h"

#include "platform/platform.h"

QString appTitle() {
    return QStringLiteral("ORVANEL");
}

int MsgBox(const QString &prompt, int style, const QString &title) {
    return platform().messageBox(prompt, style, title.isEmpty() ? appTitle() : title);
}
