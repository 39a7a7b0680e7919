// The custom-draw slider on a real host dialog that paints its background in a colour of the test's choosing:
// every pixel of a horizontal and a vertical slider (cached background, channel bitmap, thumb bitmap, the system's
// tick marks), the channel under a range of 0 to 0, the background kept from the first drawing, the disabled look,
// the parts without bitmaps, and where a press grabs the thumb or pages.
#include "control_host.h"
#include "controls_test_ids.h"

#include "controls/custom_draw_slider.h"
#include "ui/bitmap_resource.h"
#include "ui/gdi.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

namespace tolvan::test {
namespace {

constexpr COLORREF kFirstBackground = RGB(119, 161, 228);
constexpr COLORREF kLaterBackground = RGB(200, 40, 90);
constexpr int kThumbDrop = 2;
constexpr SIZE kThumbSize{9, 13};

// A host whose background is a plain colour and whose statics, trackbars included, draw nothing of their own
// background, as on the pages.
class SliderHost : public ControlHost {
public:
    SliderHost() : ControlHost(IDD_SLIDER_HOST) {}
    COLORREF background = kFirstBackground;
    int scrolls = 0;
    int lastScrollCode = -1;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (msg) {
        case WM_ERASEBKGND: {
            const RECT client = ClientRect();
            ::SetDCBrushColor(reinterpret_cast<HDC>(wParam), background);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            result = TRUE;
            return true;
        }
        case WM_CTLCOLORSTATIC:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
            return true;
        case WM_HSCROLL:
        case WM_VSCROLL:
            ++scrolls;
            lastScrollCode = LOWORD(wParam);
            return true;
        default:
            return ControlHost::OnMessage(msg, wParam, lParam, result);
        }
    }
};

RECT ItemRect(HWND slider, UINT message) {
    RECT r{};
    ::SendMessageA(slider, message, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

class CustomDrawSliderTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open());
        horizontal = host.Item(IDC_HORIZONTAL_SLIDER);
        vertical = host.Item(IDC_VERTICAL_SLIDER);
        for (auto [slider, item] : {std::pair{&horizontalSlider, horizontal}, std::pair{&verticalSlider, vertical}}) {
            ASSERT_TRUE(slider->Attach(item));
            ASSERT_TRUE(slider->SetChannelBitmap(IDB_TEST_CHANNEL));
            ASSERT_TRUE(slider->SetThumbBitmap(IDB_TEST_THUMB));
            ::SendMessageA(item, TBM_SETRANGE, FALSE, MAKELPARAM(1, 4));
            ::SendMessageA(item, TBM_SETPOS, TRUE, 2);
        }
        Repaint();
    }

