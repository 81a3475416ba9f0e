#pragma once

#include <cstddef>
#include <string_view>

// One piece of RTF as the tokenizer cuts it.
struct RtfToken {
    enum Type : unsigned char {
        End,           // no more data
        GroupStart,    // {
        GroupEnd,      // }
        ControlWord,   // \letters with an optional parameter
        ControlSymbol, // \ and one other character, in `symbol`
        HexByte,       // \'hh, the byte in `parameter`
        Text,          // bytes with no meaning to RTF, in `text`
        Binary,        // the data of \binN, in `text`
    };

    Type type = End;
    bool hasParameter = false;
    char symbol = 0;
    int parameter = 0;
    std::string_view text; // the word's name, the text run or the binary data
};

// Cuts RTF bytes into tokens. Line ends in the data carry no meaning and are dropped, as
// is the space that ends a control word. Parameters beyond the range of int are clamped,
// and \binN hands back at most the bytes that remain. Every call to next() moves forward,
// so a loop over the tokens of any input ends.
class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view data) : data_(data) {}

    RtfToken next();

    // Skips the rest of the group just opened, up to and including its closing brace,
    // without looking at what is inside beyond braces, escapes and \bin data. Returns false
    // when the data ends first.
    bool skipGroup();

    std::size_t position() const { return pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }

private:
    RtfToken controlWord();
    void skipBinary(RtfToken &token);

    std::string_view data_;
    std::size_t pos_ = 0;
};

// The value of a hexadecimal digit (\'hh escapes, picture data); -1 for any other character.
int hexDigitValue(char c);
