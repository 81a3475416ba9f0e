// The main window's commands that show the accessory windows: the tip of the day, the
// options dialog, the command-line runner and the About box. They arrive with their own
// subsystem; until then the commands show nothing.
#include "shell/frmmain.h"

void frmMain::mnuFileProperties_Click() {}
void frmMain::mnuViewOptions_Click() {}
void frmMain::mnuToolsOptions_Click() {}
void frmMain::mnuViewTips_Click() {}
void frmMain::mnudatamsdos_Click() {}
void frmMain::mnuHelpAbout_Click() {}
