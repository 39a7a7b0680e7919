#include "controls/bitmap_button.h"

#include "controls/saved_dc.h"
#include "res/resource.h"
#include "ui/bitmap_resource.h"
#include "ui/dialog.h"
#include "ui/gdi.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

namespace tolvan {

namespace {

// The main window's Default, Apply and Exit buttons: the only ones whose window text is drawn over the bitmap.
constexpr int kCaptionedButtonIds[] = {IDC_DEFAULT, IDC_APPLY, IDC_EXIT};
constexpr COLORREF kCaptionColour = RGB(255, 255, 255);
constexpr std::size_t kLongestUnsplitCaption = 12; // characters
constexpr std::size_t kCaptionSplitAt = 8;
constexpr int kDesignDpi = 96;
constexpr int kOneLineCaptionTop = 10;
constexpr int kTwoLineCaptionTop = 2;

int ReadDisplayDpi() {
    WindowDC screen(nullptr);
    return screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
}

CBitmapButton::DisplayDpiReader g_displayDpiReader = ReadDisplayDpi;

bool IsOwnerDrawn(HWND hwnd) {
    return (::GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

POINT PointFrom(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

ButtonCaption LayOutButtonCaption(std::string_view text, int displayDpi) {
    ButtonCaption caption{std::string(text)};
    if (caption.text.size() > kLongestUnsplitCaption && displayDpi > kDesignDpi)
        caption.text.insert(kCaptionSplitAt, "-\n");
    caption.top = caption.text.find('\n') == std::string::npos ? kOneLineCaptionTop : kTwoLineCaptionTop;
    return caption;
}

void CBitmapButton::SetDisplayDpiReader(DisplayDpiReader reader) {
    g_displayDpiReader = reader ? reader : ReadDisplayDpi;
}

bool CBitmapButton::Create(const char* text, DWORD style, const RECT& rect, HWND parent, int id) {
    return CControl::Create("BUTTON", text, style, rect, parent, id);
}

bool CBitmapButton::SetBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled, UINT hover) {
    for (UniqueBitmap* bitmap : {&m_hoverBitmap, &m_selectedBitmap, &m_normalBitmap, &m_disabledBitmap, &m_focusBitmap})
        bitmap->Reset();
    m_normalBitmap = LoadBitmapResource(normal);
    if (!m_normalBitmap)
        return false;
    m_selectedBitmap = LoadBitmapResource(selected);
    m_focusBitmap = LoadBitmapResource(focus);
    m_disabledBitmap = LoadBitmapResource(disabled);
    m_hoverBitmap = LoadBitmapResource(hover);
    return true;
}

bool CBitmapButton::SizeToBitmap() {
    BITMAP info{};
    if (!m_hwnd || !m_normalBitmap || !::GetObjectA(m_normalBitmap.Get(), sizeof info, &info))
        return false;
    return ::SetWindowPos(m_hwnd, nullptr, 0, 0, info.bmWidth, info.bmHeight,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE) != FALSE;
}

void CBitmapButton::SetLatched(bool latched) {
    m_latched = latched;
    if (!m_hwnd)
        return;
    if (IsOwnerDrawn(m_hwnd))
        RepaintNow();
    else
        Send(BM_SETSTATE, latched ? TRUE : FALSE);
}

LRESULT CBitmapButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kReflectedDrawItem:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        if (IsEnabled() && !m_pressed)
            TrackPointer(PointFrom(lParam));
        break;
    case WM_LBUTTONDOWN:
        m_pressed = true;
        ::SetFocus(m_hwnd);
        break;
    case WM_LBUTTONUP: {
        m_pressed = false;
        // The push button sends BN_CLICKED and gives up its capture; a release outside the button ends the hover.
        const LRESULT result = Default(msg, wParam, lParam);
        if (m_hwnd && IsEnabled())
            TrackPointer(PointFrom(lParam));
        return result;
    }
    case WM_ENABLE:
        m_hover = false;
        if (::GetCapture() == m_hwnd)
            ::ReleaseCapture();
        break;
    case WM_ERASEBKGND:
        return TRUE; // the bitmap covers the client area
    default:
        break;
    }
    return Default(msg, wParam, lParam);
}

HBITMAP CBitmapButton::ChooseBitmap(UINT itemState) const {
    const UniqueBitmap* chosen = &m_normalBitmap;
    if ((itemState & ODS_SELECTED) || m_latched)
        chosen = &m_selectedBitmap;
    else if (m_hover)
        chosen = &m_hoverBitmap;
    else if (itemState & ODS_FOCUS)
        chosen = &m_focusBitmap;
    else if (itemState & ODS_DISABLED)
        chosen = &m_disabledBitmap;
    return *chosen ? chosen->Get() : m_normalBitmap.Get();
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const SavedDC saved(dc);
    const RECT client = ClientRect();
    // The window manager clips a shaped button to its region on screen, but not a DC lent for printing.
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    if (region && ::GetWindowRgn(m_hwnd, region.Get()) != ERROR)
        ::SelectClipRgn(dc, region.Get());
    if (HBITMAP bitmap = ChooseBitmap(item.itemState)) {
        const MemoryDC memory(dc);
        if (memory) {
            const ScopedSelectObject select(memory.Get(), bitmap);
            ::BitBlt(dc, 0, 0, client.right - client.left, client.bottom - client.top, memory.Get(), 0, 0, SRCCOPY);
        }
    }
    DrawCaption(dc, client);
}

void CBitmapButton::DrawCaption(HDC dc, const RECT& client) const {
    if (std::find(std::begin(kCaptionedButtonIds), std::end(kCaptionedButtonIds), ::GetDlgCtrlID(m_hwnd)) ==
        std::end(kCaptionedButtonIds))
        return;
    std::string text(static_cast<std::size_t>(std::max(::GetWindowTextLengthA(m_hwnd), 0)) + 1, '\0');
    text.resize(
        static_cast<std::size_t>(std::max(::GetWindowTextA(m_hwnd, text.data(), static_cast<int>(text.size())), 0)));
    const ButtonCaption caption = LayOutButtonCaption(text, g_displayDpiReader());
    RECT area = client;
    area.top += caption.top;
    ::SetTextColor(dc, kCaptionColour);
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, caption.text.c_str(), static_cast<int>(caption.text.size()), &area, DT_CENTER);
}

void CBitmapButton::TrackPointer(POINT point) {
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    if (!region) {
        if (::GetCapture() == m_hwnd)
            ::ReleaseCapture();
        return;
    }
    bool over = false;
    if (::GetWindowRgn(m_hwnd, region.Get()) != ERROR) {
        over = ::PtInRegion(region.Get(), point.x, point.y) != FALSE;
    } else {
        const RECT client = ClientRect();
        over = ::PtInRect(&client, point) != FALSE;
    }
    // The capture keeps the moves coming after the pointer has left, so that leaving is seen at all.
    if (over) {
        if (::GetCapture() != m_hwnd)
            ::SetCapture(m_hwnd);
    } else if (::GetCapture() == m_hwnd) {
        ::ReleaseCapture();
    }
    if (m_hover != over) {
        m_hover = over;
        RepaintNow();
    }
}

void CBitmapButton::RepaintNow() const {
    ::InvalidateRect(m_hwnd, nullptr, FALSE);
    ::UpdateWindow(m_hwnd);
}

} // namespace tolvan
