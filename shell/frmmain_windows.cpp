// The main window's commands that open the other windows of the program: the phone
// book, the browser and the accessories. Each window arrives with its own subsystem;
// until then its command opens nothing.
#include "shell/frmmain.h"

void frmMain::mnuFileProperties_Click() {}
void frmMain::mnuViewOptions_Click() {}
void frmMain::mnuToolsOptions_Click() {}
void frmMain::mnuViewWebBrowser_Click() {}
void frmMain::mnuRunWebBrowser_Click(short) {}
void frmMain::mnuViewTips_Click() {}
void frmMain::mnuDataPhoneBook_Click() {}
void frmMain::mnudatamsdos_Click() {}
void frmMain::mnuHelpAbout_Click() {}
