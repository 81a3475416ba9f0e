#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

// The legacy code pages that RTF files name with \ansicpgN, \fcharsetN and \cpgN, turned
// into Unicode. Single-byte pages decode through a table of 128 characters for the bytes
// from 0x80 up; the double-byte pages of East Asia (932, 936, 949, 950) know their lead
// bytes and decode a lead and a trail byte together.
class CodePage {
public:
    // The code page with this Windows number; an unknown number gives Windows-1252, the
    // page of every RTF file that says nothing else.
    static const CodePage &forNumber(int number);

    // The Windows code page that a font's \fcharsetN stands for, or 0 for "the document's
    // own code page" (the default character set 1, and numbers we do not know).
    static int numberForCharset(int charset);

    int number() const { return number_; }
    bool isLeadByte(unsigned char byte) const { return doubleByte_ && leadBytes_[byte]; }

    // The character of a single byte (for a double-byte page: of a byte that is not a lead
    // byte). Bytes below 0x80 are ASCII on every page we know.
    char16_t character(unsigned char byte) const {
        return byte < 0x80 ? char16_t(byte) : high_[byte - 0x80];
    }

    // The character of a lead byte followed by a trail byte; U+FFFD when the pair means
    // nothing on this page. (The four double-byte pages have no characters beyond the
    // Basic Multilingual Plane.)
    char16_t pair(unsigned char lead, unsigned char trail) const;

    // Windows-1252, the page our writer declares: the byte that stands for a character, or
    // -1 when the page has none and the character must be written as \uN.
    static int encode1252(char16_t character);

private:
    CodePage(int number, const char *codecName, bool doubleByte);

    int number_;
    bool doubleByte_;
    const char *codecName_;
    std::array<char16_t, 128> high_{};
    std::array<bool, 256> leadBytes_{};
    // Double-byte pages: the character of each lead and trail byte pair, filled in one go
    // the first time the page decodes a pair.
    void fillPairs() const;
    mutable std::unique_ptr<char16_t[]> pairs_;
    mutable std::once_flag pairsFilled_;
};
