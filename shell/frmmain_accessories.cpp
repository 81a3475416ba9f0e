// The main window's commands that show the accessory windows: the tip of the day, the
// options dialog, the command-line runner and the About box. Each window is one object
// for the whole run, made when it is first shown; showing one that is open brings it
// forward.
#include "accessories/frmabout.h"
#include "accessories/frmmsdos.h"
#include "accessories/frmproperties.h"
#include "accessories/frmtip.h"
#include "accessories/startuptip.h"
#include "platform/errorhandling.h"
#include "shell/frmmain.h"

#include <QTimer>

namespace {
// The window, made on first use: a top-level window of its own, or one the main window
// owns (the modal About box).
template <typename Window> Window &accessory(Window *&window, frmMain *owner = nullptr) {
    if (!window)
        window = new Window(owner);
    return *window;
}

// A window that is open stays until the user closes it; one that is not goes now.
void keepWhileOpen(QWidget *window) {
    if (window && window->isVisible())
        window->setAttribute(Qt::WA_DeleteOnClose);
    else
        delete window;
}
} // namespace

void frmMain::keepOpenAccessoriesAfterMe() {
    keepWhileOpen(tipWindow_);
    keepWhileOpen(optionsWindow_);
    keepWhileOpen(runnerWindow_);
}

void frmMain::Timer1_Timer() {
    // Once a run; stopped first, so a tip window that fails to show is not tried again.
    Timer1->stop();
    if (startupTipOn())
        accessory(tipWindow_).showWindow();
}

void frmMain::mnuViewTips_Click() {
    // The setting first: the tip window closes at once when it loads while it is off.
    runIgnoringErrors(
        {[] { storeStartupTip(true); }, [this] { accessory(tipWindow_).showWindow(); }});
}

void frmMain::mnuFileProperties_Click() {
    accessory(optionsWindow_).showWindow();
}

void frmMain::mnuViewOptions_Click() {
    accessory(optionsWindow_).showWindow();
}

void frmMain::mnuToolsOptions_Click() {
    accessory(optionsWindow_).showWindow();
}

void frmMain::mnudatamsdos_Click() {
    runReportingErrors([this] { accessory(runnerWindow_).showWindow(); });
}

void frmMain::mnuHelpAbout_Click() {
    accessory(aboutWindow_, this).showWindow();
}
