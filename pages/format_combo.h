// The format rules of format_list.h on a page's real combo box.
#pragma once

#include "pages/format_list.h"
#include "ui/controls.h"

#include <string>

namespace tolvan {

class CFormatCombo final : public FormatEntries {
public:
    explicit CFormatCombo(HWND combo) : m_list(combo) {}

    int Find(std::string_view text) const override {
        // The entries are short literals; a longer text cannot begin any of them.
        char buffer[16] = {};
        if (text.size() >= sizeof buffer)
            return -1;
        text.copy(buffer, text.size());
        const int index =
            static_cast<int>(m_list.Send(CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(buffer)));
        return index == CB_ERR ? -1 : index;
    }
    void Add(std::string_view text) override { m_list.AddString(std::string(text).c_str()); }
    void Remove(int index) override { m_list.DeleteString(index); }
    void Select(int index) override { m_list.SetCurSel(index); }
    int Selected() const override {
        const int index = m_list.GetCurSel();
        return index == CB_ERR ? -1 : index;
    }
    std::string Text(int index) const override { return m_list.ItemText(index); }

private:
    ComboBox m_list;
};

} // namespace tolvan
