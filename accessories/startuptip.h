#pragma once

// Whether the tip of the day comes up at start-up: the setting "Options" / "Show Tips at
// Startup" of the program, which the tip window, the options dialog and View > Tips share.
// Absent, or not a number (the file can be edited by hand), it is on; 0 is off.
bool startupTipOn();

// Stores the setting as "1" or "0".
void storeStartupTip(bool on);
