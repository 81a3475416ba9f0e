#pragma once

class frmMain;

namespace Module1 {
// Starts the program: loads the main window and shows it.
frmMain *Main();
} // namespace Module1
