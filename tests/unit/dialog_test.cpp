// The dialog base on a real modeless dialog: its item helpers, and the destruction of a dialog object whose window
// is still open, where the window must stop reaching the object before the object's parts are gone.
#include "controls_test_ids.h"

#include "ui/dialog.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvan::test {
namespace {

constexpr int kMissingId = 999;
constexpr char kProbeClass[] = "TolvanDestroyProbe";

// What the parent's dialog procedure would find while its children are destroyed.
LONG_PTR g_parentUserDuringDestroy = -1;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY)
        g_parentUserDuringDestroy = ::GetWindowLongPtrA(::GetParent(hwnd), DWLP_USER);
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

class Host : public CDialog {
public:
    Host() : CDialog(IDD_COLOUR_HOST) {}
    using CDialog::EnableItem;
    using CDialog::SetItemText;
    using CDialog::ShowItem;

protected:
    BOOL OnInitDialog() override {
        ::CreateWindowExA(0, kProbeClass, "", WS_CHILD, 0, 0, 1, 1, m_hwnd, nullptr, ::GetModuleHandleA(nullptr),
                          nullptr);
        return FALSE;
    }
};

class DialogTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA probe{};
        probe.lpfnWndProc = ProbeProc;
        probe.hInstance = ::GetModuleHandleA(nullptr);
        probe.lpszClassName = kProbeClass;
        ::RegisterClassA(&probe);
    }
};

std::string TextOf(HWND window) {
    char text[64] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST_F(DialogTest, ItemHelpersReachTheItemByIdAndIgnoreAMissingOne) {
    Host host;
    ASSERT_TRUE(host.Create(nullptr));
    const HWND button = host.Item(IDC_PLAIN_BUTTON);
    ASSERT_NE(button, nullptr);

    host.ShowItem(IDC_PLAIN_BUTTON, false);
    EXPECT_FALSE(::GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);
    host.ShowItem(IDC_PLAIN_BUTTON, true);
    EXPECT_TRUE(::GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);

    host.EnableItem(IDC_PLAIN_BUTTON, false);
    EXPECT_FALSE(::IsWindowEnabled(button));
    host.EnableItem(IDC_PLAIN_BUTTON, true);
    EXPECT_TRUE(::IsWindowEnabled(button));

    host.SetItemText(IDC_PLAIN_BUTTON, "Renamed");
    EXPECT_EQ(TextOf(button), "Renamed");

    host.ShowItem(kMissingId, false);
    host.EnableItem(kMissingId, false);
    host.SetItemText(kMissingId, "nowhere");
    EXPECT_TRUE(::IsWindow(button));
}

TEST_F(DialogTest, DestroyingTheObjectFirstCutsTheWindowLooseFromIt) {
    HWND window = nullptr;
    {
        Host host;
        ASSERT_TRUE(host.Create(nullptr));
        window = host.Handle();
        ASSERT_NE(::GetWindowLongPtrA(window, DWLP_USER), 0);
        g_parentUserDuringDestroy = -1;
    }
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(g_parentUserDuringDestroy, 0) << "the window still pointed at the object while it was destroyed";
}

} // namespace
} // namespace tolvan::test
