// The tool tip control with texts from the string table: what a tool is (the whole window, or an area of it),
// its text as loaded or as translated, nothing added without an application, and the window's lifetime.
#include "control_host.h"
#include "controls_test_ids.h"
#include "language_request.h"

#include "app/app_services.h"
#include "controls/tool_tip.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <iterator>
#include <string>

namespace tolvan::test {
namespace {

class ToolTipTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open());
        ASSERT_TRUE(tip.Create(host.Handle(), TTS_ALWAYSTIP));
        tool = host.Item(IDC_PLAIN_BUTTON);
    }

    // The tool as the control holds it; text receives its text.
    TOOLINFOA Tool(HWND window, UINT_PTR id, std::string* text = nullptr) {
        char buffer[1024] = {}; // the longest text the control hands out
        TOOLINFOA info{};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.hwnd = window;
        info.uId = id;
        info.lpszText = buffer;
        EXPECT_TRUE(tip.Send(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
        info.lpszText = nullptr;
        if (text) {
            // The ANSI form hands out no more than 80 bytes of a text; the wide one hands out all of it.
            wchar_t wide[1024] = {};
            TOOLINFOW query{};
            query.cbSize = TTTOOLINFOW_V2_SIZE;
            query.hwnd = window;
            query.uId = id;
            query.lpszText = wide;
            tip.Send(TTM_GETTEXTW, std::size(wide), reinterpret_cast<LPARAM>(&query));
            const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
            text->assign(buffer, bytes > 0 ? static_cast<size_t>(bytes - 1) : 0);
        }
        return info;
    }
    int ToolCount() const { return static_cast<int>(tip.Send(TTM_GETTOOLCOUNT)); }
    static std::string Loaded(UINT id) {
        char text[260] = {};
        ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
        return text;
    }

    ControlHost host{IDD_COLOUR_HOST};
    CToolTipCtrl tip;
    CAppServices app{SystemFacts{}}; // no translation module: texts stay as loaded
    HWND tool = nullptr;
};

TEST_F(ToolTipTest, ToolIdZeroMakesTheWholeWindowAToolWithItsTextAsLoaded) {
    EXPECT_NE(tip.AddTranslatedTool(tool, IDS_TEST_TIP, nullptr, 0, &app), 0);
    ASSERT_EQ(ToolCount(), 1);
    std::string text;
    const TOOLINFOA info = Tool(host.Handle(), reinterpret_cast<UINT_PTR>(tool), &text);
    EXPECT_EQ(info.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
    EXPECT_EQ(text, Loaded(IDS_TEST_TIP));
    EXPECT_FALSE(text.empty());
}

TEST_F(ToolTipTest, OtherToolIdsMakeAnAreaOfTheWindowATool) {
    const RECT area{5, 6, 50, 30};
    EXPECT_NE(tip.AddTranslatedTool(host.Handle(), IDS_TEST_TIP, &area, 7, &app), 0);
    EXPECT_NE(tip.AddTranslatedTool(tool, IDS_TEST_TIP, nullptr, 8, &app), 0);
    ASSERT_EQ(ToolCount(), 2);

    const TOOLINFOA given = Tool(host.Handle(), 7);
    EXPECT_EQ(given.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_SUBCLASS));
    EXPECT_TRUE(::EqualRect(&given.rect, &area));
    const TOOLINFOA whole = Tool(tool, 8);
    const RECT client = CWindow(tool).ClientRect();
    EXPECT_TRUE(::EqualRect(&whole.rect, &client));
}

TEST_F(ToolTipTest, NothingIsAddedWithoutAnApplicationOrAToolTipWindow) {
    EXPECT_EQ(tip.AddTranslatedTool(tool, IDS_TEST_TIP, nullptr, 0, nullptr), 0);
    EXPECT_EQ(ToolCount(), 0);
    CToolTipCtrl uncreated;
    EXPECT_EQ(uncreated.AddTranslatedTool(tool, IDS_TEST_TIP, nullptr, 0, &app), 0);
}

TEST_F(ToolTipTest, TheToolTipWindowGoesWithItsObject) {
    HWND window = nullptr;
    {
        CToolTipCtrl own;
        ASSERT_TRUE(own.Create(host.Handle(), 0));
        window = own.Handle();
        EXPECT_EQ(::GetWindow(window, GW_OWNER), host.Handle());
    }
    EXPECT_FALSE(::IsWindow(window));

    // A tool tip whose owner went first is gone already; its object lets go of it.
    CToolTipCtrl orphan;
    {
        ControlHost owner(IDD_BUTTON_HOST);
        ASSERT_TRUE(owner.Open());
        ASSERT_TRUE(orphan.Create(owner.Handle(), 0));
    }
    EXPECT_FALSE(orphan.Handle());
}

TEST_F(ToolTipTest, TextsPassThroughTheTranslationModuleWhole) {
    const LanguageRequest german("de");
    ASSERT_TRUE(app.Translation().Load(TOLVAN_MULTILNG_DLL));
    ASSERT_EQ(app.Translation().PowerOn(TOLVAN_MESSAGE_FILE), S_OK);
    ASSERT_NE(tip.AddTranslatedTool(tool, IDS_TEST_TIP, nullptr, 0, &app), 0);
    std::string text;
    Tool(host.Handle(), reinterpret_cast<UINT_PTR>(tool), &text);
    EXPECT_EQ(text, "Scans als Dateien speichern");

    // A translation as long as the module writes (259 characters and the terminator) reaches the tool whole.
    ASSERT_EQ(app.Translation().PowerOn(TOLVAN_LONG_MESSAGE_FILE), S_OK);
    ASSERT_NE(tip.AddTranslatedTool(host.Handle(), IDS_TEST_LONG_TIP, nullptr, 9, &app), 0);
    Tool(host.Handle(), 9, &text);
    EXPECT_EQ(text, std::string(259, '\xDC'));
}

} // namespace
} // namespace tolvan::test
