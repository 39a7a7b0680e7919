// MultiLng.dll's exports called directly: the handle and argument checks, the caller's buffer
// size, and the list, combo box, list view and menu translations that the program itself does
// not call.
#include "driver/multilng/multilng_api.h"
#include "ui/unique_handle.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tolvan::test {
namespace {

using namespace tolvan::multilng;

template <class Fn> Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

class MultiLngExportsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(module.Get(), nullptr);
        ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", "de");
        ASSERT_EQ(newMultiLng(&context), S_OK);
        ASSERT_EQ(powerOn(context, TOLVAN_MESSAGE_FILE), S_OK);
    }
    void TearDown() override {
        freeMultiLng(&context);
        ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", nullptr);
    }

    UniqueModule module{::LoadLibraryA(TOLVAN_MULTILNG_DLL)};
    NewMultiLngFn newMultiLng = Export<NewMultiLngFn>(module.Get(), "NewMultiLng");
    FreeMultiLngFn freeMultiLng = Export<FreeMultiLngFn>(module.Get(), "FreeMultiLng");
    PowerOnFn powerOn = Export<PowerOnFn>(module.Get(), "PowerOn");
    TranslateStringFn translateString = Export<TranslateStringFn>(module.Get(), "TranslateString");
    TranslateWindowFn translateDialog = Export<TranslateWindowFn>(module.Get(), "TranslateDialog");
    TranslateWindowFn translateListBox = Export<TranslateWindowFn>(module.Get(), "TranslateListBox");
    TranslateWindowFn translateComboBox = Export<TranslateWindowFn>(module.Get(), "TranslateComboBox");
    TranslateWindowFn translateListCtrl = Export<TranslateWindowFn>(module.Get(), "TranslateListCtrl");
    TranslateMenuFn translateMenu = Export<TranslateMenuFn>(module.Get(), "TranslateMenu");
    HANDLE context = nullptr;
};

TEST_F(MultiLngExportsTest, RefusesMissingOrForeignHandlesAndPointers) {
    char text[kTextBytes] = "Apply";
    int size = kTextBytes;
    EXPECT_EQ(translateString(nullptr, text, &size), E_HANDLE);
    EXPECT_EQ(translateString(context, nullptr, &size), E_POINTER);
    EXPECT_STREQ(text, "Apply");
    EXPECT_EQ(powerOn(nullptr, TOLVAN_MESSAGE_FILE), E_HANDLE);
    EXPECT_EQ(newMultiLng(nullptr), E_POINTER);
    EXPECT_EQ(freeMultiLng(nullptr), E_POINTER);
    int notAContext = 0;
    EXPECT_EQ(translateDialog(&notAContext, ::GetDesktopWindow()), E_HANDLE);
    EXPECT_EQ(translateDialog(context, nullptr), E_INVALIDARG);
    EXPECT_EQ(translateMenu(context, nullptr), E_INVALIDARG);
    EXPECT_EQ(translateComboBox(context, ::GetDesktopWindow()), E_INVALIDARG); // not a combo box

    HANDLE second = nullptr;
    ASSERT_EQ(newMultiLng(&second), S_OK);
    EXPECT_EQ(freeMultiLng(&second), S_OK);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(freeMultiLng(&second), S_FALSE); // nothing left to free
}

TEST_F(MultiLngExportsTest, HonoursASmallerBufferSizeAndTreatsZeroAsTheUsualSize) {
    char text[kTextBytes] = "Apply";
    int size = 6;
    EXPECT_EQ(translateString(context, text, &size), S_OK);
    EXPECT_STREQ(text, "\xDC"
                       "bern"); // five characters and the terminator
    EXPECT_EQ(size, 6);         // never written

    std::strcpy(text, "Apply");
    size = 0;
    EXPECT_EQ(translateString(context, text, &size), S_OK);
    EXPECT_STREQ(text, "\xDC"
                       "bernehmen");
    std::strcpy(text, "Apply");
    EXPECT_EQ(translateString(context, text, nullptr), S_OK);
    EXPECT_STREQ(text, "\xDC"
                       "bernehmen");
}

