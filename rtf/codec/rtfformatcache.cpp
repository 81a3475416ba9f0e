#include "rtf/codec/rtfformatcache.h"

#include <QColor>
#include <QStringList>

namespace {
// The document keeps one copy of each distinct format and finds it by a hash that sees a
// family list or a brush only by its type, so that formats which differ in nothing else
// all land in one bucket and every new one is compared with all of them: 20,000 fonts
// took five seconds. This property names what the hash misses in a string, which it
// hashes whole: the family and the colours.
constexpr int formatKeyProperty = QTextFormat::UserProperty + 0x4b59;

// Distinct character formats and font families one reading makes at most.
constexpr std::size_t maxFormats = 10000;
constexpr std::size_t maxFamilies = 1000;
} // namespace

std::size_t RtfFormatCache::Hash::operator()(const RtfCharProps &p) const {
    std::size_t h = std::hash<int>()(p.font);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(p.size));
    mix(static_cast<std::size_t>(p.foreground) * 31 + static_cast<std::size_t>(p.background));
    mix(static_cast<std::size_t>(p.underline) | (std::size_t(p.verticalAlign) << 8) |
        (std::size_t(p.bold) << 16) | (std::size_t(p.italic) << 17) |
        (std::size_t(p.strike) << 18) | (std::size_t(p.hidden) << 19) |
        (std::size_t(p.caps) << 20) | (std::size_t(p.smallCaps) << 21));
    return h;
}

int RtfFormatCache::idFor(const RtfCharProps &props, const RtfFontTable &fonts, int defaultFont,
                          const RtfColorTable &colors) {
    const auto found = formatIds_.find(props);
    if (found != formatIds_.end())
        return found->second;
    // Only a shortcut: a file that uses a hundred thousand font numbers does not keep
    // them all.
    if (formatIds_.size() >= 4 * maxFormats)
        formatIds_.clear();

    // The properties with the font and the colours looked up in the tables: what the
    // format is made of. Formats are made once per distinct result, whatever the tables
    // said when, so a font table redefined before every character makes no more formats
    // than it names families.
    RtfCharProps resolved = props;
    resolved.font = resolved.foreground = resolved.background = -1;
    if (formats_.size() < maxFormats) {
        const RtfFontTable::Font *font = fonts.find(props.font >= 0 ? props.font : defaultFont);
        if (font && !font->family.isEmpty())
            resolved.font = internFamily(font->family);
        resolved.foreground = colors.rgbAt(props.foreground);
        resolved.background = colors.rgbAt(props.background);
    } else {
        // A file of more distinct formats than any document needs keeps its bold,
        // italic and the like, in the document's font, size and colours.
        resolved.size = 0;
    }
    const auto made = resolvedIds_.find(resolved);
    if (made != resolvedIds_.end()) {
        formatIds_.emplace(props, made->second);
        return made->second;
    }

    QTextCharFormat format;
    if (resolved.font >= 0)
        format.setFontFamilies(QStringList{families_[std::size_t(resolved.font)]});
    if (resolved.size > 0)
        format.setFontPointSize(resolved.size / 100.0);
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    if (props.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(static_cast<QTextCharFormat::UnderlineStyle>(props.underline));
    if (props.strike)
        format.setFontStrikeOut(true);
    if (props.verticalAlign != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(
            static_cast<QTextCharFormat::VerticalAlignment>(props.verticalAlign));
    if (props.caps)
        format.setFontCapitalization(QFont::AllUppercase);
    else if (props.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    if (resolved.foreground >= 0)
        format.setForeground(QColor::fromRgb(QRgb(resolved.foreground)));
    if (resolved.background >= 0)
        format.setBackground(QColor::fromRgb(QRgb(resolved.background)));
    if (resolved.font >= 0 || resolved.foreground >= 0 || resolved.background >= 0)
        format.setProperty(
            formatKeyProperty,
            QStringLiteral("%1/%2/%3")
                .arg(resolved.font >= 0 ? families_[std::size_t(resolved.font)] : QString())
                .arg(resolved.foreground)
                .arg(resolved.background));

    const int id = static_cast<int>(formats_.size());
    formats_.push_back(format);
    resolvedIds_.emplace(resolved, id);
    formatIds_.emplace(props, id);
    return id;
}

int RtfFormatCache::internFamily(const QString &family) {
    const auto found = familyIds_.constFind(family);
    if (found != familyIds_.constEnd())
        return *found;
    // The editor asks the system's font matching for each family it shows, a third of a
    // millisecond each: families past this many are shown in the document's font.
    if (families_.size() >= maxFamilies)
        return -1;
    const int id = static_cast<int>(families_.size());
    families_.push_back(family);
    familyIds_.insert(family, id);
    return id;
}
