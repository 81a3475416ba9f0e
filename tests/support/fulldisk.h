#pragma once

#include <QString>
#include <sys/resource.h>

// A disk of its own for one test, mounted on a folder of the test's and filled on
// demand, after which every write into it fails as on a full disk. It is a small tmpfs
// when the tests may mount one (as root, as in CI). Where they may not, a file size limit
// of nothing for this process and the programs it starts stands in once it is filled:
// writes then fail in the same places, with "File too large" for a reason.
class FullDisk {
public:
    explicit FullDisk(const QString &folder);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    // From now on nothing more fits.
    void fill();
    // The words a message about the failed write holds.
    QString reason() const;

private:
    QString folder_;
    bool mounted_ = false;
    bool limited_ = false;
    rlimit before_{};
};
