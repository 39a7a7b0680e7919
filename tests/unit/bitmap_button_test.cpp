// The bitmap button on a real host dialog, driven with real mouse messages: which bitmap each state shows, the
// hover with its capture and its two repaints, latching, shaped buttons, pressing, and the white captions.
#include "control_host.h"
#include "controls_test_ids.h"

#include "controls/bitmap_button.h"
#include "res/resource.h"
#include "ui/gdi.h"
#include "ui/unique_handle.h"

#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

constexpr int kButtonId = 1200;
constexpr int kWidth = 64; // the test bitmaps' size
constexpr int kHeight = 32;
constexpr POINT kInside{kWidth / 2, kHeight / 2};
constexpr POINT kOutside{kWidth + 8, kHeight / 2}; // seen only through the capture

LPARAM At(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

class BitmapButtonTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Open()); }

    void MakeButton(CBitmapButton& target, UINT normal, UINT selected, UINT focus, UINT disabled, UINT hover,
                    int id = kButtonId, POINT origin = {20, 20}) {
        const RECT rect{origin.x, origin.y, origin.x + kWidth, origin.y + kHeight};
        ASSERT_TRUE(target.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, host.Handle(), id));
        ASSERT_TRUE(target.SetBitmaps(normal, selected, focus, disabled, hover));
        ::UpdateWindow(target.Handle());
        PumpMessages();
        host.ResetCounts();
    }
    void MakeButton() {
        MakeButton(button, IDB_TEST_NORMAL, IDB_TEST_SELECTED, IDB_TEST_FOCUS, IDB_TEST_DISABLED, IDB_TEST_HOVER);
    }

    void Send(UINT msg, WPARAM wParam, POINT point) {
        ::SendMessageA(button.Handle(), msg, wParam, At(point));
        PumpMessages();
    }
    void MoveTo(POINT point) { Send(WM_MOUSEMOVE, 0, point); }
    // Lets repaints that anything posted or timed (the common controls' own hot tracking) come through.
    static void Settle() {
        PumpUntil([] { return false; }, 50);
    }

    COLORREF Shown() const { return Screenshot(button.Handle()).At(kInside.x, kInside.y); }
    int Draws() const { return host.Draws(kButtonId); }
    HWND Capture() const { return ::GetCapture(); }

    ControlHost host{IDD_BUTTON_HOST};
    CBitmapButton button;
    const COLORREF normal = BitmapColour(IDB_TEST_NORMAL);
    const COLORREF selected = BitmapColour(IDB_TEST_SELECTED);
    const COLORREF focus = BitmapColour(IDB_TEST_FOCUS);
    const COLORREF disabled = BitmapColour(IDB_TEST_DISABLED);
    const COLORREF hover = BitmapColour(IDB_TEST_HOVER);
};

TEST_F(BitmapButtonTest, HoverRepaintsOnceOnEnteringAndOnceOnLeaving) {
    MakeButton();
    MoveTo({1, 1});
    EXPECT_EQ(Draws(), 1);
    EXPECT_EQ(Capture(), button.Handle());
    EXPECT_EQ(Shown(), hover);

    for (int x = 4; x < kWidth; x += 9)
        MoveTo({x, kHeight / 3});
    Settle();
    EXPECT_EQ(Draws(), 1);
    EXPECT_EQ(Capture(), button.Handle());

    MoveTo(kOutside);
    EXPECT_EQ(Draws(), 2);
    EXPECT_EQ(Capture(), nullptr);
    EXPECT_EQ(Shown(), normal);
    Settle();
    EXPECT_EQ(Draws(), 2);
}

TEST_F(BitmapButtonTest, EachStateShowsItsBitmapOrElseTheNormalOne) {
    CBitmapButton partial;
    MakeButton(partial, IDB_TEST_NORMAL, IDB_TEST_SELECTED, 0, 0, 0, kButtonId + 1, {100, 20});
    MakeButton();
    struct Case {
        CBitmapButton* target;
        COLORREF focused, pressed, hovered, disabled;
    };
    const Case cases[] = {
        {&button, focus, selected, hover, disabled},
        {&partial, normal, selected, normal, normal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target == &button ? "all five bitmaps" : "normal and selected only");
        HWND target = c.target->Handle();
        const auto shown = [target] { return Screenshot(target).At(kInside.x, kInside.y); };
        EXPECT_EQ(shown(), normal);
        ::SetFocus(target);
        PumpMessages();
        EXPECT_EQ(shown(), c.focused);
        ::SendMessageA(target, BM_SETSTATE, TRUE, 0);
        PumpMessages();
        EXPECT_EQ(shown(), c.pressed); // pressed before focused
        ::SendMessageA(target, BM_SETSTATE, FALSE, 0);
        ::SetFocus(host.Handle());
        PumpMessages();

        ::SendMessageA(target, WM_MOUSEMOVE, 0, At(kInside));
        EXPECT_EQ(shown(), c.hovered);
        EXPECT_EQ(Capture(), target); // the hover is tracked even without a picture of its own
        ::SendMessageA(target, WM_MOUSEMOVE, 0, At(kOutside));

        ::EnableWindow(target, FALSE);
        PumpMessages();
        EXPECT_EQ(shown(), c.disabled);
        ::EnableWindow(target, TRUE);
        PumpMessages();
        EXPECT_EQ(shown(), normal);
    }
}

