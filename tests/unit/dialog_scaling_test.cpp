// The scaling pass on a real dialog: children keep their design pixels whatever the resolution,
// the tool-tip labels keep their size, and every child is visible afterwards.
#include "dialog_template.h"

#include "app/dialog_scaling.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

// Controls of the test dialog besides the tool-tip label: any ids but the two labels'.
constexpr int kPushButton = 1010;
constexpr int kHiddenEdit = 1050;

INT_PTR CALLBACK Plain(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

int g_dpi = 96;
DisplayResolution TestResolution() {
    return {g_dpi, g_dpi};
}

RECT InParent(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class DialogScalingTest : public testing::Test {
protected:
    void SetUp() override {
        DialogTemplate t(WS_POPUP, 0, 0, 200, 120, "Scaling");
        t.Control("BUTTON", "Push", kPushButton, BS_PUSHBUTTON | WS_VISIBLE, 10, 10, 60, 14)
            .Control("STATIC", "Label", IDC_SCAN_MODE_LABEL, SS_LEFT | WS_VISIBLE, 10, 40, 40, 10)
            .Control("EDIT", "", kHiddenEdit, WS_BORDER, 80, 40, 50, 12); // hidden in the template
        dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), t.Get(), nullptr, Plain, 0);
        ASSERT_NE(dialog, nullptr);
        for (int id : {kPushButton, IDC_SCAN_MODE_LABEL, kHiddenEdit})
            before[id] = InParent(::GetDlgItem(dialog, id));
        font = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, VARIABLE_PITCH,
                             "Times New Roman");
    }
    void TearDown() override {
        ::DestroyWindow(dialog);
        ::DeleteObject(font);
    }
    HWND dialog = nullptr;
    HFONT font = nullptr;
    RECT before[1100]{};
};

TEST_F(DialogScalingTest, DisplayResolutionBringsChildrenBackToDesignPixels) {
    for (int dpi : {96, 120, 144}) {
        TearDown(); // a fresh dialog for each resolution
        SetUp();
        g_dpi = dpi;
        ScaleDialogChildren(dialog, font, ScaleFactors{}, &TestResolution);
        const double f = 96.0 / dpi;
        const RECT b = before[kPushButton], a = InParent(::GetDlgItem(dialog, kPushButton));
        EXPECT_EQ(a.left, static_cast<int>(b.left * f)) << dpi;
        EXPECT_EQ(a.top, static_cast<int>(b.top * f)) << dpi;
        EXPECT_EQ(a.right, static_cast<int>(b.right * f)) << dpi;
        EXPECT_EQ(a.bottom, static_cast<int>(b.bottom * f)) << dpi;

        // The label moves but keeps its size.
        const RECT lb = before[IDC_SCAN_MODE_LABEL], la = InParent(::GetDlgItem(dialog, IDC_SCAN_MODE_LABEL));
        EXPECT_EQ(la.left, static_cast<int>(lb.left * f));
        EXPECT_EQ(la.right - la.left, lb.right - lb.left);
        EXPECT_EQ(la.bottom - la.top, lb.bottom - lb.top);

        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(dialog, kHiddenEdit), GWL_STYLE) & WS_VISIBLE);
        EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(::GetDlgItem(dialog, kPushButton), WM_GETFONT, 0, 0)), font);
    }
    g_dpi = 96;
}

TEST_F(DialogScalingTest, StoredFactorsWinOverTheDisplay) {
    g_dpi = 144;
    ScaleDialogChildren(dialog, font, ScaleFactors{0.75f, 0.5f}, &TestResolution);
    const RECT b = before[kPushButton], a = InParent(::GetDlgItem(dialog, kPushButton));
    EXPECT_EQ(a.left, static_cast<int>(b.left * 0.75));
    EXPECT_EQ(a.right, static_cast<int>(b.right * 0.75));
    EXPECT_EQ(a.top, static_cast<int>(b.top * 0.5));
    EXPECT_EQ(a.bottom, static_cast<int>(b.bottom * 0.5));
    g_dpi = 96;
}

TEST_F(DialogScalingTest, NinetySixDpiWithUnitFactorsKeepsEveryRectangle) {
    ScaleDialogChildren(dialog, font, ScaleFactors{}, &TestResolution);
    for (int id : {kPushButton, IDC_SCAN_MODE_LABEL, kHiddenEdit}) {
        const RECT a = InParent(::GetDlgItem(dialog, id));
        EXPECT_TRUE(::EqualRect(&a, &before[id])) << id;
    }
}

// The main window's factors come from its own dialog units, whatever font sets them: with them, a child laid out
// at x, y dialog units lands on its design pixels (a 4 x 8 unit cell is 6 x 14 pixels), within rounding.
TEST(ScaleFactorsFromDialogUnits, BringEveryFontsLayoutBackToTheDesignPixels) {
    for (WORD points : {6, 8, 12, 16}) {
        DialogTemplate t(WS_POPUP, 0, 0, 300, 200, "Units", points, "Times New Roman");
        t.Control("BUTTON", "Push", kPushButton, BS_PUSHBUTTON | WS_VISIBLE, 40, 96, 80, 24);
        HWND dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), t.Get(), nullptr, Plain, 0);
        ASSERT_NE(dialog, nullptr);
        RECT cell{0, 0, 4, 8};
        ::MapDialogRect(dialog, &cell);
        const ScaleFactors factors = FactorsFromDialogUnits(dialog);
        // Larger fonts have larger units, which the factors shrink back.
        EXPECT_EQ(factors.x<1.0f, cell.right> 6) << points << " points";
        EXPECT_EQ(factors.y<1.0f, cell.bottom> 14) << points << " points";

        ScaleDialogChildren(dialog, nullptr, factors, &TestResolution);
        const RECT placed = InParent(::GetDlgItem(dialog, kPushButton));
        EXPECT_NEAR(placed.left, 40 * 6 / 4, 2) << points << " points";
        EXPECT_NEAR(placed.right, 120 * 6 / 4, 2) << points << " points";
        EXPECT_NEAR(placed.top, 96 * 14 / 8, 2) << points << " points";
        EXPECT_NEAR(placed.bottom, 120 * 14 / 8, 2) << points << " points";
        ::DestroyWindow(dialog);
    }
}

} // namespace
} // namespace tolvan::test
