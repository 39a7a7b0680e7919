#include "controls/colour_button.h"

#include "controls/saved_dc.h"
#include "ui/dialog.h"

namespace tolvan {

namespace {

constexpr COLORREF kLitEdge = RGB(255, 255, 255);
constexpr COLORREF kShadedEdge = RGB(128, 128, 128);
constexpr int kFocusInset = 2;
constexpr int kLongestText = 511; // characters drawn of the window text

// Fills with the DC's own brush, so that drawing creates no GDI object.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    ::SetDCBrushColor(dc, colour);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

} // namespace

bool CColorButton::SubclassWithColors(int id, HWND parentDialog, COLORREF background, COLORREF text,
                                      COLORREF disabledText) {
    HWND item = parentDialog ? ::GetDlgItem(parentDialog, id) : nullptr;
    if (!item || (::GetWindowLongA(item, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW || !Attach(item))
        return false;
    m_background = background;
    m_text = text;
    m_disabledText = disabledText;
    return true;
}

LRESULT CColorButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kReflectedDrawItem) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return Default(msg, wParam, lParam);
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const SavedDC saved(dc);
    RECT rect = item.rcItem;
    RECT focus = rect;
    ::InflateRect(&focus, -kFocusInset, -kFocusInset);

    FillSolid(dc, rect, m_background);
    // The raised frame: lit along the top and left edges, shaded one pixel inside the bottom and right ones.
    FillSolid(dc, {rect.left, rect.top, rect.right, rect.top + 1}, kLitEdge);
    FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, kLitEdge);
    FillSolid(dc, {rect.left + 1, rect.bottom - 1, rect.right, rect.bottom}, kShadedEdge);
    FillSolid(dc, {rect.right - 1, rect.top + 1, rect.right, rect.bottom}, kShadedEdge);

    char text[kLongestText + 1] = {};
    const int length = ::GetWindowTextA(m_hwnd, text, sizeof text);
    const int textLength = length > 0 ? length : 0;
    constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_text);
    ::DrawTextA(dc, text, textLength, &rect, kFormat);

    // A pressed button looks like a focused one: the pressed state has no picture of its own.
    if (item.itemState & ODS_FOCUS) {
        ::DrawFocusRect(dc, &focus);
    } else if (item.itemState & ODS_DISABLED) {
        ::SetTextColor(dc, m_disabledText);
        ::DrawTextA(dc, text, textLength, &rect, kFormat);
    }
}

} // namespace tolvan
