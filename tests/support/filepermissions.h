#pragma once

// While one lives, file permissions stop this thread as they stop any user, also when
// the tests run as root (as they do in CI and containers): it lays down the capabilities
// that let root read and write every file, and takes them up again when it goes.
class FilePermissionsApply {
public:
    FilePermissionsApply();
    ~FilePermissionsApply();
    FilePermissionsApply(const FilePermissionsApply &) = delete;
    FilePermissionsApply &operator=(const FilePermissionsApply &) = delete;

private:
    bool dropped_ = false;
};
