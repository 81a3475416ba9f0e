#include "filepermissions.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The capabilities that pass over a file's permission bits.
constexpr unsigned overridingCapabilities =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool setEffective(bool keep) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (keep)
        data[0].effective |= overridingCapabilities & data[0].permitted;
    else
        data[0].effective &= ~overridingCapabilities;
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

FilePermissionsApply::FilePermissionsApply() : dropped_(setEffective(false)) {}

FilePermissionsApply::~FilePermissionsApply() {
    if (dropped_)
        setEffective(true);
}
