#pragma once

#include "platform/platform.h"

#include <optional>

// The state of a lock key as the X server's keyboard extension reports it; nothing
// when the program does not run on X11 or the server does not know the indicator.
std::optional<bool> x11LockKeyState(LockKey key);
