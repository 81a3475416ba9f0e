#include "rtf/codec/rtftokenizer.h"

#include <algorithm>
#include <climits>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The bytes that end a run of text.
struct Stops {
    bool table[256] = {};
    constexpr Stops() {
        table[static_cast<unsigned char>('\\')] = true;
        table[static_cast<unsigned char>('{')] = true;
        table[static_cast<unsigned char>('}')] = true;
        table[static_cast<unsigned char>('\r')] = true;
        table[static_cast<unsigned char>('\n')] = true;
    }
};
constexpr Stops stops;

bool isStop(char c) {
    return stops.table[static_cast<unsigned char>(c)];
}

} // namespace

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfToken RtfTokenizer::next() {
    RtfToken token;
    while (pos_ < data_.size() && (data_[pos_] == '\r' || data_[pos_] == '\n'))
        ++pos_;
    if (pos_ >= data_.size())
        return token;

    const char c = data_[pos_];
    if (c == '{') {
        ++pos_;
        token.type = RtfToken::GroupStart;
        return token;
    }
    if (c == '}') {
        ++pos_;
        token.type = RtfToken::GroupEnd;
        return token;
    }
    if (c != '\\') {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && !isStop(data_[pos_]))
            ++pos_;
        token.type = RtfToken::Text;
        token.text = data_.substr(start, pos_ - start);
        return token;
    }

    ++pos_; // the backslash
    if (pos_ >= data_.size())
        return token; // a lone backslash at the very end means nothing
    const char after = data_[pos_];
    if (isLetter(after))
        return controlWord();

    ++pos_;
    if (after == '\'') {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < data_.size()) {
            const int v = hexDigitValue(data_[pos_]);
            if (v < 0)
                break;
            value = value * 16 + v;
            ++digits;
            ++pos_;
        }
        if (digits == 0) {
            token.type = RtfToken::ControlSymbol;
            token.symbol = '\'';
            return token;
        }
        token.type = RtfToken::HexByte;
        token.parameter = value;
        return token;
    }
    token.type = RtfToken::ControlSymbol;
    // A backslash before a line end is a paragraph mark.
    token.symbol = after == '\r' ? '\n' : after;
    return token;
}

RtfToken RtfTokenizer::controlWord() {
    RtfToken token;
    token.type = RtfToken::ControlWord;
    const std::size_t start = pos_;
    while (pos_ < data_.size() && isLetter(data_[pos_]))
        ++pos_;
    token.text = data_.substr(start, pos_ - start);

    bool negative = false;
    if (pos_ + 1 < data_.size() && data_[pos_] == '-' && isDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < data_.size() && isDigit(data_[pos_])) {
        long long value = 0;
        while (pos_ < data_.size() && isDigit(data_[pos_])) {
            if (value <= INT_MAX)
                value = value * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        if (negative)
            value = -value;
        token.hasParameter = true;
        token.parameter = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    }
    if (pos_ < data_.size() && data_[pos_] == ' ')
        ++pos_;

    if (token.text == "bin")
        skipBinary(token);
    return token;
}

void RtfTokenizer::skipBinary(RtfToken &token) {
    const std::size_t length =
        token.hasParameter && token.parameter > 0 ? static_cast<std::size_t>(token.parameter) : 0;
    const std::size_t taken = std::min(length, data_.size() - pos_);
    token.type = RtfToken::Binary;
    token.text = data_.substr(pos_, taken);
    pos_ += taken;
}

bool RtfTokenizer::skipGroup() {
    int depth = 1;
    while (pos_ < data_.size()) {
        const char c = data_[pos_++];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return true;
        } else if (c == '\\' && pos_ < data_.size()) {
            if (isLetter(data_[pos_])) {
                // Only \bin matters here: its data may hold braces of its own.
                controlWord();
            } else {
                ++pos_;
            }
        }
    }
    return false;
}
