#include "platform/registry.h"

#include "platform/platform.h"
#include "platform/regularfile.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <cstring>
#include <optional>

namespace {

const QString hiveRoot = QStringLiteral("HKEY_LOCAL_MACHINE");

struct Value {
    quint32 kind = RegistryKind::Text;
    QByteArray data;
};
using Values = QHash<QString, Value>; // by name in lower case

struct Hive {
    QHash<QString, Values> keys; // by path below the hive, in lower case
    bool hasKey(const QString &path) const {
        if (path.isEmpty() || keys.contains(path))
            return true;
        const QString prefix = path + QLatin1Char('\\');
        for (auto key = keys.keyBegin(); key != keys.keyEnd(); ++key)
            if (key->startsWith(prefix))
                return true;
        return false;
    }
};

struct OpenKey {
    QString path;
    Values values;
};

QHash<HKEY, OpenKey> &openKeys() {
    static QHash<HKEY, OpenKey> keys;
    return keys;
}

HKEY nextHandle = 0x1000;

QString hivePath() {
    return platform().shippedFolder() + QStringLiteral("/registry/local-machine.reg");
}

QString normalKeyPath(QString path) {
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (path.startsWith(QLatin1Char('\\')))
        path.remove(0, 1);
    while (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    return path.toLower();
}

// A quoted name or text starting at `at` (on the opening quote); `at` moves past the
// closing quote. Nothing when the quote is not closed.
std::optional<QString> quoted(const QString &line, qsizetype &at) {
    QString text;
    for (++at; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == QLatin1Char('"')) {
            ++at;
            return text;
        }
        if (c == QLatin1Char('\\') && at + 1 < line.size())
            text += line[++at];
        else
            text += c;
    }
    return std::nullopt;
}

std::optional<QByteArray> hexBytes(const QString &list) {
    QByteArray bytes;
    for (const QString &part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const uint byte = part.trimmed().toUInt(&ok, 16);
        if (!ok || byte > 0xFF)
            return std::nullopt;
        bytes.append(char(byte));
    }
    return bytes;
}

// The value a line's data part stands for; nothing for a deletion or a malformed value,
// which the registry editor would not import either.
std::optional<Value> valueOf(const QString &data) {
    if (data.startsWith(QLatin1Char('"'))) {
        qsizetype at = 0;
        const auto text = quoted(data, at);
        if (!text)
            return std::nullopt;
        return Value{RegistryKind::Text, text->toUtf8() + '\0'};
    }
    const QString lower = data.toLower();
    if (lower.startsWith(QLatin1String("dword:"))) {
        bool ok = false;
        const QString digits = data.mid(6).trimmed();
        const quint32 number = digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8)
            return std::nullopt;
        QByteArray bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = char((number >> (8 * i)) & 0xFF);
        return Value{RegistryKind::Number, bytes};
    }
    quint32 kind = RegistryKind::Bytes;
    qsizetype colon = -1;
    if (lower.startsWith(QLatin1String("hex:"))) {
        colon = 3;
    } else if (lower.startsWith(QLatin1String("hex("))) {
        const qsizetype close = lower.indexOf(QLatin1String("):"));
        bool ok = false;
        kind = lower.mid(4, close - 4).toUInt(&ok, 16);
        if (close < 0 || !ok)
            return std::nullopt;
        colon = close + 1;
    } else {
        return std::nullopt;
    }
    const auto bytes = hexBytes(data.mid(colon + 1));
    if (!bytes)
        return std::nullopt;
    return Value{kind, *bytes};
}

// The logical lines of an export. The bytes of a hex value may go on over several lines,
// each but the last ending in a backslash; a text value never does (its line ends in its
// closing quote, even when the text ends in an escaped backslash).
QStringList logicalLines(const QString &text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    QString pending;
    for (const QString &raw : text.split(lineEnd)) {
        const QString joined = pending + (pending.isEmpty() ? raw : raw.trimmed());
        const QString trimmed = joined.trimmed();
        if (trimmed.endsWith(QLatin1Char('\\')) &&
            trimmed.contains(QLatin1String("=hex"), Qt::CaseInsensitive)) {
            pending = trimmed.chopped(1);
            continue;
        }
        lines << joined;
        pending.clear();
    }
    if (!pending.isEmpty())
        lines << pending;
    return lines;
}

