// The colour button in a dialog from a template, as the pages use it: its frame, background and text colours,
// the focus rectangle (also while pressed), the grey text of a disabled button, and the items it refuses.
#include "control_host.h"
#include "controls_test_ids.h"

#include "controls/colour_button.h"
#include "controls/skin_colours.h"

#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

class ColorButtonTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open());
        item = host.Item(IDC_COLOUR_BUTTON);
        ASSERT_TRUE(button.SubclassWithColors(IDC_COLOUR_BUTTON, host.Handle(), kPageColour, kButtonTextColour,
                                              kDisabledTextColour));
        Redraw();
    }

    void Redraw() const {
        ::InvalidateRect(item, nullptr, FALSE);
        ::UpdateWindow(item);
        PumpMessages();
    }
    Screenshot Shot() const { return Screenshot(item); }
    // Inside the focus rectangle, where the text is.
    static RECT Inside(const Screenshot& shot) { return {3, 3, shot.Width() - 3, shot.Height() - 3}; }

    ControlHost host{IDD_COLOUR_HOST};
    CColorButton button;
    HWND item = nullptr;
};

TEST_F(ColorButtonTest, RaisedFrameAroundTheBackgroundWithTheTextInItsColour) {
    const Screenshot shot = Shot();
    const int w = shot.Width();
    const int h = shot.Height();
    ASSERT_GT(w, 20);
    ASSERT_GT(h, 10);
    // Lit top and left edges, corners included; shaded bottom and right edges inside them.
    for (int x = 0; x < w; ++x)
        EXPECT_EQ(shot.At(x, 0), kWhite) << x;
    for (int y = 0; y < h; ++y)
        EXPECT_EQ(shot.At(0, y), kWhite) << y;
    for (int x = 1; x < w; ++x)
        EXPECT_EQ(shot.At(x, h - 1), kGrey) << x;
    for (int y = 1; y < h; ++y)
        EXPECT_EQ(shot.At(w - 1, y), kGrey) << y;

    EXPECT_EQ(shot.At(1, 1), kPageColour);
    EXPECT_EQ(shot.At(w - 2, h - 2), kPageColour);
    EXPECT_EQ(shot.Count(kPageColour, {1, 1, w - 1, 3}), (w - 2) * 2); // no focus rectangle
    EXPECT_GT(shot.Count(kButtonTextColour, Inside(shot)), 0);
    EXPECT_EQ(shot.Count(kGrey, Inside(shot)), 0);
}

TEST_F(ColorButtonTest, FocusRectangleTwoPixelsInsideAlsoWhilePressed) {
    ::SetFocus(item);
    PumpMessages();
    const Screenshot focused = Shot();
    const int w = focused.Width();
    const int h = focused.Height();
    // The dotted rectangle changes every other pixel of its edges and leaves the ring outside it alone.
    EXPECT_GE(w - 4 - focused.Count(kPageColour, {2, 2, w - 2, 3}), (w - 4) / 2 - 1);
    EXPECT_GE(h - 4 - focused.Count(kPageColour, {2, 2, 3, h - 2}), (h - 4) / 2 - 1);
    EXPECT_EQ(focused.Count(kPageColour, {1, 1, w - 1, 2}), w - 2);
    EXPECT_EQ(focused.Count(kPageColour, {1, 1, 2, h - 1}), h - 2);
    EXPECT_EQ(focused.At(0, 0), kWhite);

    ::SendMessageA(item, BM_SETSTATE, TRUE, 0);
    PumpMessages();
    EXPECT_TRUE(Shot() == focused);
    ::SendMessageA(item, BM_SETSTATE, FALSE, 0);
}

TEST_F(ColorButtonTest, DisabledTextIsGreyOnTheSameBackgroundAndFrame) {
    const Screenshot enabled = Shot();
    ::EnableWindow(item, FALSE);
    PumpMessages();
    const Screenshot shot = Shot();
    const RECT inside = Inside(shot);
    EXPECT_GT(shot.Count(kGrey, inside), 0);
    EXPECT_EQ(shot.Count(kButtonTextColour, inside), 0);
    EXPECT_EQ(shot.Count(kGrey, inside), enabled.Count(kButtonTextColour, inside)); // the same text, overdrawn
    EXPECT_EQ(shot.At(0, 0), kWhite);
    EXPECT_EQ(shot.At(shot.Width() - 1, shot.Height() - 1), kGrey);
}

TEST_F(ColorButtonTest, RefusesItemsThatAreMissingOrNotOwnerDrawn) {
    CColorButton other;
    EXPECT_FALSE(
        other.SubclassWithColors(IDC_PLAIN_BUTTON, host.Handle(), kPageColour, kButtonTextColour, kDisabledTextColour));
    EXPECT_EQ(CControl::FromHandle(host.Item(IDC_PLAIN_BUTTON)), nullptr);
    EXPECT_FALSE(other.Handle());
    EXPECT_FALSE(other.SubclassWithColors(4321, host.Handle(), kPageColour, kButtonTextColour, kDisabledTextColour));
    EXPECT_FALSE(
        other.SubclassWithColors(IDC_COLOUR_BUTTON, nullptr, kPageColour, kButtonTextColour, kDisabledTextColour));
    EXPECT_FALSE(other.Handle());
}

} // namespace
} // namespace tolvan::test
