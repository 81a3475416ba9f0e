#pragma once

#include <functional>

// SIGTERM and SIGHUP (a kill, a logout without a session manager, a shutdown) run
// `beforeEnd` on the main thread, in the event loop, and then end the program as the
// signal would have. Only the last `beforeEnd` given is run.
void onTermination(std::function<void()> beforeEnd);
