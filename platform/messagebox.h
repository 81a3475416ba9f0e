#pragma once

#include <QString>

// Button sets, icons and default buttons of a message box, combined by adding them.
namespace MsgBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int ButtonMask = 0x0F;

inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int IconMask = 0x70;

inline constexpr int DefaultButton1 = 0;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
inline constexpr int DefaultMask = 0x300;
} // namespace MsgBoxStyle

// The answers a message box gives.
namespace MsgBoxResult {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MsgBoxResult

// The application title, which captions every message box given no title of its own.
QString appTitle();

// Shows a modal message box and returns the button the user chose.
int MsgBox(const QString &prompt, int style = MsgBoxStyle::OkOnly, const QString &title = {});
