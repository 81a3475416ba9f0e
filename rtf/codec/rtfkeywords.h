#pragma once

#include <string_view>

// What the reader does with a control word or control symbol. Every word the reader knows
// is in one table (rtfkeywords.cpp) with one of these actions and its argument; a word that
// is not in the table is ignored.
enum class RtfAction : unsigned char {
    // Destinations: the word opens a group whose content is not ordinary text.
    SkipGroup,   // skipped whole: document information, style sheet, list tables, ...
    Container,   // content read as ordinary text: field results, list text, shape results
    FontTable,   // the font table
    ColorTable,  // the colour table
    Picture,     // \pict
    UnicodeAlt,  // \upr: its own text is the fallback for the \ud group inside it
    UnicodeDest, // \ud: the text that \upr stands in for
    Star,        // \*: the destination that follows may be skipped if not known

    // Document and tables.
    DocumentCodePage, // \ansi \mac \pc \pca: the argument is the code page
    AnsiCodePage,     // \ansicpgN
    DefaultFont,      // \deffN
    FontCharset,      // \fcharsetN in the font table
    FontCodePage,     // \cpgN in the font table
    Red,
    Green,
    Blue,

    // Pictures.
    PictureType, // argument: one of RtfPictureType
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,

    // Character formatting.
    Plain,
    Toggle,    // argument: one of RtfToggle; parameter 0 turns it off
    Underline, // argument: a QTextCharFormat::UnderlineStyle; parameter 0 turns it off
    Font,
    FontSize, // argument: hundredths of a point per unit of the parameter
    Foreground,
    Background,
    VerticalAlign, // argument: a QTextCharFormat::VerticalAlignment

    // Paragraph formatting.
    ParagraphDefault,
    Align,  // argument: one of RtfAlign
    Indent, // argument: one of RtfIndent
    PageBreakBefore,

    // Text.
    Paragraph,
    Section, // ends the paragraph it follows, unless that one is empty
    Page,
    Cell,
    Row,
    Character, // argument: the UTF-16 character
    Unicode,
    UnicodeSkip,
};

enum RtfToggle : unsigned char {
    ToggleBold,
    ToggleItalic,
    ToggleStrike,
    ToggleHidden,
    ToggleCaps,
    ToggleSmallCaps
};
enum RtfAlign : unsigned char { RtfAlignLeft, RtfAlignRight, RtfAlignCenter, RtfAlignJustify };
enum RtfIndent : unsigned char { IndentLeft, IndentRight, IndentFirst, SpaceBefore, SpaceAfter };
enum RtfPictureType : unsigned char { PictureOther, PicturePng, PictureJpeg };

struct RtfKeyword {
    std::string_view name;
    RtfAction action;
    int argument = 0;
};

// The table entry of a control word (its letters) or of a control symbol (its one
// character), or nullptr for a word the reader does not know.
const RtfKeyword *findRtfKeyword(std::string_view name);