TEST_F(BitmapButtonTest, LatchedButtonShowsSelectedAlsoWhileHovered) {
    MakeButton();
    button.SetLatched(true);
    EXPECT_EQ(Draws(), 1); // repainted at once
    EXPECT_EQ(Shown(), selected);
    MoveTo(kInside);
    EXPECT_EQ(Shown(), selected);
    EXPECT_EQ(Capture(), button.Handle());

    button.SetLatched(false);
    EXPECT_TRUE(!button.IsLatched());
    EXPECT_EQ(Shown(), hover);
    MoveTo(kOutside);
    EXPECT_EQ(Shown(), normal);
}

TEST_F(BitmapButtonTest, DisablingAHoveredButtonDropsHoverAndCapture) {
    MakeButton();
    MoveTo(kInside);
    ASSERT_EQ(Capture(), button.Handle());

    button.Enable(false);
    PumpMessages();
    EXPECT_EQ(Capture(), nullptr);
    EXPECT_EQ(Shown(), disabled);
    MoveTo(kInside); // a disabled button tracks nothing
    EXPECT_EQ(Capture(), nullptr);

    button.Enable(true);
    PumpMessages();
    EXPECT_EQ(Shown(), normal);
}

TEST_F(BitmapButtonTest, ShapedButtonIgnoresItsTransparentCornersAndDrawsOnlyInsideItsRegion) {
    MakeButton();
    ASSERT_NE(::SetWindowRgn(button.Handle(), ::CreateEllipticRgn(0, 0, kWidth, kHeight), TRUE), 0);
    PumpMessages();
    host.ResetCounts();

    const POINT corner{2, 2};
    MoveTo(corner);
    EXPECT_EQ(Capture(), nullptr);
    EXPECT_EQ(Draws(), 0);
    MoveTo(kInside);
    EXPECT_EQ(Capture(), button.Handle());
    EXPECT_EQ(Draws(), 1);
    MoveTo(corner);
    EXPECT_EQ(Capture(), nullptr);
    EXPECT_EQ(Draws(), 2);

    // Printed into a DC that no window region clips, the corner keeps what was there.
    const WindowDC screen(button.Handle());
    const MemoryDC memory(screen.Get());
    UniqueBitmap canvas(::CreateCompatibleBitmap(screen.Get(), kWidth, kHeight));
    ASSERT_TRUE(memory && canvas);
    const ScopedSelectObject select(memory.Get(), canvas.Get());
    constexpr COLORREF kMarker = RGB(0, 255, 255);
    const RECT all{0, 0, kWidth, kHeight};
    UniqueBrush marker(::CreateSolidBrush(kMarker));
    ::FillRect(memory.Get(), &all, marker.Get());
    ::SendMessageA(button.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    EXPECT_EQ(::GetPixel(memory.Get(), corner.x, corner.y), kMarker);
    EXPECT_EQ(::GetPixel(memory.Get(), kInside.x, kInside.y), normal);
}

TEST_F(BitmapButtonTest, ReleaseOutsideEndsHoverWithoutClickAndReleaseInsideClicks) {
    MakeButton();
    MoveTo(kInside);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    EXPECT_EQ(::GetFocus(), button.Handle());
    EXPECT_EQ(Shown(), selected);
    Send(WM_MOUSEMOVE, MK_LBUTTON, kOutside); // the push button's own tracking; the hover stays
    EXPECT_EQ(Capture(), button.Handle());
    Send(WM_LBUTTONUP, 0, kOutside);
    EXPECT_EQ(host.Clicks(kButtonId), 0);
    EXPECT_EQ(Capture(), nullptr);
    EXPECT_EQ(Shown(), focus);

    MoveTo(kInside);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kInside);
    Send(WM_LBUTTONUP, 0, kInside);
    EXPECT_EQ(host.Clicks(kButtonId), 1);
    EXPECT_EQ(Capture(), button.Handle()); // still over it
    EXPECT_EQ(Shown(), hover);
}

