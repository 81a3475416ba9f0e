#include "rtf/codec/rtfparser.h"

#include "rtf/codec/twips.h"

#include <QImage>
#include <algorithm>
#include <utility>

namespace {

// Group states kept on the stack; deeper groups (no word processor nests so deep) save
// a state only when they change it, up to `maxOverflowStates` of them.
constexpr std::size_t maxDepth = 400;
constexpr std::size_t maxOverflowStates = 10000;

// The longest fallback for a \u character that a writer may announce with \uc.
constexpr int maxUnicodeSkip = 65535;

// Indents and spacing beyond this many twips (about 70 inches) are damage, not layout.
constexpr int maxTwips = 100000;

// Font sizes, in hundredths of a point, that Qt can lay out.
constexpr int maxSize = 163800;

constexpr char16_t replacement = 0xFFFD;

bool isDestination(RtfAction action) {
    switch (action) {
    case RtfAction::SkipGroup:
    case RtfAction::Container:
    case RtfAction::FontTable:
    case RtfAction::ColorTable:
    case RtfAction::Picture:
    case RtfAction::UnicodeAlt:
    case RtfAction::UnicodeDest:
        return true;
    default:
        return false;
    }
}

// Bytes of a text run that go into the document as they are.
bool isPlainAscii(unsigned char c) {
    return (c >= 0x20 && c < 0x7F) || c == '\t';
}

} // namespace

RtfParser::RtfParser(std::string_view data, RtfDocumentBuilder &builder)
    : tokenizer_(data), builder_(builder), documentPage_(&CodePage::forNumber(1252)),
      twipsPerPixel_(TwipsPerPixel::ofScreen()) {
    stack_.reserve(64);
    stack_.emplace_back();
    stack_.back().page = documentPage_;
}

void RtfParser::run() {
    while (!done_) {
        const RtfToken token = tokenizer_.next();
        switch (token.type) {
        case RtfToken::End:
            done_ = true;
            break;
        case RtfToken::GroupStart:
            unicodeSkip_ = 0;
            pushGroup();
            break;
        case RtfToken::GroupEnd:
            unicodeSkip_ = 0;
            popGroup();
            break;
        case RtfToken::ControlWord:
            dispatch(token.text, token.hasParameter, token.parameter);
            break;
        case RtfToken::ControlSymbol:
            dispatch(std::string_view(&token.symbol, 1), false, 0);
            break;
        case RtfToken::HexByte:
            afterToken();
            byte(static_cast<unsigned char>(token.parameter));
            break;
        case RtfToken::Text:
            afterToken();
            text(token.text);
            break;
        case RtfToken::Binary:
            afterToken();
            if (unicodeSkip_ > 0) {
                --unicodeSkip_;
            } else if (top().dest == Destination::Picture && picture_.type != PictureOther) {
                picture_.data.append(token.text.data(), static_cast<qsizetype>(token.text.size()));
            }
            break;
        }
    }
    // A file cut short: what was read stays, a picture half read does not.
    flushSurrogate();
    if (stack_.size() > 1)
        lastPara_ = top().para;
    builder_.finish(blockFormat(lastPara_));
}

void RtfParser::pushGroup() {
    afterToken();
    groupStart_ = true;
    pendingLead_ = 0;
    fontTable_.dropPendingByte();
    if (stack_.size() >= maxDepth) {
        ++overflowDepth_;
        return;
    }
    GroupState state = top();
    stack_.push_back(state);
}

RtfParser::GroupState &RtfParser::changeTop() {
    // Past the depth we keep a state for every group, a group saves the state it
    // started with only when it changes it, so that what it changes ends with it.
    if (overflowDepth_ > 0 &&
        (overflowSaved_.empty() || overflowSaved_.back().depth != overflowDepth_)) {
        if (overflowSaved_.size() >= maxOverflowStates)
            return discarded_ = top(); // more deep changes than any document makes: ignored
        overflowSaved_.push_back({overflowDepth_, top()});
    }
    return top();
}

