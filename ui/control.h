// Base of our own controls (owner-drawn or custom-drawn): subclasses a child window so that its
// messages, and the notifications its parent reflects to it, reach WindowProc.
#pragma once

#include "ui/window.h"

namespace tolvan {

class CControl : public CWindow {
public:
    CControl() = default;
    virtual ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // Takes over an existing child window (from a template, or created by the caller).
    bool Attach(HWND hwnd);
    // Creates a child window of the given class and takes it over.
    bool Create(const char* className, const char* text, DWORD style, const RECT& rect, HWND parent, int id);
    // Gives the window back (and destroys it when this object created it).
    void Detach();

    // The control of ours that owns hwnd, or null.
    static CControl* FromHandle(HWND hwnd);

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    bool m_created = false;
};

} // namespace tolvan