    void Repaint() const {
        ::RedrawWindow(host.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
    }

    // The channel's item rectangle as the trackbar hands it to custom draw. Asked for it, some versions of the
    // control answer for a vertical trackbar as if it were horizontal, with x and y swapped.
    static RECT ChannelItem(HWND slider, bool isHorizontal) {
        const RECT r = ItemRect(slider, TBM_GETCHANNELRECT);
        const bool lying = r.right - r.left > r.bottom - r.top;
        return isHorizontal || !lying ? r : RECT{r.top, r.left, r.bottom, r.right};
    }

    // Every pixel of the slider: the thumb bitmap where the thumb is, the channel bitmap in its rectangle, and
    // elsewhere the background or the system's tick marks, which are of one colour of the system's and lie
    // beyond the thumb (below it, or right of a vertical one). Returns how many tick mark pixels there are.
    int ExpectDrawn(HWND slider, COLORREF background, bool isHorizontal, bool withChannel = true,
                    bool withThumb = true) const {
        const int rangeMin = static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
        const int rangeMax = static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
        RECT channel = SliderChannelRect(ChannelItem(slider, isHorizontal), rangeMin, rangeMax, isHorizontal);
        // The bitmap is cut to the channel, never stretched: a channel longer than the bitmap shows it only once.
        channel.right = std::min<LONG>(channel.right, channel.left + channelSize.cx);
        channel.bottom = std::min<LONG>(channel.bottom, channel.top + channelSize.cy);
        const RECT system = ItemRect(slider, TBM_GETTHUMBRECT);
        const RECT thumb = {system.left, system.top + kThumbDrop, system.left + kThumbSize.cx,
                            system.top + kThumbDrop + kThumbSize.cy};

        const Screenshot shot(slider);
        int ticks = 0;
        int wrong = 0;
        COLORREF tickColour = CLR_INVALID;
        for (int y = 0; y < shot.Height(); ++y) {
            for (int x = 0; x < shot.Width(); ++x) {
                const COLORREF seen = shot.At(x, y);
                COLORREF expected = background;
                if (withThumb && Inside(thumb, x, y))
                    expected = thumbColour;
                else if (withChannel && Inside(channel, x, y))
                    expected = channelColour;
                if (seen == expected)
                    continue;
                const bool beyondThumb = isHorizontal ? y >= system.bottom : x >= system.right;
                if (expected == background && beyondThumb && (tickColour == CLR_INVALID || seen == tickColour)) {
                    tickColour = seen;
                    ++ticks;
                    continue;
                }
                if (++wrong <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << seen << ", expected "
                                  << expected;
            }
        }
        EXPECT_EQ(wrong, 0);
        return ticks;
    }

    SliderHost host;
    CCustomDrawSlider horizontalSlider;
    CCustomDrawSlider verticalSlider;
    HWND horizontal = nullptr;
    HWND vertical = nullptr;
    const COLORREF channelColour = BitmapColour(IDB_TEST_CHANNEL);
    const COLORREF thumbColour = BitmapColour(IDB_TEST_THUMB);
    const SIZE channelSize = BitmapSize(LoadBitmapResource(IDB_TEST_CHANNEL).Get());
};

TEST_F(CustomDrawSliderTest, ChannelAndThumbBitmapsOverTheParentsBackgroundWithTheSystemsTickMarks) {
    EXPECT_GT(ExpectDrawn(horizontal, kFirstBackground, true), 0);
    EXPECT_GT(ExpectDrawn(vertical, kFirstBackground, false), 0);

    // The channel bitmap is cut to the channel, never stretched: the whole rectangle shows it.
    const RECT channel = SliderChannelRect(ChannelItem(horizontal, true), 1, 4, true);
    ASSERT_GT(channel.right - channel.left, kThumbSize.cx);
    const Screenshot shot(horizontal);
    EXPECT_EQ(shot.At(channel.right - 1, channel.bottom - 1), channelColour);
    EXPECT_EQ(shot.At(channel.right, channel.bottom - 1), kFirstBackground);
}

TEST_F(CustomDrawSliderTest, ChannelKeepsTheItemsFullHeightOnlyForARangeOfZeroToZero) {
    const RECT item = ChannelItem(horizontal, true);
    EXPECT_EQ(SliderChannelRect(item, 0, 0, true).bottom - SliderChannelRect(item, 0, 0, true).top,
              item.bottom - item.top + 1);
    EXPECT_EQ(SliderChannelRect(item, 1, 4, true).bottom - SliderChannelRect(item, 1, 4, true).top,
              item.bottom - item.top - 1);
    EXPECT_EQ(SliderChannelRect(item, 0, 4, true).top, item.top + 1);
    EXPECT_EQ(SliderChannelRect(item, -3, 0, true).top, item.top + 1);

    ::SendMessageA(horizontal, TBM_SETRANGE, TRUE, MAKELPARAM(0, 0));
    ::SendMessageA(vertical, TBM_SETRANGE, TRUE, MAKELPARAM(0, 0));
    Repaint();
    ExpectDrawn(horizontal, kFirstBackground, true);
    ExpectDrawn(vertical, kFirstBackground, false);
}

TEST_F(CustomDrawSliderTest, BackgroundStaysAsItWasAtTheFirstDrawing) {
    host.background = kLaterBackground;
    Repaint();
    // The host shows its new colour around the slider, the slider the old one.
    const RECT place = CWindow(horizontal).RectInParent();
    EXPECT_EQ(Screenshot(host.Handle()).At(place.left - 1, place.top), kLaterBackground);
    ExpectDrawn(horizontal, kFirstBackground, true);

    ::SendMessageA(horizontal, TBM_SETPOS, TRUE, 4);
    PumpMessages();
    ExpectDrawn(horizontal, kFirstBackground, true);
}

TEST_F(CustomDrawSliderTest, DisabledSliderLooksExactlyLikeAnEnabledOne) {
    const Screenshot enabled(horizontal);
    ::EnableWindow(horizontal, FALSE);
    Repaint();
    EXPECT_TRUE(Screenshot(horizontal) == enabled);
}

TEST_F(CustomDrawSliderTest, WithoutBitmapsOnlyTheBackgroundAndTheTickMarksShow) {
    // A bitmap that does not load takes the place of the one held so far.
    EXPECT_FALSE(horizontalSlider.SetChannelBitmap(IDB_TEST_MISSING));
    Repaint();
    ExpectDrawn(horizontal, kFirstBackground, true, false, true);
    EXPECT_FALSE(horizontalSlider.SetThumbBitmap(0));
    Repaint();
    EXPECT_GT(ExpectDrawn(horizontal, kFirstBackground, true, false, false), 0);
}

TEST_F(CustomDrawSliderTest, ErasingTheBackgroundDrawsNothing) {
    const WindowDC screen(horizontal);
    const MemoryDC memory(screen.Get());
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 4, 4));
    const ScopedSelectObject select(memory.Get(), bitmap.Get());
    ::SetPixel(memory.Get(), 1, 1, kLaterBackground);
    EXPECT_EQ(::SendMessageA(horizontal, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0), 0);
    EXPECT_EQ(::GetPixel(memory.Get(), 1, 1), kLaterBackground);
}

