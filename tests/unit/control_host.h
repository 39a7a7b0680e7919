// What the control tests share: a modeless host dialog from the tests' templates that counts the owner draws
// and clicks of each control, a copy of what a window shows, and the message pump.
#pragma once

#include "ui/dialog.h"

#include <windows.h>

#include <map>
#include <vector>

namespace tolvan::test {

// Dispatches every message waiting for this thread.
void PumpMessages();
// Pumps until done() holds or timeoutMs has passed; returns done().
template <class Done> bool PumpUntil(Done done, DWORD timeoutMs = 1000) {
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    return done();
}

class ControlHost : public CDialog {
public:
    explicit ControlHost(UINT templateId) : CDialog(templateId) {}
    ~ControlHost() override { DestroyWindow(); }

    // Creates and shows the dialog without activating it, where the pointer is not, so that no real mouse move
    // reaches its controls unless a test makes one, and lets it paint.
    bool Open();

    int Draws(int id) const { return Count(m_draws, id); }
    int Clicks(int id) const { return Count(m_clicks, id); }
    void ResetCounts() {
        m_draws.clear();
        m_clicks.clear();
    }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override { return FALSE; } // no control has the focus until a test gives it
    void OnOK() override {}
    void OnCancel() override {}

private:
    static int Count(const std::map<int, int>& counts, int id) {
        const auto found = counts.find(id);
        return found == counts.end() ? 0 : found->second;
    }

    std::map<int, int> m_draws;
    std::map<int, int> m_clicks;
};

// What a window's client area shows, read back from its device context.
class Screenshot {
public:
    explicit Screenshot(HWND window);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle have the colour.
    int Count(COLORREF colour, const RECT& area) const;
    // The first row, from the top, holding a pixel of the colour, or -1.
    int FirstRowWith(COLORREF colour) const;
    bool operator==(const Screenshot& other) const = default;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// The colour of a solid test bitmap of the test program's resources.
COLORREF BitmapColour(UINT id);

} // namespace tolvan::test
