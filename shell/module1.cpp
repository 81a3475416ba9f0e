#include "shell/module1.h"

#include "shell/frmmain.h"

frmMain *Module1::Main() {
    auto *main = new frmMain;
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->showMaximized();
    return main;
}
