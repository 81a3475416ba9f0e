#pragma once

#include "rtf/codec/codepages.h"
#include "rtf/codec/rtfformatcache.h"
#include "rtf/codec/rtfkeywords.h"
#include "rtf/codec/rtftables.h"
#include "rtf/codec/rtftokenizer.h"
#include "rtf/codec/twips.h"
#include "rtf/rtfdocumentbuilder.h"
#include "rtf/rtfpicture.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

// The reader proper: a stack of group states over the tokenizer, control words
// dispatched through the keyword table, text decoded through the code page of the
// current font and handed to the document builder.
class RtfParser {
public:
    RtfParser(std::string_view data, RtfDocumentBuilder &builder);
    void run();

private:
    using CharProps = RtfCharProps;
    struct ParaProps {
        std::uint8_t align = 0; // RtfAlign
        bool pageBreakBefore = false;
        int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    };
    enum class Destination : std::uint8_t { Text, FontTable, ColorTable, Picture, Discard };
    struct GroupState {
        CharProps chr;
        ParaProps para;
        Destination dest = Destination::Text;
        Destination outerDest = Destination::Text; // what \ud returns to inside \upr
        int uc = 1;
        int formatId = -1; // index into formats_, -1 when it must be looked up
        const CodePage *page = nullptr;
        bool symbolFont = false;
    };
    struct Picture {
        int type = PictureOther;
        int width = 0, height = 0, goalWidth = 0, goalHeight = 0;
        int scaleX = 100, scaleY = 100;
        QByteArray data;
        int nibble = -1; // the high half of a byte whose low half is still to come
    };

    struct SavedState {
        int depth;
        GroupState state;
    };

    GroupState &top() { return stack_.back(); }
    // The state to change: past the kept depth, the group's own.
    GroupState &changeTop();
    // A token other than a control word ends what \* and { announced.
    void afterToken() { starPending_ = groupStart_ = false; }
    void pushGroup();
    void popGroup();
    void skipGroup();
    void dispatch(std::string_view name, bool hasParameter, int parameter);
    void destination(const RtfKeyword &keyword);
    // The groups of control words that dispatch() hands on.
    void documentProperty(const RtfKeyword &keyword, bool hasParameter, int parameter);
    void tableProperty(const RtfKeyword &keyword, bool hasParameter, int parameter);
    void pictureProperty(const RtfKeyword &keyword, bool hasParameter, int parameter);
    void textControl(const RtfKeyword &keyword, bool hasParameter, int parameter);
    void character(const RtfKeyword &keyword, bool hasParameter, int parameter);
    void paragraphProperty(const RtfKeyword &keyword, bool hasParameter, int parameter);

    void text(std::string_view bytes);
    void byte(unsigned char value);
    void unicode(int value);
    // `written`: the character came as \u, not as a byte of the text.
    void putCharacter(char16_t character, bool written = false);
    void flushSurrogate();
    bool prepareText();
    void endParagraph();

    void pictureText(std::string_view bytes);
    void finishPicture();

    void charPropsChanged() { top().formatId = -1; }
    void updatePage(GroupState &state) const;
    void tablesChanged();
    QTextBlockFormat blockFormat(const ParaProps &props) const;

    RtfTokenizer tokenizer_;
    RtfDocumentBuilder &builder_;
    std::vector<GroupState> stack_;
    int overflowDepth_ = 0; // groups opened beyond the depth we keep states for
    std::vector<SavedState> overflowSaved_;
    GroupState discarded_;
    bool starPending_ = false; // \* just read
    bool groupStart_ = false;  // nothing read since { but perhaps \*
    bool done_ = false;
    ParaProps lastPara_;

    const CodePage *documentPage_;
    int defaultFont_ = 0; // \deff0 when the file says nothing
    RtfFontTable fontTable_;
    RtfColorTable colorTable_;

    Picture picture_;
    RtfPictureDecoder pictures_;

    RtfFormatCache formats_;

    int unicodeSkip_ = 0;
    unsigned char pendingLead_ = 0;
    char16_t pendingHigh_ = 0;
    bool cellPending_ = false;
    bool pageBreakPending_ = false;
    bool paragraphEmpty_ = true;
    TwipsPerPixel twipsPerPixel_;
};
