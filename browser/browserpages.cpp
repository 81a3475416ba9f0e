#include "browser/browserpages.h"

#include "platform/settings.h"

namespace {

const QString application = QStringLiteral("ORVANEL");
const QString section = QStringLiteral("Browser");

QString storedPage(const QString &key, const QString &defaultAddress) {
    const QString stored = GetSetting(application, section, key).trimmed();
    return stored.isEmpty() ? defaultAddress : stored;
}

} // namespace

QString browserStartPage() {
    // Stored empty, it opens blank windows.
    return GetSetting(application, section, QStringLiteral("StartPage"),
                      QStringLiteral("https://www.wikipedia.org/"))
        .trimmed();
}

BrowserPages browserPages() {
    return {storedPage(QStringLiteral("HomePage"), QStringLiteral("https://www.wikipedia.org/")),
            storedPage(QStringLiteral("SearchPage"), QStringLiteral("https://duckduckgo.com/"))};
}
