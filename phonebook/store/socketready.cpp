#include "phonebook/store/socketready.h"

#include <cerrno>
#include <poll.h>

bool socketReadyBefore(int socket, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || socket < 0)
            return false;
        pollfd watched{socket, events, 0};
        const int ready = ::poll(&watched, 1, int(left.count()));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}