// Reads the hive; the status says why it could not be.
long readHive(Hive &hive) {
    // A hive past a few megabytes is none the program needs (its own names one program):
    // reading a million keys would hold it for seconds and keep gigabytes.
    constexpr qint64 maxHiveSize = 4 * 1024 * 1024;
    const RegularFile::Result file = RegularFile::read(hivePath(), maxHiveSize);
    switch (file.outcome) {
    case RegularFile::Outcome::Read:
        break;
    case RegularFile::Outcome::NotFound:
        return RegistryStatus::NotFound;
    case RegularFile::Outcome::TooLarge:
        return RegistryStatus::CorruptHive;
    case RegularFile::Outcome::NotRegular:
    case RegularFile::Outcome::Failed:
        return RegistryStatus::AccessDenied;
    }
    // The registry editor writes version 5 files as UTF-16 with a byte-order mark; others
    // are UTF-8. The decoder drops the mark.
    const QStringDecoder::Encoding encoding =
        QStringConverter::encodingForData(file.data).value_or(QStringDecoder::Utf8);
    const QStringList lines = logicalLines(QStringDecoder(encoding)(file.data));
    qsizetype first = 0;
    while (first < lines.size() && lines[first].trimmed().isEmpty())
        ++first;
    const QString header = first < lines.size() ? lines[first].trimmed() : QString();
    if (header != QLatin1String("REGEDIT4") &&
        header != QLatin1String("Windows Registry Editor Version 5.00"))
        return RegistryStatus::CorruptHive;

    Values *current = nullptr;
    for (qsizetype i = first + 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2);
            current = nullptr;
            if (name.compare(hiveRoot, Qt::CaseInsensitive) == 0)
                current = &hive.keys[QString()];
            else if (name.startsWith(hiveRoot + QLatin1Char('\\'), Qt::CaseInsensitive))
                current = &hive.keys[normalKeyPath(name.mid(hiveRoot.size() + 1))];
            continue;
        }
        if (!current)
            continue;
        QString valueName;
        qsizetype at = 0;
        if (line.startsWith(QLatin1Char('@'))) {
            at = 1;
        } else if (line.startsWith(QLatin1Char('"'))) {
            const auto name = quoted(line, at);
            if (!name)
                continue;
            valueName = *name;
        } else {
            continue;
        }
        while (at < line.size() && line[at].isSpace())
            ++at;
        if (at >= line.size() || line[at] != QLatin1Char('='))
            continue;
        if (const auto value = valueOf(line.mid(at + 1).trimmed()))
            current->insert(valueName.toLower(), *value);
    }
    return RegistryStatus::Success;
}

bool hiveWritable() {
    QFile file(hivePath());
    return file.open(QIODevice::ReadWrite);
}

} // namespace

long RegOpenKeyExA(HKEY root, const QString &subKey, quint32 options, quint32 access,
                   HKEY *result) {
    if (!result || options != 0)
        return RegistryStatus::InvalidHandle;
    *result = 0;
    QString path;
    if (root == RegistryKey::LocalMachine) {
        path = normalKeyPath(subKey);
    } else {
        const auto parent = openKeys().constFind(root);
        if (parent == openKeys().constEnd())
            return RegistryStatus::InvalidHandle;
        path = normalKeyPath(parent->path + QLatin1Char('\\') + subKey);
    }
    Hive hive;
    if (const long status = readHive(hive); status != RegistryStatus::Success)
        return status;
    if (!hive.hasKey(path))
        return RegistryStatus::NotFound;
    if ((access & RegistryAccess::Writing) && !hiveWritable())
        return RegistryStatus::AccessDenied;
    *result = nextHandle++;
    openKeys().insert(*result, OpenKey{path, hive.keys.value(path)});
    return RegistryStatus::Success;
}

long RegQueryValueExA(HKEY key, const QString &valueName, quint32 *kind, unsigned char *data,
                      quint32 *dataSize) {
    const auto open = openKeys().constFind(key);
    if (open == openKeys().constEnd())
        return RegistryStatus::InvalidHandle;
    const auto value = open->values.constFind(valueName.toLower());
    if (value == open->values.constEnd())
        return RegistryStatus::NotFound;
    if (kind)
        *kind = value->kind;
    const auto size = quint32(value->data.size());
    if (!dataSize)
        return data ? RegistryStatus::InvalidHandle : RegistryStatus::Success;
    const quint32 room = *dataSize;
    *dataSize = size;
    if (!data)
        return RegistryStatus::Success;
    if (size > room)
        return RegistryStatus::MoreData;
    std::memcpy(data, value->data.constData(), size);
    return RegistryStatus::Success;
}

long RegCloseKey(HKEY key) {
    return openKeys().remove(key) ? RegistryStatus::Success : RegistryStatus::InvalidHandle;
}
