#include "phonebook/store/serverwatch.h"

#include <sys/socket.h>

ServerWatch::~ServerWatch() {
    {
        const std::lock_guard locked(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void ServerWatch::arm(int socket, std::chrono::milliseconds limit) {
    {
        const std::lock_guard locked(mutex_);
        socket_ = socket;
        deadline_ = std::chrono::steady_clock::now() + limit;
        expired_ = false;
        if (!thread_.joinable())
            thread_ = std::thread([this] { watch(); });
    }
    changed_.notify_all();
}

bool ServerWatch::disarm() {
    const std::lock_guard locked(mutex_);
    socket_ = -1;
    return expired_;
}

void ServerWatch::watch() {
    std::unique_lock locked(mutex_);
    while (!stopping_) {
        if (socket_ < 0) {
            changed_.wait(locked);
            continue;
        }
        if (changed_.wait_until(locked, deadline_) == std::cv_status::timeout && socket_ >= 0 &&
            std::chrono::steady_clock::now() >= deadline_) {
            // The socket stays open (its owner closes it); it only stops carrying data.
            ::shutdown(socket_, SHUT_RDWR);
            expired_ = true;
            socket_ = -1;
        }
    }
}
