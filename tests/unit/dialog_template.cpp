#include "dialog_template.h"

#include <cstring>

namespace tolvan::test {

DialogTemplate::DialogTemplate(DWORD style, short x, short y, short cx, short cy, const char* title, WORD points,
                               const char* face) {
    DLGTEMPLATE header{};
    header.style = style | DS_SETFONT;
    header.x = x;
    header.y = y;
    header.cx = cx;
    header.cy = cy;
    m_words.resize(sizeof header / sizeof(WORD));
    std::memcpy(m_words.data(), &header, sizeof header);
    Word(0); // no menu
    Word(0); // default class
    Text(title);
    Word(points);
    Text(face);
}

void DialogTemplate::Text(const char* text) {
    wchar_t wide[256] = {};
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 255);
    for (const wchar_t* p = wide; *p; ++p)
        Word(static_cast<WORD>(*p));
    Word(0);
}

DialogTemplate& DialogTemplate::Control(const char* className, const char* text, WORD id, DWORD style, short x, short y,
                                        short cx, short cy) {
    AlignDword();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    const size_t at = m_words.size();
    m_words.resize(at + sizeof item / sizeof(WORD));
    std::memcpy(m_words.data() + at, &item, sizeof item);
    Text(className);
    Text(text);
    Word(0); // no creation data
    ++m_count;
    return *this;
}

const DLGTEMPLATE* DialogTemplate::Get() {
    reinterpret_cast<DLGTEMPLATE*>(m_words.data())->cdit = m_count;
    return reinterpret_cast<const DLGTEMPLATE*>(m_words.data());
}

} // namespace tolvan::test
