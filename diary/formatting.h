#pragma once

// The formatting a diary entry's toolbar buttons apply and show.

// The character formats that a button switches on and off.
enum class CharacterFormat { Bold, Italic, Underline };

inline constexpr CharacterFormat characterFormats[] = {
    CharacterFormat::Bold, CharacterFormat::Italic, CharacterFormat::Underline};

// Paragraph alignment; the values are the rich-text box's alignment codes.
enum class Alignment { Left = 0, Right = 1, Center = 2 };

inline constexpr Alignment alignments[] = {Alignment::Left, Alignment::Center, Alignment::Right};