void RtfParser::popGroup() {
    afterToken();
    pendingLead_ = 0;
    fontTable_.dropPendingByte();
    if (stack_.size() <= 1 && overflowDepth_ == 0) {
        // A closing brace with no group open: the document is over.
        done_ = true;
        return;
    }
    GroupState closed = top();
    if (overflowDepth_ > 0) {
        if (!overflowSaved_.empty() && overflowSaved_.back().depth == overflowDepth_) {
            top() = overflowSaved_.back().state;
            overflowSaved_.pop_back();
        }
        --overflowDepth_;
    } else {
        if (stack_.size() == 2)
            lastPara_ = closed.para;
        stack_.pop_back();
    }

    const Destination outer = top().dest;
    if (closed.dest == Destination::FontTable) {
        fontTable_.finishEntry();
        if (outer != Destination::FontTable)
            tablesChanged();
    } else if (closed.dest == Destination::ColorTable && outer != Destination::ColorTable) {
        tablesChanged();
    } else if (closed.dest == Destination::Picture && outer != Destination::Picture) {
        finishPicture();
    }
    if (stack_.size() == 1 && overflowDepth_ == 0)
        done_ = true; // the closing brace of the document
}

void RtfParser::skipGroup() {
    if (!tokenizer_.skipGroup()) {
        done_ = true;
        return;
    }
    unicodeSkip_ = 0;
    popGroup();
}

void RtfParser::dispatch(std::string_view name, bool hasParameter, int parameter) {
    const bool star = std::exchange(starPending_, false);
    const bool groupStart = std::exchange(groupStart_, false);
    if (unicodeSkip_ > 0) {
        // A control word stands for one character of the fallback of \u.
        --unicodeSkip_;
        return;
    }
    const RtfKeyword *keyword = findRtfKeyword(name);
    if (!keyword) {
        if (star)
            skipGroup(); // a destination we do not know, marked as safe to skip
        return;
    }
    if (keyword->action == RtfAction::SkipGroup && !groupStart) {
        // Only the first word of a group makes it a destination: in the middle of a
        // group, where no writer puts one, the word is damage and the text goes on.
        return;
    }
    if (isDestination(keyword->action)) {
        destination(*keyword);
        return;
    }
    // A word we know is read as itself, whether or not \* marks it as one that may be
    // skipped.

    switch (keyword->action) {
    case RtfAction::Star:
        starPending_ = true;
        groupStart_ = groupStart; // {\*\dest is still the start of the group
        break;
    case RtfAction::DocumentCodePage:
    case RtfAction::AnsiCodePage:
    case RtfAction::DefaultFont:
        documentProperty(*keyword, hasParameter, parameter);
        break;
    case RtfAction::FontCharset:
    case RtfAction::FontCodePage:
    case RtfAction::Red:
    case RtfAction::Green:
    case RtfAction::Blue:
        tableProperty(*keyword, hasParameter, parameter);
        break;
    case RtfAction::PictureType:
    case RtfAction::PictureWidth:
    case RtfAction::PictureHeight:
    case RtfAction::PictureGoalWidth:
    case RtfAction::PictureGoalHeight:
    case RtfAction::PictureScaleX:
    case RtfAction::PictureScaleY:
        pictureProperty(*keyword, hasParameter, parameter);
        break;
    case RtfAction::Font:
        // \fN names a font table entry inside the table, and picks a font outside it.
        if (top().dest == Destination::FontTable) {
            tableProperty(*keyword, hasParameter, parameter);
            break;
        }
        [[fallthrough]];
    case RtfAction::Plain:
    case RtfAction::Toggle:
    case RtfAction::Underline:
    case RtfAction::FontSize:
    case RtfAction::Foreground:
    case RtfAction::Background:
    case RtfAction::VerticalAlign:
        character(*keyword, hasParameter, parameter);
        break;
    case RtfAction::ParagraphDefault:
    case RtfAction::Align:
    case RtfAction::Indent:
    case RtfAction::PageBreakBefore:
        paragraphProperty(*keyword, hasParameter, parameter);
        break;
    case RtfAction::Paragraph:
    case RtfAction::Section:
    case RtfAction::Page:
    case RtfAction::Cell:
    case RtfAction::Row:
    case RtfAction::Character:
    case RtfAction::Unicode:
    case RtfAction::UnicodeSkip:
        textControl(*keyword, hasParameter, parameter);
        break;
    default:
        break;
    }
}

