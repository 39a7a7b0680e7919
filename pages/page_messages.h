// The private messages between the job pages and the main window, all sent synchronously.
#pragma once

#include <windows.h>

namespace tolvan {

// Page to main window: the page turned dirty; wParam enables (non-zero) or disables (0) Apply.
inline constexpr UINT kPageChanged = WM_USER + 200;
// Main window to the shown page: put the working copy back to its defaults.
inline constexpr UINT kRestoreDefaults = WM_USER + 201;
// Page to main window: show the hint with string id wParam.
inline constexpr UINT kShowHint = WM_USER + 202;

} // namespace tolvan
