#include "rtf/codec/codepages.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <map>

namespace {

struct KnownPage {
    int number;
    const char *codecName;
    bool doubleByte;
};

// The names are those Qt's ICU-backed decoder knows.
constexpr KnownPage knownPages[] = {
    {437, "IBM437", false},        {850, "IBM850", false},        {874, "windows-874", false},
    {932, "windows-31j", true},    {936, "windows-936", true},    {949, "windows-949", true},
    {950, "windows-950", true},    {1250, "windows-1250", false}, {1251, "windows-1251", false},
    {1252, "windows-1252", false}, {1253, "windows-1253", false}, {1254, "windows-1254", false},
    {1255, "windows-1255", false}, {1256, "windows-1256", false}, {1257, "windows-1257", false},
    {1258, "windows-1258", false}, {10000, "macintosh", false},   {10007, "x-mac-cyrillic", false},
    {866, "IBM866", false},
};

constexpr char16_t replacement = 0xFFFD;

// Windows-1252 without a decoder, so that the page every RTF file defaults to never
// depends on the converters at hand. 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined
// there; like Windows we let them through as the C1 controls of the same number.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isLead(int page, unsigned char byte) {
    switch (page) {
    case 932: // Shift_JIS as Windows has it
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936: // GBK
    case 949: // Unified Hangul Code
    case 950: // Big5
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

} // namespace

CodePage::CodePage(int number, const char *codecName, bool doubleByte)
    : number_(number), doubleByte_(doubleByte), codecName_(codecName) {
    for (int b = 0; b < 256; ++b)
        leadBytes_[b] = isLead(number, static_cast<unsigned char>(b));
    if (number == 1252) {
        for (int b = 0x80; b < 0xA0; ++b)
            high_[b - 0x80] = cp1252High[b - 0x80];
        for (int b = 0xA0; b < 0x100; ++b)
            high_[b - 0x80] = char16_t(b);
        return;
    }
    QStringDecoder decoder(codecName);
    for (int b = 0x80; b < 0x100; ++b) {
        if (leadBytes_[b] || !decoder.isValid()) {
            high_[b - 0x80] = replacement;
            continue;
        }
        const char byte = static_cast<char>(b);
        const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
        decoder.resetState();
        high_[b - 0x80] = decoded.size() == 1 ? decoded.at(0).unicode() : replacement;
    }
}

const CodePage &CodePage::forNumber(int number) {
    // Built on first use and kept for the run: a page costs a table of 128 characters, a
    // double-byte page 64 K more once it decodes its first pair.
    static std::map<int, std::unique_ptr<CodePage>> built;
    static std::mutex buildMutex;

    const KnownPage *known = nullptr;
    for (const KnownPage &page : knownPages) {
        if (page.number == number)
            known = &page;
    }
    if (!known)
        return forNumber(1252);
    std::lock_guard lock(buildMutex);
    std::unique_ptr<CodePage> &page = built[known->number];
    if (!page)
        page.reset(new CodePage(known->number, known->codecName, known->doubleByte));
    return *page;
}

int CodePage::numberForCharset(int charset) {
    switch (charset) {
    case 0: // ANSI
        return 1252;
    case 2: // Symbol: its fonts place their own glyphs on the 1252 byte values
        return 1252;
    case 77: // Mac Roman
        return 10000;
    case 128: // Shift JIS
        return 932;
    case 129: // Hangul
        return 949;
    case 134: // GB 2312
        return 936;
    case 136: // Big5
        return 950;
    case 161: // Greek
        return 1253;
    case 162: // Turkish
        return 1254;
    case 163: // Vietnamese
        return 1258;
    case 177: // Hebrew
        return 1255;
    case 178: // Arabic
        return 1256;
    case 186: // Baltic
        return 1257;
    case 204: // Cyrillic
        return 1251;
    case 222: // Thai
        return 874;
    case 238: // Eastern European
        return 1250;
    case 254: // PC 437
        return 437;
    case 255: // OEM
        return 850;
    default: // 1, the default character set, and anything unknown
        return 0;
    }
}

void CodePage::fillPairs() const {
    pairs_ = std::make_unique<char16_t[]>(65536);
    for (int i = 0; i < 65536; ++i)
        pairs_[i] = replacement;
    QStringDecoder decoder(codecName_);
    if (!decoder.isValid())
        return;
    // One call for every pair of the page: each pair followed by a line feed, which no
    // double-byte page uses as a trail byte, so that the decoded text splits back into
    // one piece per pair even where a pair is invalid.
    QByteArray all;
    all.reserve(128 * 192 * 3);
    for (int lead = 0x81; lead < 0x100; ++lead) {
        if (!leadBytes_[lead])
            continue;
        for (int trail = 0x40; trail < 0xFF; ++trail) {
            all.append(static_cast<char>(lead));
            all.append(static_cast<char>(trail));
            all.append('\n');
        }
    }
    const QString decoded = decoder.decode(all);
    qsizetype at = 0;
    for (int lead = 0x81; lead < 0x100; ++lead) {
        if (!leadBytes_[lead])
            continue;
        for (int trail = 0x40; trail < 0xFF; ++trail) {
            const qsizetype end = decoded.indexOf(QLatin1Char('\n'), at);
            if (end < 0)
                return;
            if (end - at == 1 && !decoded.at(at).isSurrogate())
                pairs_[(lead << 8) | trail] = decoded.at(at).unicode();
            at = end + 1;
        }
    }
}

char16_t CodePage::pair(unsigned char lead, unsigned char trail) const {
    if (!isLeadByte(lead))
        return replacement;
    std::call_once(pairsFilled_, [this] { fillPairs(); });
    return pairs_[(lead << 8) | trail];
}

int CodePage::encode1252(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return character;
    for (int b = 0; b < 32; ++b) {
        if (cp1252High[b] == character)
            return 0x80 + b;
    }
    return -1;
}
