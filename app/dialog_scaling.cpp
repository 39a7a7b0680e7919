#include "app/dialog_scaling.h"

#include "res/resource.h"

namespace tolvan {

namespace {

// The two labels that carry tool tips on the pages keep their size: their text decides it.

struct ScalePass {
    HFONT font;
    ScaleFactors stored;
    DisplayResolutionReader resolution;
    // The display's resolution is read once for all children of the pass: a display device context costs about a
    // millisecond under Wine, and the resolution does not change while one dialog is set up.
    bool read = false;
    DisplayResolution dpi;

    DisplayResolution Resolution() {
        if (!read) {
            dpi = resolution();
            read = true;
        }
        return dpi;
    }
};

BOOL CALLBACK ScaleChild(HWND child, LPARAM data) {
    ScalePass& pass = *reinterpret_cast<ScalePass*>(data);
    const DisplayResolution dpi = pass.Resolution();
    const double fx = dpi.x > 0 ? 96.0 / dpi.x : 1.0;
    const double fy = dpi.y > 0 ? 96.0 / dpi.y : 1.0;
    if (pass.font)
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(pass.font), TRUE);

    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    const bool useStored = pass.stored.x != 1.0f || pass.stored.y != 1.0f;
    const double x = useStored ? pass.stored.x : fx;
    const double y = useStored ? pass.stored.y : fy;
    const int left = static_cast<int>(r.left * x);
    const int right = static_cast<int>(r.right * x);
    const int top = static_cast<int>(r.top * y);
    const int bottom = static_cast<int>(r.bottom * y);

    const int id = ::GetDlgCtrlID(child);
    if (id == IDC_SCAN_MODE_LABEL || id == IDC_RESOLUTION_LABEL)
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
    ScalePass pass{font, stored, resolution ? resolution : &DisplayResolution::FromDisplay, false, {}};
    ::EnumChildWindows(dialog, ScaleChild, reinterpret_cast<LPARAM>(&pass));
}

} // namespace tolvan
