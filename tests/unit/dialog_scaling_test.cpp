// The scaling pass on a real dialog: children keep their design pixels whatever the resolution,
// the tool-tip labels keep their size, and every child is visible afterwards.
#include "dialog_template.h"

#include "app/dialog_scaling.h"

#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

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
        t.Control("BUTTON", "Push", 1010, BS_PUSHBUTTON | WS_VISIBLE, 10, 10, 60, 14)
            .Control("STATIC", "Label", 1068, SS_LEFT | WS_VISIBLE, 10, 40, 40, 10)
            .Control("EDIT", "", 1050, WS_BORDER, 80, 40, 50, 12); // hidden in the template
        dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), t.Get(), nullptr, Plain, 0);
        ASSERT_NE(dialog, nullptr);
        for (int id : {1010, 1068, 1050})
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
        const RECT b = before[1010], a = InParent(::GetDlgItem(dialog, 1010));
        EXPECT_EQ(a.left, static_cast<int>(b.left * f)) << dpi;
        EXPECT_EQ(a.top, static_cast<int>(b.top * f)) << dpi;
        EXPECT_EQ(a.right, static_cast<int>(b.right * f)) << dpi;
        EXPECT_EQ(a.bottom, static_cast<int>(b.bottom * f)) << dpi;

        // The label moves but keeps its size.
        const RECT lb = before[1068], la = InParent(::GetDlgItem(dialog, 1068));
        EXPECT_EQ(la.left, static_cast<int>(lb.left * f));
        EXPECT_EQ(la.right - la.left, lb.right - lb.left);
        EXPECT_EQ(la.bottom - la.top, lb.bottom - lb.top);

        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(dialog, 1050), GWL_STYLE) & WS_VISIBLE);
        EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(::GetDlgItem(dialog, 1010), WM_GETFONT, 0, 0)), font);
    }
    g_dpi = 96;
}

TEST_F(DialogScalingTest, StoredFactorsWinOverTheDisplay) {
    g_dpi = 144;
    ScaleDialogChildren(dialog, font, ScaleFactors{0.75f, 0.5f}, &TestResolution);
    const RECT b = before[1010], a = InParent(::GetDlgItem(dialog, 1010));
    EXPECT_EQ(a.left, static_cast<int>(b.left * 0.75));
    EXPECT_EQ(a.right, static_cast<int>(b.right * 0.75));
    EXPECT_EQ(a.top, static_cast<int>(b.top * 0.5));
    EXPECT_EQ(a.bottom, static_cast<int>(b.bottom * 0.5));
    g_dpi = 96;
}

TEST_F(DialogScalingTest, NinetySixDpiWithUnitFactorsKeepsEveryRectangle) {
    ScaleDialogChildren(dialog, font, ScaleFactors{}, &TestResolution);
    for (int id : {1010, 1068, 1050}) {
        const RECT a = InParent(::GetDlgItem(dialog, id));
        EXPECT_TRUE(::EqualRect(&a, &before[id])) << id;
    }
}

} // namespace
} // namespace tolvan::test
