// The skin's fixed colours, shared by the main window, the pages and the colour buttons.
#pragma once

#include <windows.h>

namespace tolvan {

// The background of every page, of the main window's labels and of every colour button.
inline constexpr COLORREF kPageColour = RGB(119, 161, 228);
// A colour button's text, and its text while disabled.
inline constexpr COLORREF kButtonTextColour = RGB(1, 1, 1);
inline constexpr COLORREF kDisabledTextColour = RGB(128, 128, 128);

} // namespace tolvan