void RtfParser::documentProperty(const RtfKeyword &keyword, bool hasParameter, int parameter) {
    switch (keyword.action) {
    case RtfAction::DocumentCodePage:
        documentPage_ = &CodePage::forNumber(keyword.argument);
        tablesChanged();
        break;
    case RtfAction::AnsiCodePage:
        if (hasParameter) {
            documentPage_ = &CodePage::forNumber(parameter);
            tablesChanged();
        }
        break;
    default: // DefaultFont
        if (hasParameter) {
            defaultFont_ = parameter;
            tablesChanged();
        }
        break;
    }
}

void RtfParser::tableProperty(const RtfKeyword &keyword, bool hasParameter, int parameter) {
    const Destination dest = top().dest;
    switch (keyword.action) {
    case RtfAction::Font:
        fontTable_.beginEntry(hasParameter ? parameter : 0);
        break;
    case RtfAction::FontCharset:
        if (dest == Destination::FontTable && hasParameter)
            fontTable_.setCharset(parameter);
        break;
    case RtfAction::FontCodePage:
        if (dest == Destination::FontTable && hasParameter)
            fontTable_.setCodePage(parameter);
        break;
    case RtfAction::Red:
        if (dest == Destination::ColorTable)
            colorTable_.setRed(hasParameter ? parameter : 0);
        break;
    case RtfAction::Green:
        if (dest == Destination::ColorTable)
            colorTable_.setGreen(hasParameter ? parameter : 0);
        break;
    default: // Blue
        if (dest == Destination::ColorTable)
            colorTable_.setBlue(hasParameter ? parameter : 0);
        break;
    }
}

void RtfParser::pictureProperty(const RtfKeyword &keyword, bool hasParameter, int parameter) {
    if (top().dest != Destination::Picture)
        return;
    const int value = hasParameter ? std::clamp(parameter, 0, 10000000) : 0;
    switch (keyword.action) {
    case RtfAction::PictureType:
        picture_.type = keyword.argument;
        break;
    case RtfAction::PictureWidth:
        picture_.width = value;
        break;
    case RtfAction::PictureHeight:
        picture_.height = value;
        break;
    case RtfAction::PictureGoalWidth:
        picture_.goalWidth = value;
        break;
    case RtfAction::PictureGoalHeight:
        picture_.goalHeight = value;
        break;
    case RtfAction::PictureScaleX:
        picture_.scaleX = std::clamp(value, 1, 1000);
        break;
    default: // PictureScaleY
        picture_.scaleY = std::clamp(value, 1, 1000);
        break;
    }
}

void RtfParser::textControl(const RtfKeyword &keyword, bool hasParameter, int parameter) {
    GroupState &state = top();
    const bool inText = state.dest == Destination::Text;
    switch (keyword.action) {
    case RtfAction::Paragraph:
        if (inText)
            endParagraph();
        break;
    case RtfAction::Section:
    case RtfAction::Page:
        // A section or page break after a paragraph mark adds no paragraph of its own.
        if (inText) {
            if (!paragraphEmpty_)
                endParagraph();
            if (keyword.action == RtfAction::Page)
                pageBreakPending_ = true;
        }
        break;
    case RtfAction::Cell:
        if (inText)
            cellPending_ = true;
        break;
    case RtfAction::Row:
        if (inText) {
            cellPending_ = false;
            endParagraph();
        }
        break;
    case RtfAction::Character:
        if (inText || state.dest == Destination::FontTable)
            unicode(keyword.argument);
        break;
    case RtfAction::Unicode:
        if (hasParameter) {
            unicode(parameter);
            unicodeSkip_ = state.uc;
        }
        break;
    default: { // UnicodeSkip
        // A count no writer gives is damage: it would swallow the text that follows.
        const int count = hasParameter ? parameter : 1;
        if (count >= 0 && count <= maxUnicodeSkip)
            changeTop().uc = count;
        break;
    }
    }
}

