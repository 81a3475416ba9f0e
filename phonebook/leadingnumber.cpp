#include "phonebook/leadingnumber.h"

#include <charconv>
#include <limits>
#include <string>
#include <string_view>

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

double radixNumber(const std::string &digits, size_t at, int radix) {
    double value = 0;
    for (; at < digits.size(); ++at) {
        const char c = digits[at];
        int digit = -1;
        if (isDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    return value;
}
} // namespace

double leadingNumber(const QString &text) {
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue;
        // Only ASCII can belong to a number; anything else ends it where it stands.
        s += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x7f';
    }
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h')
            return radixNumber(s, 2, 16);
        if (s[1] == 'O' || s[1] == 'o')
            return radixNumber(s, 2, 8);
        return 0;
    }
    // The longest start of the text that is a number: sign, digits, point, exponent.
    size_t end = 0;
    if (end < s.size() && (s[end] == '+' || s[end] == '-'))
        ++end;
    const size_t mantissa = end;
    while (end < s.size() && isDigit(s[end]))
        ++end;
    if (end < s.size() && s[end] == '.')
        ++end;
    while (end < s.size() && isDigit(s[end]))
        ++end;
    const bool anyDigit = s.find_first_of("0123456789", mantissa) < end;
    if (!anyDigit)
        return 0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E' || s[end] == 'd' || s[end] == 'D')) {
        size_t exponent = end + 1;
        if (exponent < s.size() && (s[exponent] == '+' || s[exponent] == '-'))
            ++exponent;
        if (exponent < s.size() && isDigit(s[exponent])) {
            s[end] = 'e';
            end = exponent;
            while (end < s.size() && isDigit(s[end]))
                ++end;
        }
    }
    size_t start = 0;
    if (s[0] == '+')
        start = 1;
    double value = 0;
    const auto [stop, error] = std::from_chars(s.data() + start, s.data() + end, value);
    if (error == std::errc::result_out_of_range) {
        // Too large is infinite, too small is zero, as the number's size says.
        const std::string_view number(s.data() + start, static_cast<size_t>(end - start));
        const bool tiny = number.find("e-") != std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        if (s[0] == '-')
            value = -value;
    }
    return value;
}