TEST_F(MultiLngExportsTest, ListEntriesKeepTheirPlaceDataAndSelection) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HWND combo = ::CreateWindowExA(0, "ComboBox", "", CBS_DROPDOWNLIST | WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                   instance, nullptr);
    HWND list = ::CreateWindowExA(0, "ListBox", "", LBS_MULTIPLESEL | WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  instance, nullptr);
    ASSERT_TRUE(combo && list);
    const char* texts[] = {"Color", "Not one of the program's texts", "Grayscale"};
    for (int i = 0; i < 3; ++i) {
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i]));
        ::SendMessageA(combo, CB_SETITEMDATA, i, 100 + i);
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i]));
        ::SendMessageA(list, LB_SETITEMDATA, i, 200 + i);
    }
    ::SendMessageA(combo, CB_SETCURSEL, 2, 0);
    ::SendMessageA(list, LB_SETSEL, TRUE, 0);
    ::SendMessageA(list, LB_SETSEL, TRUE, 2);

    EXPECT_EQ(translateComboBox(context, combo), S_OK);
    EXPECT_EQ(translateListBox(context, list), S_OK);
    const char* expected[] = {"Farbe", "Not one of the program's texts", "Graustufen"};
    for (int i = 0; i < 3; ++i) {
        char text[kTextBytes] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, expected[i]);
        EXPECT_EQ(::SendMessageA(combo, CB_GETITEMDATA, i, 0), 100 + i);
        ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, expected[i]);
        EXPECT_EQ(::SendMessageA(list, LB_GETITEMDATA, i, 0), 200 + i);
        EXPECT_EQ(::SendMessageA(list, LB_GETSEL, i, 0) > 0, i != 1);
    }
    EXPECT_EQ(::SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(translateComboBox(context, combo), S_FALSE);
    ::DestroyWindow(combo);
    ::DestroyWindow(list);
}

TEST_F(MultiLngExportsTest, ListViewHeadingsAndCellsAreTranslated) {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&init));
    HWND view = ::CreateWindowExA(0, WC_LISTVIEWA, "", LVS_REPORT | WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(view, nullptr);
    char heading0[] = "Color";
    char heading1[] = "Kept";
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 80;
    column.pszText = heading0;
    ::SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = heading1;
    ::SendMessageA(view, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    char cell0[] = "Apply";
    char cell1[] = "Exit";
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = cell0;
    ::SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = cell1;
    ::SendMessageA(view, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));

    EXPECT_EQ(translateListCtrl(context, view), S_OK);
    char text[kTextBytes] = {};
    column = {};
    column.mask = LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    ::SendMessageA(view, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(text, "Farbe");
    ::SendMessageA(view, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(text, "Kept");
    item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(view, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "\xDC"
                       "bernehmen");
    item.iSubItem = 1;
    ::SendMessageA(view, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Beenden");
    ::DestroyWindow(view);
}

std::string MenuText(HMENU menu, UINT position) {
    char text[kTextBytes] = {};
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(MultiLngExportsTest, MenuItemsAndSubmenusAreTranslated) {
    HMENU menu = ::CreateMenu();
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuA(sub, MF_STRING, 11, "Exit");
    ::AppendMenuA(sub, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(sub, MF_STRING, 12, "Kept");
    ::AppendMenuA(menu, MF_STRING, 1, "Apply");
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Default");

    EXPECT_EQ(translateMenu(context, menu), S_OK);
    EXPECT_EQ(MenuText(menu, 0), "\xDC"
                                 "bernehmen");
    EXPECT_EQ(MenuText(menu, 1), "Standard");
    EXPECT_EQ(MenuText(sub, 0), "Beenden");
    EXPECT_EQ(MenuText(sub, 2), "Kept");
    EXPECT_EQ(::GetMenuItemID(sub, 0), 11u); // the command stays
    EXPECT_EQ(translateMenu(context, menu), S_FALSE);
    ::DestroyMenu(menu);
}

} // namespace
} // namespace tolvan::test
