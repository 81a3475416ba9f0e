#include "rtf/codec/rtftables.h"

#include <algorithm>
#include <utility>

namespace {
// Fonts and colours a table may define.
constexpr std::size_t maxTableEntries = 10000;
} // namespace

void RtfFontTable::beginEntry(int number) {
    if (entryOpen_)
        finishEntry();
    entryOpen_ = true;
    entryNumber_ = number;
    entry_ = Font{};
    entryName_.clear();
}

void RtfFontTable::setCharset(int charset) {
    entry_.codePage = CodePage::numberForCharset(charset);
    entry_.symbol = charset == 2;
}

void RtfFontTable::setCodePage(int codePage) {
    entry_.codePage = codePage;
}

void RtfFontTable::text(std::string_view bytes, const CodePage &documentPage) {
    for (const char c : bytes) {
        if (c == ';') {
            finishEntry();
            continue;
        }
        byte(static_cast<unsigned char>(c), documentPage);
    }
}

void RtfFontTable::byte(unsigned char value, const CodePage &documentPage) {
    if (!entryOpen_) {
        if (value == ';')
            return;
        // A table that gives names without \f: number them in order.
        beginEntry(static_cast<int>(fonts_.size()));
    }
    if (entryName_.size() > 256)
        return;
    const CodePage &page =
        entry_.codePage > 0 ? CodePage::forNumber(entry_.codePage) : documentPage;
    if (value < 0x20)
        return;
    if (value < 0x80) {
        entryName_.append(QLatin1Char(static_cast<char>(value)));
        return;
    }
    if (pendingLead_) {
        entryName_.append(QChar(page.pair(std::exchange(pendingLead_, 0), value)));
        return;
    }
    if (page.isLeadByte(value)) {
        pendingLead_ = value;
        return;
    }
    entryName_.append(QChar(page.character(value)));
}

void RtfFontTable::character(char16_t character) {
    if (character >= 0x20)
        entryName_.append(QChar(character));
}

void RtfFontTable::finishEntry() {
    pendingLead_ = 0;
    if (entryOpen_ && entryNumber_ >= 0 && fonts_.size() < maxTableEntries) {
        entry_.family = entryName_.trimmed();
        fonts_[entryNumber_] = entry_;
    }
    entryOpen_ = false;
    entryNumber_ = -1;
    entry_ = Font{};
    entryName_.clear();
}

const RtfFontTable::Font *RtfFontTable::find(int number) const {
    const auto found = fonts_.find(number);
    return found == fonts_.end() ? nullptr : &found->second;
}

void RtfColorTable::begin() {
    colors_.clear();
    red_ = green_ = blue_ = 0;
    given_ = false;
}

void RtfColorTable::set(int &component, int value) {
    component = std::clamp(value, 0, 255);
    given_ = true;
}

void RtfColorTable::text(std::string_view bytes) {
    for (const char c : bytes) {
        if (c != ';')
            continue;
        if (colors_.size() < maxTableEntries)
            colors_.push_back(given_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        given_ = false;
    }
}

int RtfColorTable::rgbAt(int index) const {
    if (index < 0 || std::size_t(index) >= colors_.size())
        return -1;
    const QColor &color = colors_[std::size_t(index)];
    return color.isValid() ? static_cast<int>(color.rgb() & 0xFFFFFF) : -1;
}
