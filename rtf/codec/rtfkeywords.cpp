#include "rtf/codec/rtfkeywords.h"

#include <QTextCharFormat>
#include <algorithm>
#include <array>

namespace {

using A = RtfAction;
using U = QTextCharFormat::UnderlineStyle;

constexpr int ul(U style) {
    return static_cast<int>(style);
}
constexpr int va(QTextCharFormat::VerticalAlignment align) {
    return static_cast<int>(align);
}

// Sorted by name (byte order), which the look-up relies on and a check below enforces.
constexpr RtfKeyword keywords[] = {
    {"\n", A::Paragraph}, // a backslash before a line end
    {"*", A::Star},
    {"-", A::Character, 0x00AD}, // optional hyphen
    {"\\", A::Character, '\\'},
    {"_", A::Character, 0x2011}, // non-breaking hyphen
    {"aftncn", A::SkipGroup},
    {"aftnsep", A::SkipGroup},
    {"aftnsepc", A::SkipGroup},
    {"annotation", A::SkipGroup},
    {"ansi", A::DocumentCodePage, 1252},
    {"ansicpg", A::AnsiCodePage},
    {"atnauthor", A::SkipGroup},
    {"atnid", A::SkipGroup},
    {"author", A::SkipGroup},
    {"b", A::Toggle, ToggleBold},
    {"background", A::SkipGroup},
    {"blue", A::Blue},
    {"bullet", A::Character, 0x2022},
    {"buptim", A::SkipGroup},
    {"caps", A::Toggle, ToggleCaps},
    {"cb", A::Background},
    {"cell", A::Cell},
    {"cf", A::Foreground},
    {"chcbpat", A::Background},
    {"colortbl", A::ColorTable},
    {"comment", A::SkipGroup},
    {"company", A::SkipGroup},
    {"cpg", A::FontCodePage},
    {"creatim", A::SkipGroup},
    {"deff", A::DefaultFont},
    {"do", A::SkipGroup},
    {"doccomm", A::SkipGroup},
    {"docvar", A::SkipGroup},
    {"emdash", A::Character, 0x2014},
    {"emspace", A::Character, 0x2003},
    {"endash", A::Character, 0x2013},
    {"enspace", A::Character, 0x2002},
    {"f", A::Font},
    {"fcharset", A::FontCharset},
    {"fi", A::Indent, IndentFirst},
    {"field", A::Container},
    {"filetbl", A::SkipGroup},
    {"fldinst", A::SkipGroup},
    {"fldrslt", A::Container},
    {"fonttbl", A::FontTable},
    {"footer", A::SkipGroup},
    {"footerf", A::SkipGroup},
    {"footerl", A::SkipGroup},
    {"footerr", A::SkipGroup},
    {"footnote", A::SkipGroup},
    {"fs", A::FontSize, 50},
    {"ftncn", A::SkipGroup},
    {"ftnsep", A::SkipGroup},
    {"ftnsepc", A::SkipGroup},
    {"green", A::Green},
    {"header", A::SkipGroup},
    {"headerf", A::SkipGroup},
    {"headerl", A::SkipGroup},
    {"headerr", A::SkipGroup},
    {"highlight", A::Background},
    {"i", A::Toggle, ToggleItalic},
    {"info", A::SkipGroup},
    {"jpegblip", A::PictureType, PictureJpeg},
    {"keywords", A::SkipGroup},
    {"ldblquote", A::Character, 0x201C},
    {"li", A::Indent, IndentLeft},
    {"line", A::Character, 0x2028},
    {"listoverridetable", A::SkipGroup},
    {"listtable", A::SkipGroup},
    {"listtext", A::Container},
    {"lquote", A::Character, 0x2018},
    {"ltrmark", A::Character, 0x200E},
    {"mac", A::DocumentCodePage, 10000},
    {"manager", A::SkipGroup},
    {"nestcell", A::Cell},
    {"nestrow", A::Row},
    {"nonshppict", A::SkipGroup},
    {"nosupersub", A::VerticalAlign, va(QTextCharFormat::AlignNormal)},
    {"object", A::Container},
    {"operator", A::SkipGroup},
    // Ours: a font size in hundredths of a point, after the nearest \fs, for the sizes
    // half points cannot give (the editor's 15.75 points). Other readers ignore it.
    {"orvanelpt", A::FontSize, 1},
    {"page", A::Page},
    {"pagebb", A::PageBreakBefore},
    {"par", A::Paragraph},
    {"pard", A::ParagraphDefault},
    {"pc", A::DocumentCodePage, 437},
    {"pca", A::DocumentCodePage, 850},
    {"pgdsctbl", A::SkipGroup},
    {"pich", A::PictureHeight},
    {"pichgoal", A::PictureGoalHeight},
    {"picscalex", A::PictureScaleX},
    {"picscaley", A::PictureScaleY},
    {"pict", A::Picture},
    {"picw", A::PictureWidth},
    {"picwgoal", A::PictureGoalWidth},
    {"plain", A::Plain},
    {"pngblip", A::PictureType, PicturePng},
    {"pntext", A::Container},
    {"printim", A::SkipGroup},
    {"private", A::SkipGroup},
    {"qc", A::Align, RtfAlignCenter},
    {"qj", A::Align, RtfAlignJustify},
    {"ql", A::Align, RtfAlignLeft},
    {"qmspace", A::Character, 0x2005},
    {"qr", A::Align, RtfAlignRight},
    {"rdblquote", A::Character, 0x201D},
    {"red", A::Red},
    {"result", A::Container},
    {"revtbl", A::SkipGroup},
    {"revtim", A::SkipGroup},
    {"ri", A::Indent, IndentRight},
    {"row", A::Row},
    {"rquote", A::Character, 0x2019},
    {"rsidtbl", A::SkipGroup},
    {"rtlmark", A::Character, 0x200F},
    {"sa", A::Indent, SpaceAfter},
    {"sb", A::Indent, SpaceBefore},
    {"scaps", A::Toggle, ToggleSmallCaps},
    {"sect", A::Section},
    {"shppict", A::Container},
    {"shprslt", A::Container},
    {"strike", A::Toggle, ToggleStrike},
    {"striked", A::Toggle, ToggleStrike},
    {"stylesheet", A::SkipGroup},
    {"sub", A::VerticalAlign, va(QTextCharFormat::AlignSubScript)},
    {"subject", A::SkipGroup},
    {"super", A::VerticalAlign, va(QTextCharFormat::AlignSuperScript)},
    {"tab", A::Character, '\t'},
    {"tc", A::SkipGroup},
    {"template", A::SkipGroup},
    {"title", A::SkipGroup},
    {"txe", A::SkipGroup},
    {"u", A::Unicode},
    {"uc", A::UnicodeSkip},
    {"ud", A::UnicodeDest},
    {"ul", A::Underline, ul(U::SingleUnderline)},
    {"uld", A::Underline, ul(U::DotLine)},
    {"uldash", A::Underline, ul(U::DashUnderline)},
    {"uldashd", A::Underline, ul(U::DashDotLine)},
    {"uldashdd", A::Underline, ul(U::DashDotDotLine)},
    {"uldb", A::Underline, ul(U::SingleUnderline)},
    {"ulhwave", A::Underline, ul(U::WaveUnderline)},
    {"ulldash", A::Underline, ul(U::DashUnderline)},
    {"ulnone", A::Underline, ul(U::NoUnderline)},
    {"ulth", A::Underline, ul(U::SingleUnderline)},
    {"ulthd", A::Underline, ul(U::DotLine)},
    {"ulthdash", A::Underline, ul(U::DashUnderline)},
    {"ulthdashd", A::Underline, ul(U::DashDotLine)},
    {"ulthdashdd", A::Underline, ul(U::DashDotDotLine)},
    {"ulthldash", A::Underline, ul(U::DashUnderline)},
    {"ululdbwave", A::Underline, ul(U::WaveUnderline)},
    {"ulw", A::Underline, ul(U::SingleUnderline)},
    {"ulwave", A::Underline, ul(U::WaveUnderline)},
    {"upr", A::UnicodeAlt},
    {"userprops", A::SkipGroup},
    {"v", A::Toggle, ToggleHidden},
    {"xe", A::SkipGroup},
    {"xmlnstbl", A::SkipGroup},
    {"zwj", A::Character, 0x200D},
    {"zwnj", A::Character, 0x200C},
    {"{", A::Character, '{'},
    {"}", A::Character, '}'},
    {"~", A::Character, 0x00A0}, // non-breaking space
};

constexpr bool byName(const RtfKeyword &a, const RtfKeyword &b) {
    return a.name < b.name;
}
static_assert(std::is_sorted(std::begin(keywords), std::end(keywords), byName),
              "the control word table must stay sorted by name");

} // namespace

const RtfKeyword *findRtfKeyword(std::string_view name) {
    const RtfKeyword probe{name, RtfAction::SkipGroup};
    const RtfKeyword *found =
        std::lower_bound(std::begin(keywords), std::end(keywords), probe, byName);
    if (found == std::end(keywords) || found->name != name)
        return nullptr;
    return found;
}
