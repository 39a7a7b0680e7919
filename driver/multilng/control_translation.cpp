#include "driver/multilng/control_translation.h"

#include "driver/multilng/multilng_api.h"

#include <commctrl.h>

#include <cstring>

namespace tolvan::multilng {
namespace {

using Text = char[kTextBytes];

// The window text of these controls is the user's data or a list entry, not a caption: a combo box answers
// WM_GETTEXT with its selected entry, and an edit field with what the user typed.
bool HoldsData(HWND window) {
    static constexpr const char* kDataClasses[] = {
        "Edit",          "ComboBox",    "ComboBoxEx32", "ComboLBox",   "ListBox",         "SysListView32",
        "SysTreeView32", "RichEdit20A", "RichEdit20W",  "RICHEDIT50W", "msctls_updown32", "msctls_trackbar32"};
    char name[64] = {};
    if (::GetClassNameA(window, name, sizeof name) == 0)
        return false;
    for (const char* dataClass : kDataClasses) {
        if (::lstrcmpiA(name, dataClass) == 0)
            return true;
    }
    return false;
}

// Reads a window's text when it fits a text buffer; a longer one cannot be a source text anyway.
bool ReadWindowText(HWND window, Text& text) {
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0 || length >= kTextBytes)
        return false;
    std::memset(text, 0, sizeof text);
    return ::GetWindowTextA(window, text, sizeof text) > 0;
}

bool TranslateWindowText(const CTranslator& translator, HWND window) {
    Text text;
    if (!ReadWindowText(window, text) || translator.TranslateBuffer(text, sizeof text) != S_OK)
        return false;
    return ::SetWindowTextA(window, text) != FALSE;
}

struct DialogWalk {
    const CTranslator* translator;
    HWND dialog;
    bool changed;
};

BOOL CALLBACK TranslateChild(HWND child, LPARAM parameter) {
    auto* walk = reinterpret_cast<DialogWalk*>(parameter);
    // EnumChildWindows also visits grandchildren, such as the edit field inside a combo box; the data test
    // applies to them by their own class.
    if (!HoldsData(child) && TranslateWindowText(*walk->translator, child))
        walk->changed = true;
    return TRUE;
}

// Replaces one list entry by its translation, keeping its position, item data and selection. The messages
// differ between list boxes and combo boxes; their order and meaning do not.
struct ListMessages {
    UINT count, textLength, getText, deleteText, insertText, getData, setData;
};
constexpr ListMessages kListBox = {LB_GETCOUNT,     LB_GETTEXTLEN,  LB_GETTEXT,    LB_DELETESTRING,
                                   LB_INSERTSTRING, LB_GETITEMDATA, LB_SETITEMDATA};
constexpr ListMessages kComboBox = {CB_GETCOUNT,     CB_GETLBTEXTLEN, CB_GETLBTEXT,  CB_DELETESTRING,
                                    CB_INSERTSTRING, CB_GETITEMDATA,  CB_SETITEMDATA};

// Returns whether the entry was replaced.
bool TranslateListEntry(const CTranslator& translator, HWND list, const ListMessages& m, WPARAM index) {
    const LRESULT length = ::SendMessageA(list, m.textLength, index, 0);
    if (length <= 0 || length >= kTextBytes)
        return false;
    Text text = {};
    if (::SendMessageA(list, m.getText, index, reinterpret_cast<LPARAM>(text)) <= 0)
        return false;
    if (translator.TranslateBuffer(text, sizeof text) != S_OK)
        return false;
    const LRESULT data = ::SendMessageA(list, m.getData, index, 0);
    ::SendMessageA(list, m.deleteText, index, 0);
    const LRESULT at = ::SendMessageA(list, m.insertText, index, reinterpret_cast<LPARAM>(text));
    if (at < 0)
        return false;
    ::SendMessageA(list, m.setData, static_cast<WPARAM>(at), data);
    return true;
}

// Only lists that keep their own strings have texts to translate; owner-drawn lists without LBS_HASSTRINGS
// (CBS_HASSTRINGS) hold pointers of their owner in place of texts.
bool KeepsStrings(HWND list, LONG ownerDrawStyles, LONG hasStrings) {
    const LONG style = ::GetWindowLongA(list, GWL_STYLE);
    return (style & ownerDrawStyles) == 0 || (style & hasStrings) != 0;
}

bool IsClass(HWND window, const char* expected) {
    char name[64] = {};
    return ::GetClassNameA(window, name, sizeof name) > 0 && ::lstrcmpiA(name, expected) == 0;
}

bool TranslateListViewCell(const CTranslator& translator, HWND list, int item, int subItem) {
    Text text = {};
    LVITEMA cell = {};
    cell.iSubItem = subItem;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    if (::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)) <= 0)
        return false;
    text[sizeof text - 1] = '\0';
    if (translator.TranslateBuffer(text, sizeof text) != S_OK)
        return false;
    cell = {};
    cell.iSubItem = subItem;
    cell.pszText = text;
    return ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)) != 0;
}

