// The tool tip control whose tool texts are string-table ids, passed through the translation module when the
// tool is added. The control watches its tools' mouse messages itself (TTF_SUBCLASS), so nobody relays them.
#pragma once

#include "ui/control.h"

namespace tolvan {

class CAppServices;

class CToolTipCtrl : public CControl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override = default;

    // Creates the tool tip window, owned by parent; it is destroyed with this object. style: TTS_ styles, added
    // to WS_POPUP.
    bool Create(HWND parent, DWORD style);

    // Adds tool as a tool with the translated text of stringId. toolId 0 makes the tool the whole window; any
    // other id makes it the area rect of the window (its client area when rect is null). Returns the control's
    // answer to TTM_ADDTOOLA (nonzero on success), or 0 without an application to load the text through.
    LRESULT AddTranslatedTool(HWND tool, UINT stringId, const RECT* rect, UINT_PTR toolId, CAppServices* app);
};

} // namespace tolvan
