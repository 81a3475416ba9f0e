#include "platform/platform.h"

#include "platform/qtplatform.h"

namespace {
Platform *installed = nullptr;
}

Platform &platform() {
    if (installed)
        return *installed;
    static QtPlatform qtPlatform;
    return qtPlatform;
}

void setPlatform(Platform *replacement) {
    installed = replacement;
}
