#include "control_host.h"

#include "ui/gdi.h"
#include "ui/unique_handle.h"

#include <algorithm>

namespace tolvan::test {

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool ControlHost::Open() {
    if (!Create(nullptr))
        return false;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const int x = cursor.x < 640 ? 760 : 40;
    const int y = cursor.y < 512 ? 600 : 100;
    ::SetWindowPos(m_hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(m_hwnd);
    PumpMessages();
    return true;
}

bool ControlHost::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DRAWITEM)
        ++m_draws[static_cast<int>(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlID)];
    else if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        ++m_clicks[LOWORD(wParam)];
    return CDialog::OnMessage(msg, wParam, lParam, result);
}

Screenshot::Screenshot(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    m_width = client.right;
    m_height = client.bottom;
    m_pixels.assign(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), CLR_INVALID);
    const WindowDC screen(window);
    const MemoryDC memory(screen.Get());
    UniqueBitmap copy(::CreateCompatibleBitmap(screen.Get(), m_width, m_height));
    if (!memory || !copy)
        return;
    {
        const ScopedSelectObject select(memory.Get(), copy.Get());
        ::BitBlt(memory.Get(), 0, 0, m_width, m_height, screen.Get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<RGBQUAD> bits(m_pixels.size());
    if (::GetDIBits(memory.Get(), copy.Get(), 0, static_cast<UINT>(m_height), bits.data(), &info, DIB_RGB_COLORS) !=
        m_height)
        return;
    std::transform(bits.begin(), bits.end(), m_pixels.begin(),
                   [](const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); });
}

COLORREF Screenshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

int Screenshot::Count(COLORREF colour, const RECT& area) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += At(x, y) == colour ? 1 : 0;
    return count;
}

int Screenshot::FirstRowWith(COLORREF colour) const {
    for (int y = 0; y < m_height; ++y)
        if (Count(colour, {0, y, m_width, y + 1}) > 0)
            return y;
    return -1;
}

COLORREF BitmapColour(UINT id) {
    UniqueBitmap bitmap(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    const WindowDC screen(nullptr);
    const MemoryDC memory(screen.Get());
    if (!bitmap || !memory)
        return CLR_INVALID;
    const ScopedSelectObject select(memory.Get(), bitmap.Get());
    return ::GetPixel(memory.Get(), 0, 0);
}

} // namespace tolvan::test
