// A flat owner-drawn push button in fixed colours with a raised one-pixel frame, for the pages' push buttons.
// Every user gives it the skin's colours (controls/skin_colours.h).
#pragma once

#include "ui/control.h"

namespace tolvan {

class CColorButton : public CControl {
public:
    CColorButton() = default;
    ~CColorButton() override = default;

    // Takes over the dialog's item, which must be an owner-drawn button (BS_OWNERDRAW). Fails, storing nothing,
    // when there is no such item or it cannot be taken over.
    bool SubclassWithColors(int id, HWND parentDialog, COLORREF background, COLORREF text, COLORREF disabledText);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    COLORREF m_text = 0;
    COLORREF m_background = 0;
    COLORREF m_disabledText = 0;
};

} // namespace tolvan
