// Thin wrappers of the standard controls: each call is the control's own message, unchanged.
// (CB_SELECTSTRING stays a case-insensitive prefix search; the pages rely on it.)
#pragma once

#include "ui/window.h"

#include <commctrl.h>

#include <string>

namespace tolvan {

class ComboBox : public CWindow {
public:
    using CWindow::CWindow;
    int AddString(const char* text) const { return static_cast<int>(Send(CB_ADDSTRING, 0, Text(text))); }
    int InsertString(int index, const char* text) const {
        return static_cast<int>(Send(CB_INSERTSTRING, static_cast<WPARAM>(index), Text(text)));
    }
    int DeleteString(int index) const { return static_cast<int>(Send(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() const { Send(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int SelectString(int after, const char* text) const {
        return static_cast<int>(Send(CB_SELECTSTRING, static_cast<WPARAM>(after), Text(text)));
    }
    int FindStringExact(int after, const char* text) const {
        return static_cast<int>(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(after), Text(text)));
    }
    int GetLBTextLen(int index) const { return static_cast<int>(Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))); }
    // buffer must hold GetLBTextLen(index) + 1 bytes.
    int GetLBText(int index, char* buffer) const {
        return static_cast<int>(Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    }
    // The entry's whole text; "" for an index without an entry.
    std::string ItemText(int index) const {
        const int length = GetLBTextLen(index);
        if (length <= 0)
            return {};
        std::string text(static_cast<size_t>(length) + 1, '\0');
        const int copied = GetLBText(index, text.data());
        text.resize(copied > 0 && copied <= length ? static_cast<size_t>(copied) : 0);
        return text;
    }
    // The selected entry's whole text; "" when none is selected.
    std::string SelectedText() const {
        const int index = GetCurSel();
        return index == CB_ERR ? std::string() : ItemText(index);
    }
    LRESULT GetItemData(int index) const { return Send(CB_GETITEMDATA, static_cast<WPARAM>(index)); }
    int SetItemData(int index, LPARAM data) const {
        return static_cast<int>(Send(CB_SETITEMDATA, static_cast<WPARAM>(index), data));
    }

private:
    static LPARAM Text(const char* text) { return reinterpret_cast<LPARAM>(text); }
};

class Slider : public CWindow {
public:
    using CWindow::CWindow;
    void SetRange(int low, int high, bool redraw = true) const {
        Send(TBM_SETRANGE, redraw ? TRUE : FALSE, MAKELPARAM(low, high));
    }
    int GetPos() const { return static_cast<int>(Send(TBM_GETPOS)); }
    void SetPos(int pos, bool redraw = true) const { Send(TBM_SETPOS, redraw ? TRUE : FALSE, pos); }
    void SetPageSize(int size) const { Send(TBM_SETPAGESIZE, 0, size); }
    void SetLineSize(int size) const { Send(TBM_SETLINESIZE, 0, size); }
};

class Button : public CWindow {
public:
    using CWindow::CWindow;
    int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
    void SetCheck(int state) const { Send(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class Static : public CWindow {
public:
    using CWindow::CWindow;
};

class Edit : public CWindow {
public:
    using CWindow::CWindow;
    void SetLimitText(int limit) const { Send(EM_SETLIMITTEXT, static_cast<WPARAM>(limit)); }
};

} // namespace tolvan
