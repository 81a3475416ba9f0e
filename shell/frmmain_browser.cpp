// The main window's commands that open a web browser window. The browser arrives with
// its own subsystem; until then the commands open nothing.
#include "shell/frmmain.h"

void frmMain::mnuViewWebBrowser_Click() {}
void frmMain::mnuRunWebBrowser_Click(short) {}
