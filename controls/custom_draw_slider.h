// A trackbar whose channel and thumb are drawn from bitmaps over a copy of the parent's background, so that it
// blends into a skinned page. The parent reflects the trackbar's NM_CUSTOMDRAW to it (ui/dialog.h); the tick
// marks stay the system's. The parent's pixels under the slider are read once, at the first channel drawing, and
// every later redraw copies them from memory, so a redraw never asks the parent to paint.
#pragma once

#include "ui/control.h"
#include "ui/gdi.h"
#include "ui/unique_handle.h"

#include <commctrl.h>

#include <memory>

namespace tolvan {

// Where the channel bitmap goes: the item rectangle the trackbar gives for its channel, one pixel thinner at top
// and bottom unless the range is 0 to 0, then one pixel in from each end; a horizontal channel also reaches one
// pixel lower.
RECT SliderChannelRect(const RECT& item, int rangeMin, int rangeMax, bool horizontal);

class CCustomDrawSlider : public CControl {
public:
    CCustomDrawSlider() = default;
    ~CCustomDrawSlider() override = default;

    // Take over the dialog's trackbar item, or create one.
    using CControl::Attach;
    using CControl::Create;

    // Bitmap resources of the program's own module. The bitmap held so far is deleted; a bitmap that does not load
    // leaves that part without one (false): no channel shows only the background, no thumb draws no thumb.
    bool SetChannelBitmap(UINT id);
    // Also sizes the trackbar's own thumb, where a press grabs it, to the bitmap's width along the channel (made
    // odd); call it once the window is there.
    bool SetThumbBitmap(UINT id);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FitThumbToBitmap() const;
    LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw);
    void DrawThumb(HDC dc, RECT item) const;
    void DrawChannel(HDC dc, const RECT& item);
    // Copies the parent's pixels under the slider, once.
    void CacheBackground(HDC parentDC, const RECT& client);

    UniqueBitmap m_channel;
    UniqueBitmap m_thumb;
    // The background cache: a memory DC holding the parent's pixels in its bitmap. The selection is undone before
    // the bitmap and the DC go (members end in reverse order).
    std::unique_ptr<MemoryDC> m_cacheDC;
    UniqueBitmap m_cacheBitmap;
    std::unique_ptr<ScopedSelectObject> m_cacheSelection;
};

} // namespace tolvan
