// The RAvud page's copy size dialog (template 143): a picture and a description of one copy size, and buttons
// that step through the eleven sizes as a ring. The page sets the stored value, runs the dialog, and reads the
// value back when the dialog ended with OK.
#pragma once

#include "pages/copy_size_ring.h"
#include "ui/dialog.h"
#include "ui/unique_handle.h"

#include <cstdint>
#include <optional>

namespace tolvan {

class CAppServices;

class CCopySizeDialog : public CDialog {
public:
    explicit CCopySizeDialog(CAppServices* app);

    // 0 opens at the default; any other value is taken (one outside 1 to 11 also opens at the default).
    void SetValue(uint16_t value) { m_value = value == 0 ? kDefaultCopySize : value; }
    // The size shown last: what the user chose, when the dialog ended with OK.
    uint16_t GetValue() const { return m_value; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;

private:
    // Shows the ring's current entry: its picture in place of the one shown so far, and its description.
    void ShowCurrent();
    void OnDestroy();

    CAppServices* m_app;
    uint16_t m_value = kDefaultCopySize;
    // Built at set-up, gone with the window.
    std::optional<CopySizeRing> m_ring;
    UniqueBitmap m_picture;
};

} // namespace tolvan