void RtfParser::destination(const RtfKeyword &keyword) {
    GroupState &state = changeTop();
    switch (keyword.action) {
    case RtfAction::SkipGroup:
        skipGroup();
        break;
    case RtfAction::Container:
        break; // read on as ordinary text
    case RtfAction::FontTable:
        state.dest = Destination::FontTable;
        fontTable_.begin();
        break;
    case RtfAction::ColorTable:
        state.dest = Destination::ColorTable;
        colorTable_.begin();
        break;
    case RtfAction::Picture:
        if (state.dest != Destination::Text) {
            skipGroup();
            break;
        }
        state.dest = Destination::Picture;
        picture_ = Picture{};
        break;
    case RtfAction::UnicodeAlt:
        state.outerDest = state.dest;
        state.dest = Destination::Discard;
        break;
    case RtfAction::UnicodeDest:
        state.dest = state.outerDest;
        break;
    default:
        break;
    }
}

void RtfParser::character(const RtfKeyword &keyword, bool hasParameter, int parameter) {
    CharProps &chr = changeTop().chr;
    const CharProps before = chr;
    switch (keyword.action) {
    case RtfAction::Plain:
        chr = CharProps{};
        break;
    case RtfAction::Toggle: {
        const bool on = !hasParameter || parameter != 0;
        switch (keyword.argument) {
        case ToggleBold:
            chr.bold = on;
            break;
        case ToggleItalic:
            chr.italic = on;
            break;
        case ToggleStrike:
            chr.strike = on;
            break;
        case ToggleHidden:
            chr.hidden = on;
            break;
        case ToggleCaps:
            chr.caps = on;
            break;
        case ToggleSmallCaps:
            chr.smallCaps = on;
            break;
        default:
            break;
        }
        break;
    }
    case RtfAction::Underline:
        chr.underline = hasParameter && parameter == 0
                            ? std::uint8_t(QTextCharFormat::NoUnderline)
                            : static_cast<std::uint8_t>(keyword.argument);
        break;
    case RtfAction::Font:
        chr.font = hasParameter ? parameter : 0;
        break;
    case RtfAction::FontSize:
        chr.size = std::clamp(hasParameter ? parameter : 24, 0, maxSize / keyword.argument) *
                   keyword.argument;
        break;
    case RtfAction::Foreground:
        chr.foreground = hasParameter ? std::max(parameter, -1) : -1;
        break;
    case RtfAction::Background:
        chr.background = hasParameter ? std::max(parameter, -1) : -1;
        break;
    case RtfAction::VerticalAlign:
        chr.verticalAlign = static_cast<std::uint8_t>(keyword.argument);
        break;
    default:
        break;
    }
    if (!(chr == before)) {
        charPropsChanged();
        if (chr.font != before.font)
            updatePage(top());
    }
}

