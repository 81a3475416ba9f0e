#pragma once

#include "shell/frmmain.h"
#include "shell/module1.h"

#include <QApplication>
#include <QMdiArea>
#include <QTimer>
#include <memory>

// Whether the main window's start-up timer, which brings up the tip of the day half a
// second after start, runs in a test.
enum class StartupTimer { Stopped, Running };

// Starts the program as Main does, with its main window kept alive by the test rather
// than deleted when it closes, and active, as the user's window would be. Unless a test
// asks for it, the start-up timer is stopped: a tip window coming up in the middle of a
// test would take the focus from what the test does.
inline std::unique_ptr<frmMain> startProgram(StartupTimer timer = StartupTimer::Stopped) {
    std::unique_ptr<frmMain> main(Module1::Main());
    main->setAttribute(Qt::WA_DeleteOnClose, false);
    if (timer == StartupTimer::Stopped)
        main->Timer1->stop();
    QApplication::setActiveWindow(main.get());
    return main;
}

inline int windowCount(frmMain &main) {
    return int(main.mdiArea()->subWindowList().size());
}
