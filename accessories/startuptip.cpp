#include "accessories/startuptip.h"

#include "platform/platform.h"
#include "platform/settings.h"

namespace {
const QString section = QStringLiteral("Options");
const QString key = QStringLiteral("Show Tips at Startup");
} // namespace

bool startupTipOn() {
    return GetNumberSetting(platform().executableName(), section, key, 1) != 0;
}

void storeStartupTip(bool on) {
    SaveSetting(platform().executableName(), section, key,
                on ? QStringLiteral("1") : QStringLiteral("0"));
}
