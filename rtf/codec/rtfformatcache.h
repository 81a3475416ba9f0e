#pragma once

#include "rtf/codec/rtftables.h"

#include <QHash>
#include <QString>
#include <QTextCharFormat>
#include <cstdint>
#include <unordered_map>
#include <vector>

// The character properties a group of a file sets, before the tables are looked up.
struct RtfCharProps {
    int font = -1; // font number, -1 for none
    int size = 0;  // hundredths of a point; 0 when the file gives no size
    int foreground = -1;
    int background = -1;
    std::uint8_t underline = 0; // QTextCharFormat::UnderlineStyle
    std::uint8_t verticalAlign = 0;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    bool caps = false;
    bool smallCaps = false;
    bool operator==(const RtfCharProps &) const = default;
};

// The character formats of one reading, each made once and known by its number: by
// the properties of a group while the tables stay as they are, and by those properties
// with the family and colours the tables give. A file of more distinct formats or
// families than any document needs gets no more of them.
class RtfFormatCache {
public:
    int idFor(const RtfCharProps &props, const RtfFontTable &fonts, int defaultFont,
              const RtfColorTable &colors);
    const QTextCharFormat &format(int id) const { return formats_[std::size_t(id)]; }
    // The tables changed: formats made so far keep their numbers, which the builder may
    // still hold; new ones are made from the new tables.
    void tablesChanged() { formatIds_.clear(); }

private:
    struct Hash {
        std::size_t operator()(const RtfCharProps &p) const;
    };
    int internFamily(const QString &family);

    std::unordered_map<RtfCharProps, int, Hash> formatIds_;
    std::unordered_map<RtfCharProps, int, Hash> resolvedIds_;
    std::vector<QTextCharFormat> formats_;
    QHash<QString, int> familyIds_;
    std::vector<QString> families_;
};