// Menus can share submenus, and a broken menu could even contain itself; the depth bound keeps the walk finite.
constexpr int kMaxMenuDepth = 16;

bool TranslateMenuLevel(const CTranslator& translator, HMENU menu, int depth) {
    bool changed = false;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        Text text = {};
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = text;
        item.cch = sizeof text - 1;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item))
            continue;
        if (item.hSubMenu && depth + 1 < kMaxMenuDepth && TranslateMenuLevel(translator, item.hSubMenu, depth + 1))
            changed = true;
        if ((item.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) != 0 || item.cch == 0 ||
            item.cch >= sizeof text)
            continue;
        text[sizeof text - 1] = '\0';
        if (translator.TranslateBuffer(text, sizeof text) != S_OK)
            continue;
        MENUITEMINFOA update = {};
        update.cbSize = sizeof update;
        update.fMask = MIIM_STRING;
        update.dwTypeData = text;
        if (::SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &update))
            changed = true;
    }
    return changed;
}

HRESULT Changed(bool changed) {
    return changed ? S_OK : S_FALSE;
}

} // namespace

HRESULT TranslateDialogTexts(const CTranslator& translator, HWND dialog) {
    if (!::IsWindow(dialog))
        return E_INVALIDARG;
    DialogWalk walk = {&translator, dialog, TranslateWindowText(translator, dialog)};
    ::EnumChildWindows(dialog, TranslateChild, reinterpret_cast<LPARAM>(&walk));
    return Changed(walk.changed);
}

HRESULT TranslateListBoxItems(const CTranslator& translator, HWND list) {
    if (!::IsWindow(list) || !IsClass(list, "ListBox"))
        return E_INVALIDARG;
    if (!KeepsStrings(list, LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE, LBS_HASSTRINGS))
        return S_FALSE;
    const LONG style = ::GetWindowLongA(list, GWL_STYLE);
    const bool multiple = (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
    const LRESULT selected = multiple ? LB_ERR : ::SendMessageA(list, LB_GETCURSEL, 0, 0);
    const LRESULT top = ::SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    bool changed = false;
    const LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const bool wasSelected = multiple && ::SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
        if (!TranslateListEntry(translator, list, kListBox, static_cast<WPARAM>(i)))
            continue;
        changed = true;
        if (wasSelected)
            ::SendMessageA(list, LB_SETSEL, TRUE, i);
    }
    if (changed) {
        if (!multiple && selected != LB_ERR)
            ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        ::SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
    return Changed(changed);
}

HRESULT TranslateComboBoxItems(const CTranslator& translator, HWND combo) {
    if (!::IsWindow(combo) || !IsClass(combo, "ComboBox"))
        return E_INVALIDARG;
    if (!KeepsStrings(combo, CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE, CBS_HASSTRINGS))
        return S_FALSE;
    const LRESULT selected = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    bool changed = false;
    const LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (TranslateListEntry(translator, combo, kComboBox, static_cast<WPARAM>(i)))
            changed = true;
    }
    if (changed && selected != CB_ERR)
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    return Changed(changed);
}

HRESULT TranslateListViewTexts(const CTranslator& translator, HWND list) {
    if (!::IsWindow(list) || !IsClass(list, WC_LISTVIEWA))
        return E_INVALIDARG;
    bool changed = false;
    // Column headings first; a list view in another view than report may have none.
    const HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int c = 0; c < columns; ++c) {
        Text text = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        if (!::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column)))
            continue;
        text[sizeof text - 1] = '\0';
        if (translator.TranslateBuffer(text, sizeof text) != S_OK)
            continue;
        column.pszText = text;
        if (::SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column)))
            changed = true;
    }
    const int items = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const int cells = columns > 0 ? columns : 1;
    for (int item = 0; item < items; ++item) {
        for (int sub = 0; sub < cells; ++sub) {
            if (TranslateListViewCell(translator, list, item, sub))
                changed = true;
        }
    }
    return Changed(changed);
}

HRESULT TranslateMenuItems(const CTranslator& translator, HMENU menu) {
    if (menu == nullptr || !::IsMenu(menu))
        return E_INVALIDARG;
    return Changed(TranslateMenuLevel(translator, menu, 0));
}

} // namespace tolvan::multilng
