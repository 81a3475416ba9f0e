#pragma once

#include <chrono>

// Waits until a socket is ready for `events` (POLLIN, POLLOUT) or the deadline passes;
// false when it passed, or the socket failed.
bool socketReadyBefore(int socket, short events, std::chrono::steady_clock::time_point deadline);
