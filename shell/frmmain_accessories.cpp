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
// The window, made on first use; the main window owns it.
template <typename Window> Window &accessory(Window *&window, frmMain *owner) {
    if (!window)
        window = new Window(owner);
    return *window;
}
} // namespace

void frmMain::Timer1_Timer() {
    // Once a run; stopped first, so a tip window that fails to show is not tried again.
    Timer1->stop();
    if (startupTipOn())
        accessory(tipWindow_, this).showWindow();
}

void frmMain::mnuViewTips_Click() {
    // The setting first: the tip window closes at once when it loads while it is off.
    runIgnoringErrors(
        {[] { storeStartupTip(true); }, [this] { accessory(tipWindow_, this).showWindow(); }});
}

void frmMain::mnuFileProperties_Click() {
    accessory(optionsWindow_, this).showWindow();
}

void frmMain::mnuViewOptions_Click() {
    accessory(optionsWindow_, this).showWindow();
}

void frmMain::mnuToolsOptions_Click() {
    accessory(optionsWindow_, this).showWindow();
}

void frmMain::mnudatamsdos_Click() {
    runReportingErrors([this] { accessory(runnerWindow_, this).showWindow(); });
}

void frmMain::mnuHelpAbout_Click() {
    accessory(aboutWindow_, this).showWindow();
}
