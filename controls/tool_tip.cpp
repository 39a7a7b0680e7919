#include "controls/tool_tip.h"

#include "app/app_services.h"

#include <commctrl.h>

namespace tolvan {

bool CToolTipCtrl::Create(HWND parent, DWORD style) {
    // The tool tip class is registered by the common controls' initialisation.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&controls);
    return CControl::Create(TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, RECT{}, parent, 0);
}

LRESULT CToolTipCtrl::AddTranslatedTool(HWND tool, UINT stringId, const RECT* rect, UINT_PTR toolId,
                                        CAppServices* app) {
    if (!app || !m_hwnd || !tool)
        return 0;
    TOOLINFOA info{};
    // The size that both versions of the common controls accept; the fields after it are not used.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = TTF_SUBCLASS;
    if (toolId == 0) {
        HWND parent = ::GetParent(tool);
        info.uFlags |= TTF_IDISHWND;
        info.hwnd = parent ? parent : tool;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
    } else {
        info.hwnd = tool;
        info.uId = toolId;
        if (!rect)
            ::GetClientRect(tool, &info.rect);
    }
    if (rect)
        info.rect = *rect;
    info.hinst = ::GetModuleHandleA(nullptr);
    // The control copies the text, so the buffer need not outlive the call.
    TextBuffer text;
    app->LoadText(stringId, text);
    info.lpszText = text;
    return Send(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace tolvan