TEST_F(BitmapButtonTest, SetBitmapsFailsWithoutALoadableNormalBitmapAndThenHoldsNone) {
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, {20, 20, 20 + kWidth, 20 + kHeight},
                              host.Handle(), kButtonId));
    EXPECT_FALSE(button.SetBitmaps(0, IDB_TEST_SELECTED, 0, 0, 0));
    EXPECT_FALSE(button.SizeToBitmap());

    ASSERT_TRUE(button.SetBitmaps(IDB_TEST_NORMAL, IDB_TEST_SELECTED, 0, 0, 0));
    EXPECT_FALSE(button.SetBitmaps(IDB_TEST_MISSING, IDB_TEST_SELECTED, 0, 0, 0));
    EXPECT_FALSE(button.SizeToBitmap());
    button.SetLatched(true);
    EXPECT_NE(Shown(), selected);

    // A missing bitmap of another state is no failure: that state shows the normal bitmap.
    EXPECT_TRUE(button.SetBitmaps(IDB_TEST_NORMAL, IDB_TEST_MISSING, 0, 0, 0));
    button.SetLatched(true);
    EXPECT_EQ(Shown(), normal);
}

TEST_F(BitmapButtonTest, SizeToBitmapTakesTheNormalBitmapsSizeInPlace) {
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, {30, 40, 35, 45}, host.Handle(), kButtonId));
    ASSERT_TRUE(button.SetBitmaps(IDB_TEST_LARGE, 0, 0, 0, 0));
    BITMAP large{};
    UniqueBitmap loaded(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TEST_LARGE)));
    ASSERT_NE(::GetObjectA(loaded.Get(), sizeof large, &large), 0);
    ASSERT_NE(large.bmWidth, kWidth);

    EXPECT_TRUE(button.SizeToBitmap());
    const RECT placed = button.RectInParent();
    EXPECT_EQ(placed.left, 30);
    EXPECT_EQ(placed.top, 40);
    EXPECT_EQ(placed.right - placed.left, large.bmWidth);
    EXPECT_EQ(placed.bottom - placed.top, large.bmHeight);
}

TEST(BitmapButtonCaption, LongTextIsSplitAfterItsEighthCharacterAboveNinetySixDpi) {
    struct Case {
        const char* text;
        int dpi;
        const char* drawn;
        int top;
    };
    const Case cases[] = {
        {"Apply", 120, "Apply", 10},
        {"Restore best", 120, "Restore best", 10}, // 12 characters
        {"Restore bests", 120, "Restore -\nbests", 2},
        {"Restore bests", 96, "Restore bests", 10},
        {"Restore bests", 0, "Restore bests", 10}, // resolution unknown
        {"Two\nlines", 96, "Two\nlines", 2},
        {"", 144, "", 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " at " << c.dpi);
        const ButtonCaption caption = LayOutButtonCaption(c.text, c.dpi);
        EXPECT_EQ(caption.text, c.drawn);
        EXPECT_EQ(caption.top, c.top);
    }
}

// The display's resolution as the caption rule reads it, for the life of the object.
class DisplayDpi {
public:
    explicit DisplayDpi(int dpi) {
        s_dpi = dpi;
        CBitmapButton::SetDisplayDpiReader([] { return s_dpi; });
    }
    ~DisplayDpi() { CBitmapButton::SetDisplayDpiReader(nullptr); }
    DisplayDpi(const DisplayDpi&) = delete;
    DisplayDpi& operator=(const DisplayDpi&) = delete;

private:
    static inline int s_dpi = 0;
};

TEST_F(BitmapButtonTest, WhiteCaptionsOnlyOnDefaultApplyAndExitInOneOrTwoLines) {
    const DisplayDpi display(120);
    constexpr COLORREF kWhite = RGB(255, 255, 255);
    struct Case {
        int id;
        const char* text;
        bool white;
        bool twoLines;
    };
    const Case cases[] = {
        {IDC_DEFAULT, "Restore best", true, false}, {IDC_DEFAULT, "Restore bests", true, true},
        {IDC_APPLY, "Apply", true, false},          {IDC_EXIT, "Exit", true, false},
        {kButtonId, "Exit", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.text);
        CBitmapButton captioned;
        ASSERT_TRUE(
            captioned.Create(c.text, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, {10, 10, 20, 20}, host.Handle(), c.id));
        ASSERT_TRUE(captioned.SetBitmaps(IDB_TEST_DARK, 0, 0, 0, 0));
        ASSERT_TRUE(captioned.SizeToBitmap());
        ::InvalidateRect(captioned.Handle(), nullptr, FALSE);
        ::UpdateWindow(captioned.Handle());
        const Screenshot shot(captioned.Handle());
        const int firstWhiteRow = shot.FirstRowWith(kWhite);
        if (!c.white) {
            EXPECT_EQ(firstWhiteRow, -1);
            continue;
        }
        ASSERT_GE(firstWhiteRow, 2);
        if (c.twoLines) {
            EXPECT_LT(firstWhiteRow, 10);
            EXPECT_GT(shot.Count(kWhite, {0, 22, shot.Width(), shot.Height()}), 0); // the second line
        } else {
            EXPECT_GE(firstWhiteRow, 10);
        }
    }
}

} // namespace
} // namespace tolvan::test
