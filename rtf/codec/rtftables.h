#pragma once

#include "rtf/codec/codepages.h"

#include <QColor>
#include <QString>
#include <string_view>
#include <unordered_map>
#include <vector>

// The font table as a file defines it, read entry by entry: each font number's family,
// code page and whether it is a symbol font.
class RtfFontTable {
public:
    struct Font {
        QString family;
        int codePage = 0; // 0: the document's
        bool symbol = false;
    };

    // A new table: what was defined before is kept until entries replace it.
    void begin() { entryOpen_ = false; }
    // \fN: the entry of font number N begins (ending one left open).
    void beginEntry(int number);
    // \fcharsetN and \cpgN of the entry being read.
    void setCharset(int charset);
    void setCodePage(int codePage);
    // The family name's text, in the entry's code page or the document's; a ; ends the
    // entry.
    void text(std::string_view bytes, const CodePage &documentPage);
    void byte(unsigned char value, const CodePage &documentPage);
    void character(char16_t character);
    // A group ended: a half of a double-byte character left over is dropped.
    void dropPendingByte() { pendingLead_ = 0; }
    // Ends the entry being read, if one is open.
    void finishEntry();

    const Font *find(int number) const;

private:
    std::unordered_map<int, Font> fonts_;
    int entryNumber_ = -1;
    Font entry_;
    QString entryName_;
    bool entryOpen_ = false;
    unsigned char pendingLead_ = 0;
};

// The colour table: colours by index, and an index without a colour given (the
// automatic colour) as an invalid QColor.
class RtfColorTable {
public:
    void begin();
    // \redN, \greenN, \blueN of the colour being read.
    void setRed(int value) { set(red_, value); }
    void setGreen(int value) { set(green_, value); }
    void setBlue(int value) { set(blue_, value); }
    // Each ; ends a colour.
    void text(std::string_view bytes);

    // The colour at `index` as 0xRRGGBB; -1 for none.
    int rgbAt(int index) const;

private:
    void set(int &component, int value);

    std::vector<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool given_ = false;
};
