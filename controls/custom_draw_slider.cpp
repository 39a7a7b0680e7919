#include "controls/custom_draw_slider.h"

#include "controls/saved_dc.h"
#include "ui/bitmap_resource.h"
#include "ui/dialog.h"

#include <algorithm>

namespace tolvan {

namespace {

// The bitmap thumb sits this much lower than the rectangle the trackbar gives it.
constexpr int kThumbDrop = 2;

// Copies a bitmap's top left corner, at most width x height of it, to (x, y).
void CopyBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
    const SIZE size = BitmapSize(bitmap);
    width = std::min<int>(width, size.cx);
    height = std::min<int>(height, size.cy);
    MemoryDC memory(dc);
    if (!memory || width <= 0 || height <= 0)
        return;
    const ScopedSelectObject select(memory.Get(), bitmap);
    ::BitBlt(dc, x, y, width, height, memory.Get(), 0, 0, SRCCOPY);
}

} // namespace

RECT SliderChannelRect(const RECT& item, int rangeMin, int rangeMax, bool horizontal) {
    RECT channel = item;
    if (rangeMin != 0 || rangeMax != 0) {
        ++channel.top;
        --channel.bottom;
    }
    if (horizontal) {
        ++channel.left;
        --channel.right;
        ++channel.bottom;
    } else {
        ++channel.top;
        --channel.bottom;
    }
    return channel;
}

bool CCustomDrawSlider::SetChannelBitmap(UINT id) {
    m_channel = LoadBitmapResource(id);
    return static_cast<bool>(m_channel);
}

bool CCustomDrawSlider::SetThumbBitmap(UINT id) {
    m_thumb = LoadBitmapResource(id);
    if (!m_thumb)
        return false;
    FitThumbToBitmap();
    return true;
}

void CCustomDrawSlider::FitThumbToBitmap() const {
    if (!m_hwnd)
        return;
    // The trackbar grabs its thumb where it would draw its own: a thumb of length L is L long across the channel
    // and L / 2 (made odd) along it. Twice the bitmap's extent along the channel makes the two agree, and leaves
    // room across it for the bitmap below its drop.
    const SIZE size = BitmapSize(m_thumb.Get());
    const LONG style = ::GetWindowLongA(m_hwnd, GWL_STYLE);
    const LONG along = (style & TBS_VERT) ? size.cy : size.cx;
    if (!(style & TBS_FIXEDLENGTH))
        ::SetWindowLongA(m_hwnd, GWL_STYLE, style | TBS_FIXEDLENGTH);
    Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(2 * along));
}

LRESULT CCustomDrawSlider::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kReflectedNotify: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW))
            return OnCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
        return 0;
    }
    case WM_ERASEBKGND:
        // The channel drawing paints the background from the cache; erasing here would only flicker.
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}

LRESULT CCustomDrawSlider::OnCustomDraw(const NMCUSTOMDRAW& draw) {
    if (draw.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    if (draw.dwItemSpec == TBCD_TICS)
        return CDRF_DODEFAULT;
    const SavedDC saved(draw.hdc);
    if (draw.dwItemSpec == TBCD_THUMB)
        DrawThumb(draw.hdc, draw.rc);
    else if (draw.dwItemSpec == TBCD_CHANNEL)
        DrawChannel(draw.hdc, draw.rc);
    // The system's own thumb and channel are never drawn, nor anything else it may announce.
    return CDRF_SKIPDEFAULT;
}

void CCustomDrawSlider::DrawThumb(HDC dc, RECT item) const {
    if (!m_thumb)
        return;
    ::OffsetRect(&item, 0, kThumbDrop);
    const SIZE size = BitmapSize(m_thumb.Get());
    CopyBitmap(dc, m_thumb.Get(), item.left, item.top, size.cx, size.cy);
}

void CCustomDrawSlider::CacheBackground(HDC parentDC, const RECT& client) {
    auto cacheDC = std::make_unique<MemoryDC>(parentDC);
    UniqueBitmap bitmap(::CreateCompatibleBitmap(parentDC, client.right, client.bottom));
    if (!*cacheDC || !bitmap)
        return;
    m_cacheSelection = std::make_unique<ScopedSelectObject>(cacheDC->Get(), bitmap.Get());
    m_cacheBitmap = std::move(bitmap);
    m_cacheDC = std::move(cacheDC);
    const RECT place = RectInParent();
    ::BitBlt(m_cacheDC->Get(), 0, 0, client.right, client.bottom, parentDC, place.left, place.top, SRCCOPY);
}

void CCustomDrawSlider::DrawChannel(HDC dc, const RECT& item) {
    const RECT client = ClientRect();
    if (!m_cacheDC) {
        const WindowDC parentDC(::GetParent(m_hwnd));
        if (parentDC.Get())
            CacheBackground(parentDC.Get(), client);
    }
    if (m_cacheDC)
        ::BitBlt(dc, 0, 0, client.right, client.bottom, m_cacheDC->Get(), 0, 0, SRCCOPY);

    RECT thumb{};
    Send(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const bool horizontal = thumb.bottom - thumb.top > thumb.right - thumb.left;
    const int rangeMin = static_cast<int>(Send(TBM_GETRANGEMIN));
    const int rangeMax = static_cast<int>(Send(TBM_GETRANGEMAX));
    const RECT channel = SliderChannelRect(item, rangeMin, rangeMax, horizontal);
    if (m_channel)
        CopyBitmap(dc, m_channel.Get(), channel.left, channel.top, channel.right - channel.left,
                   channel.bottom - channel.top);
}

} // namespace tolvan
