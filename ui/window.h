// A window handle with one-line helpers. Does not own the window.
#pragma once

#include <windows.h>

namespace tolvan {

class CWindow {
public:
    CWindow() = default;
    explicit CWindow(HWND hwnd) : m_hwnd(hwnd) {}

    HWND Handle() const { return m_hwnd; }
    explicit operator bool() const { return m_hwnd != nullptr; }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hwnd, msg, wParam, lParam);
    }
    HWND Item(int id) const { return ::GetDlgItem(m_hwnd, id); }
    void Show(int how) const { ::ShowWindow(m_hwnd, how); }
    bool IsVisible() const { return ::IsWindowVisible(m_hwnd) != FALSE; }
    void Enable(bool enable) const { ::EnableWindow(m_hwnd, enable ? TRUE : FALSE); }
    bool IsEnabled() const { return ::IsWindowEnabled(m_hwnd) != FALSE; }
    void SetText(const char* text) const { ::SetWindowTextA(m_hwnd, text); }
    void Invalidate(bool erase = false) const { ::InvalidateRect(m_hwnd, nullptr, erase ? TRUE : FALSE); }
    RECT ClientRect() const {
        RECT r{};
        ::GetClientRect(m_hwnd, &r);
        return r;
    }
    // The window's rectangle in its parent's client coordinates.
    RECT RectInParent() const {
        RECT r{};
        ::GetWindowRect(m_hwnd, &r);
        ::MapWindowPoints(HWND_DESKTOP, ::GetParent(m_hwnd), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void Move(int x, int y, int cx, int cy, UINT flags = SWP_NOZORDER | SWP_NOACTIVATE) const {
        ::SetWindowPos(m_hwnd, nullptr, x, y, cx, cy, flags);
    }

protected:
    HWND m_hwnd = nullptr;
};

} // namespace tolvan
