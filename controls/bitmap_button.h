// The skin's owner-drawn push button. It shows one of five bitmaps by state (normal, selected, focus, disabled,
// hover), tracks the pointer with the mouse capture to show the hover bitmap, can be latched so that it stays
// drawn as selected (the selected job tab), and clips its drawing to the window region its owner may give it
// with SetWindowRgn. Clicks reach the parent as the push button's own BN_CLICKED; the button sends nothing else.
#pragma once

#include "ui/control.h"
#include "ui/unique_handle.h"

#include <string>
#include <string_view>

namespace tolvan {

// The white caption of the main window's Default, Apply and Exit buttons as it is drawn: the text, and how far
// the text's top edge sits below the button's top.
struct ButtonCaption {
    std::string text;
    int top = 0;
};

// On a display of more than 96 dots per inch the skin's bitmaps stay as small as designed while the font grows,
// so a text of more than 12 characters is split after its eighth with a hyphen. A caption of two lines starts
// near the top. displayDpi: the display's horizontal dots per inch (0 or less when unknown: nothing is split).
ButtonCaption LayOutButtonCaption(std::string_view text, int displayDpi);

class CBitmapButton : public CControl {
public:
    CBitmapButton() = default;
    ~CBitmapButton() override = default;

    // Creates the button window; style must hold BS_OWNERDRAW (the program uses WS_CHILD | WS_VISIBLE |
    // BS_OWNERDRAW).
    bool Create(const char* text, DWORD style, const RECT& rect, HWND parent, int id);

    // Bitmap resource ids of the program's own module, 0 for none. Deletes the bitmaps held so far. Fails,
    // loading nothing more, when the normal bitmap is not given or does not load; a state whose own bitmap is
    // missing is drawn with the normal one.
    bool SetBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled, UINT hover);
    // Gives the window the normal bitmap's size, keeping its place; fails without a normal bitmap or a window.
    bool SizeToBitmap();
    // A latched button is drawn as selected until it is unlatched.
    void SetLatched(bool latched);
    bool IsLatched() const { return m_latched; }

    // Where the caption rule reads the display's horizontal dots per inch; null restores the display's own.
    using DisplayDpiReader = int (*)();
    static void SetDisplayDpiReader(DisplayDpiReader reader);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    HBITMAP ChooseBitmap(UINT itemState) const;
    void DrawCaption(HDC dc, const RECT& client) const;
    void TrackPointer(POINT point);
    void RepaintNow() const;

    bool m_hover = false;   // the pointer is over the button (we hold the capture meanwhile)
    bool m_latched = false; // the owner wants the button drawn as selected
    bool m_pressed = false; // between a left button press on the button and its release
    UniqueBitmap m_hoverBitmap;
    UniqueBitmap m_selectedBitmap;
    UniqueBitmap m_normalBitmap;
    UniqueBitmap m_disabledBitmap;
    UniqueBitmap m_focusBitmap;
};

} // namespace tolvan