void RtfParser::paragraphProperty(const RtfKeyword &keyword, bool hasParameter, int parameter) {
    ParaProps &para = changeTop().para;
    const int value = hasParameter ? std::clamp(parameter, -maxTwips, maxTwips) : 0;
    switch (keyword.action) {
    case RtfAction::ParagraphDefault:
        para = ParaProps{};
        cellPending_ = false;
        break;
    case RtfAction::Align:
        para.align = static_cast<std::uint8_t>(keyword.argument);
        break;
    case RtfAction::PageBreakBefore:
        para.pageBreakBefore = !hasParameter || parameter != 0;
        break;
    case RtfAction::Indent:
        switch (keyword.argument) {
        case IndentLeft:
            para.left = value;
            break;
        case IndentRight:
            para.right = value;
            break;
        case IndentFirst:
            para.first = value;
            break;
        case SpaceBefore:
            para.before = std::max(value, 0);
            break;
        case SpaceAfter:
            para.after = std::max(value, 0);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
}

// Whether text goes into the document now; when it does, the builder has its format.
bool RtfParser::prepareText() {
    GroupState &state = top();
    if (state.dest != Destination::Text || state.chr.hidden)
        return false;
    if (state.formatId < 0)
        state.formatId = formats_.idFor(state.chr, fontTable_, defaultFont_, colorTable_);
    builder_.setCharFormat(state.formatId, formats_.format(state.formatId));
    if (cellPending_) {
        cellPending_ = false;
        builder_.appendCharacter(u'\t');
    }
    paragraphEmpty_ = false;
    return true;
}

void RtfParser::text(std::string_view bytes) {
    if (unicodeSkip_ > 0) {
        const std::size_t skipped = std::min<std::size_t>(bytes.size(), unicodeSkip_);
        unicodeSkip_ -= static_cast<int>(skipped);
        bytes.remove_prefix(skipped);
    }
    if (bytes.empty())
        return;
    switch (top().dest) {
    case Destination::FontTable:
        fontTable_.text(bytes, *documentPage_);
        return;
    case Destination::ColorTable:
        colorTable_.text(bytes);
        return;
    case Destination::Picture:
        pictureText(bytes);
        return;
    case Destination::Discard:
        return;
    case Destination::Text:
        break;
    }
    if (!prepareText())
        return;
    const CodePage *page = top().page;
    if (pendingLead_) {
        // The trail byte of a double-byte character may be written as it is.
        const unsigned char lead = std::exchange(pendingLead_, 0);
        putCharacter(page->pair(lead, static_cast<unsigned char>(bytes.front())));
        bytes.remove_prefix(1);
    }
    if (pendingHigh_)
        flushSurrogate();
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t run = i;
        while (run < bytes.size() && isPlainAscii(static_cast<unsigned char>(bytes[run])))
            ++run;
        if (run > i) {
            builder_.appendLatin1(bytes.substr(i, run - i));
            i = run;
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[i++]);
        if (c < 0x80)
            continue; // control characters carry no meaning in RTF text
        if (page->isLeadByte(c)) {
            if (i < bytes.size()) {
                putCharacter(page->pair(c, static_cast<unsigned char>(bytes[i++])));
            } else {
                pendingLead_ = c;
            }
            continue;
        }
        putCharacter(page->character(c));
    }
}

void RtfParser::byte(unsigned char value) {
    if (unicodeSkip_ > 0) {
        --unicodeSkip_;
        return;
    }
    const Destination dest = top().dest;
    if (dest == Destination::FontTable) {
        fontTable_.byte(value, *documentPage_);
        return;
    }
    if (dest != Destination::Text || !prepareText())
        return;
    const CodePage *page = top().page;
    if (pendingLead_) {
        const unsigned char lead = std::exchange(pendingLead_, 0);
        putCharacter(page->pair(lead, value));
        return;
    }
    if (page->isLeadByte(value)) {
        pendingLead_ = value;
        return;
    }
    if (top().symbolFont && value == 0xB7) {
        putCharacter(0x2022); // the bullet of the Symbol font
        return;
    }
    putCharacter(page->character(value));
}

void RtfParser::unicode(int value) {
    // \u takes a signed 16-bit number; anything else is damage.
    if (value < 0)
        value += 65536;
    const char16_t character = value >= 0 && value <= 0xFFFF ? char16_t(value) : replacement;
    const Destination dest = top().dest;
    if (dest == Destination::FontTable) {
        fontTable_.character(character);
        return;
    }
    if (dest != Destination::Text || !prepareText())
        return;
    pendingLead_ = 0;
    putCharacter(character, true);
}

void RtfParser::flushSurrogate() {
    // A high surrogate with no low one after it stays as it came: our writer gives a
    // lone surrogate typed into an entry back this way.
    if (pendingHigh_)
        builder_.appendCharacter(std::exchange(pendingHigh_, 0));
}

void RtfParser::putCharacter(char16_t character, bool written) {
    if (pendingHigh_) {
        if (QChar::isLowSurrogate(character)) {
            builder_.appendCharacter(std::exchange(pendingHigh_, 0));
            builder_.appendCharacter(character);
            return;
        }
        flushSurrogate();
    }
    if (QChar::isHighSurrogate(character)) {
        pendingHigh_ = character;
        return;
    }
    switch (character) {
    case 0x2029: // a paragraph separator is a paragraph mark
        endParagraph();
        return;
    case '\n':
    case '\r':
        builder_.appendCharacter(0x2028);
        return;
    case '\t':
        builder_.appendCharacter(character);
        return;
    case 0xFDD0: // the document's own frame markers
    case 0xFDD1:
        return;
    case QChar::ObjectReplacementCharacter:
        // In our files a picture is a \pict group; this character stands alone only
        // when it was written as \u.
        if (written)
            builder_.appendCharacter(character);
        return;
    default:
        // Control characters as bytes carry no meaning in RTF; written as \u they are
        // characters of the text (a vertical tab, an escape) and stay.
        if (character < 0x20 && !written)
            return;
        builder_.appendCharacter(character);
    }
}

void RtfParser::endParagraph() {
    flushSurrogate();
    pendingLead_ = 0;
    cellPending_ = false;
    // The mark of an empty paragraph carries the font of the paragraph.
    GroupState &state = top();
    if (state.formatId < 0)
        state.formatId = formats_.idFor(state.chr, fontTable_, defaultFont_, colorTable_);
    builder_.setCharFormat(state.formatId, formats_.format(state.formatId));
    builder_.endParagraph(blockFormat(state.para));
    pageBreakPending_ = false;
    paragraphEmpty_ = true;
}

void RtfParser::pictureText(std::string_view bytes) {
    if (picture_.type == PictureOther)
        return; // a picture we cannot show: its data is not kept
    for (const char c : bytes) {
        const int v = hexDigitValue(c);
        if (v < 0)
            continue;
        if (picture_.nibble < 0) {
            picture_.nibble = v;
        } else {
            picture_.data.append(static_cast<char>((picture_.nibble << 4) | v));
            picture_.nibble = -1;
        }
    }
}

void RtfParser::finishPicture() {
    Picture picture = std::exchange(picture_, Picture{});
    if (picture.type == PictureOther || picture.data.isEmpty())
        return;
    const RtfPictureDecoder::Picture decoded = pictures_.decode(picture.type, picture.data);
    if (decoded.image.isNull() || !prepareText())
        return;
    flushSurrogate();
    // The size to show: the goal size in twips, scaled; without one, the picture's own.
    auto shown = [&](QSize own) {
        const double width =
            picture.goalWidth > 0 ? picture.goalWidth / twipsPerPixel_.x : double(own.width());
        const double height =
            picture.goalHeight > 0 ? picture.goalHeight / twipsPerPixel_.y : double(own.height());
        return QSizeF(std::clamp(width * picture.scaleX / 100.0, 1.0, 20000.0),
                      std::clamp(height * picture.scaleY / 100.0, 1.0, 20000.0));
    };
    if (!decoded.placeholder.isEmpty()) {
        // The placeholder shows at its own size; the picture keeps the size it was given.
        const bool given = picture.goalWidth > 0 && picture.goalHeight > 0;
        builder_.insertPlaceholder(decoded.image, decoded.placeholder, picture.type, picture.data,
                                   given ? shown(QSize()) : QSizeF());
        return;
    }
    builder_.insertImage(decoded.image, shown(decoded.image.size()));
}

void RtfParser::updatePage(GroupState &state) const {
    const RtfFontTable::Font *font =
        fontTable_.find(state.chr.font >= 0 ? state.chr.font : defaultFont_);
    state.page = font && font->codePage > 0 ? &CodePage::forNumber(font->codePage) : documentPage_;
    state.symbolFont = font && font->symbol;
}

void RtfParser::tablesChanged() {
    formats_.tablesChanged();
    for (GroupState &state : stack_) {
        state.formatId = -1;
        updatePage(state);
    }
}

QTextBlockFormat RtfParser::blockFormat(const ParaProps &props) const {
    QTextBlockFormat format;
    switch (props.align) {
    case RtfAlignRight:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfAlignCenter:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfAlignJustify:
        format.setAlignment(Qt::AlignJustify);
        break;
    default:
        format.setAlignment(Qt::AlignLeft);
        break;
    }
    if (props.left)
        format.setLeftMargin(props.left / twipsPerPixel_.x);
    if (props.right)
        format.setRightMargin(props.right / twipsPerPixel_.x);
    if (props.first)
        format.setTextIndent(props.first / twipsPerPixel_.x);
    if (props.before)
        format.setTopMargin(props.before / twipsPerPixel_.y);
    if (props.after)
        format.setBottomMargin(props.after / twipsPerPixel_.y);
    if (props.pageBreakBefore || pageBreakPending_)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
}
