#include "app/dialog_scaling.h"

#include "res/resource.h"

#include <optional>

namespace tolvan {

namespace {

// The two labels that carry tool tips on the pages keep their size: their text decides it.

struct Scale {
    double x;
    double y;
};

struct ScalePass {
    HFONT font;
    ScaleFactors stored;
    DisplayResolutionReader resolution;
    // A hidden dialog is painted whole when it shows, so its controls need not repaint for the new font.
    BOOL redraw;
    // The display's resolution is read at most once for all children of the pass, and only while the stored
    // factors are still (1, 1): a display device context costs about a millisecond under Wine, and the
    // resolution does not change while one dialog is set up.
    std::optional<Scale> fromDisplay;

    Scale Factors() {
        if (stored.x != 1.0f || stored.y != 1.0f)
            return {stored.x, stored.y};
        if (!fromDisplay) {
            const DisplayResolution dpi = resolution();
            fromDisplay = Scale{dpi.x > 0 ? 96.0 / dpi.x : 1.0, dpi.y > 0 ? 96.0 / dpi.y : 1.0};
        }
        return *fromDisplay;
    }
};

RECT RectInParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BOOL CALLBACK ScaleChild(HWND child, LPARAM data) {
    ScalePass& pass = *reinterpret_cast<ScalePass*>(data);
    // Every window message costs a trip through Wine's server, and a combo box re-lays itself and its list out
    // at each font: a control that has the font already keeps it.
    if (pass.font && reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)) != pass.font)
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(pass.font), pass.redraw);

    const RECT r = RectInParent(child);
    const Scale scale = pass.Factors();
    const int left = static_cast<int>(r.left * scale.x);
    const int right = static_cast<int>(r.right * scale.x);
    const int top = static_cast<int>(r.top * scale.y);
    const int bottom = static_cast<int>(r.bottom * scale.y);

    const int id = ::GetDlgCtrlID(child);
    const bool keepsSize = id == IDC_SCAN_MODE_LABEL || id == IDC_RESOLUTION_LABEL;
    const bool visible = (::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
    const bool placed = left == r.left && top == r.top && (keepsSize || (right == r.right && bottom == r.bottom));
    if (visible && placed)
        return TRUE;
    if (keepsSize)
        ::SetWindowPos(child, HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    else
        ::SetWindowPos(child, HWND_TOP, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

} // namespace

DisplayResolution DisplayResolution::FromDisplay() {
    DisplayResolution dpi;
    if (HDC dc = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {
        dpi.x = ::GetDeviceCaps(dc, LOGPIXELSX);
        dpi.y = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::DeleteDC(dc);
    }
    return dpi;
}

ScaleFactors FactorsFromDialogUnits(HWND dialog) {
    RECT units{0, 0, 4, 8};
    ::MapDialogRect(dialog, &units);
    ScaleFactors factors;
    if (units.right > 0 && units.bottom > 0) {
        factors.x = static_cast<float>(6.0L / units.right);
        factors.y = static_cast<float>(14.0L / units.bottom);
    }
    return factors;
}

void ScaleDialogChildren(HWND dialog, HFONT font, ScaleFactors stored, DisplayResolutionReader resolution) {
    if (!dialog)
        return;
    ScalePass pass{font, stored, resolution ? resolution : &DisplayResolution::FromDisplay, ::IsWindowVisible(dialog),
                   std::nullopt};
    ::EnumChildWindows(dialog, ScaleChild, reinterpret_cast<LPARAM>(&pass));
}

} // namespace tolvan