TEST_F(CustomDrawSliderTest, TheTrackbarGrabsItsThumbWhereTheBitmapIsAndPagesBesideIt) {
    // Where the trackbar takes a press as one on its thumb: exactly the bitmap's columns, and all of its rows.
    for (HWND slider : {horizontal, vertical}) {
        const RECT thumb = ItemRect(slider, TBM_GETTHUMBRECT);
        const bool isHorizontal = slider == horizontal;
        EXPECT_EQ(isHorizontal ? thumb.right - thumb.left : thumb.bottom - thumb.top,
                  isHorizontal ? kThumbSize.cx : kThumbSize.cy);
        EXPECT_GE(isHorizontal ? thumb.bottom - thumb.top : thumb.right - thumb.left,
                  kThumbDrop + (isHorizontal ? kThumbSize.cy : kThumbSize.cx));
    }

    ::SendMessageA(horizontal, TBM_SETPOS, TRUE, 1);
    PumpMessages();
    const RECT thumb = ItemRect(horizontal, TBM_GETTHUMBRECT);
    const RECT channel = ItemRect(horizontal, TBM_GETCHANNELRECT);
    // The pointer on the thumb bitmap's lowest row: the tip that points at the tick marks.
    const POINT grip{thumb.left + kThumbSize.cx / 2, thumb.top + kThumbDrop + kThumbSize.cy - 1};
    ASSERT_TRUE(Inside(thumb, grip.x, grip.y));
    ::SendMessageA(horizontal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
    ::SendMessageA(horizontal, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(channel.right, grip.y));
    ::SendMessageA(horizontal, WM_LBUTTONUP, 0, MAKELPARAM(channel.right, grip.y));
    PumpMessages();
    EXPECT_EQ(::SendMessageA(horizontal, TBM_GETPOS, 0, 0), 4);
    EXPECT_GT(host.scrolls, 0);
    // The press gave the slider the focus; without its focus rectangle the thumb shows at its new place.
    ::SetFocus(nullptr);
    Repaint();
    ExpectDrawn(horizontal, kFirstBackground, true);

    // Beside the thumb, on the channel towards the start: one page back.
    host.scrolls = 0;
    const RECT moved = ItemRect(horizontal, TBM_GETTHUMBRECT);
    const POINT beside{channel.left + 2, (moved.top + moved.bottom) / 2};
    ASSERT_FALSE(Inside(moved, beside.x, beside.y));
    ::SendMessageA(horizontal, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(beside.x, beside.y));
    ::SendMessageA(horizontal, WM_LBUTTONUP, 0, MAKELPARAM(beside.x, beside.y));
    PumpMessages();
    EXPECT_LT(::SendMessageA(horizontal, TBM_GETPOS, 0, 0), 4);
    EXPECT_GT(host.scrolls, 0);
}

} // namespace
} // namespace tolvan::test
