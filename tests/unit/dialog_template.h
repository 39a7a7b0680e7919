// Builds dialog templates in memory, so that tests can make real dialogs with the controls they need.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tolvan::test {

class DialogTemplate {
public:
    // Dialog units, as in a resource script; the font sets the dialog's base units.
    DialogTemplate(DWORD style, short x, short y, short cx, short cy, const char* title, WORD points = 8,
                   const char* face = "MS Shell Dlg");
    // className: "BUTTON", "STATIC", "EDIT", "COMBOBOX" ... ; style gets WS_CHILD added.
    DialogTemplate& Control(const char* className, const char* text, WORD id, DWORD style, short x, short y, short cx,
                            short cy);
    const DLGTEMPLATE* Get();

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Text(const char* text);
    void AlignDword() {
        if (m_words.size() % 2)
            Word(0);
    }
    std::vector<WORD> m_words;
    WORD m_count = 0;
};

} // namespace tolvan::test
