#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// A deadline for a call to a phone book server that the calling thread cannot keep
// itself, since it waits inside the server's client library: while armed, the watch's
// own thread shuts the connection's socket down when the time is up, and the call
// returns at once with the connection lost. A server whose machine still answers TCP
// while the server itself says nothing (stopped, hung) is noticed no other way.
class ServerWatch {
public:
    ServerWatch() = default;
    ~ServerWatch();
    ServerWatch(const ServerWatch &) = delete;
    ServerWatch &operator=(const ServerWatch &) = delete;

    void arm(int socket, std::chrono::milliseconds limit);
    // Stops watching; true when the time ran out while it watched.
    bool disarm();

private:
    void watch();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_; // started with the first call watched
    int socket_ = -1;
    std::chrono::steady_clock::time_point deadline_;
    bool expired_ = false;
    bool stopping_ = false;
};
