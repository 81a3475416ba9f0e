#include "rtf/rtffile.h"

#include <QLocale>

namespace RtfFile {

Result read(const QString &path) {
    return RegularFile::read(path, maxSize);
}

QString refusal(const Result &result, const QString &shownPath) {
    const QLocale locale;
    switch (result.outcome) {
    case Outcome::NotFound:
        return QStringLiteral("%1 does not exist.").arg(shownPath);
    case Outcome::NotRegular:
        return QStringLiteral("%1 is not a file that can be opened: only an ordinary file "
                              "holds a diary entry.")
            .arg(shownPath);
    case Outcome::TooLarge:
        return QStringLiteral("%1 is %2, larger than the %3 a diary entry can be, and was not "
                              "opened.")
            .arg(shownPath, locale.formattedDataSize(result.size, 1),
                 locale.formattedDataSize(maxSize, 0));
    case Outcome::Read:
    case Outcome::Failed:
        break;
    }
    return QString();
}

} // namespace RtfFile
