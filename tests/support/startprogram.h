#pragma once

#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QApplication>
#include <memory>

// Starts the program as Main does, with its main window kept alive by the test rather
// than deleted when it closes, and active, as the user's window would be.
inline std::unique_ptr<frmMain> startProgram() {
    std::unique_ptr<frmMain> main(Module1::Main());
    main->setAttribute(Qt::WA_DeleteOnClose, false);
    QApplication::setActiveWindow(main.get());
    return main;
}
