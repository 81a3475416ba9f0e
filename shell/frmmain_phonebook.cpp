// The main window's command that opens a phone book window. The phone book arrives with
// its own subsystem; until then the command opens nothing.
#include "shell/frmmain.h"

void frmMain::mnuDataPhoneBook_Click() {}
