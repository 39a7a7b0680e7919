// Puts a device context back as it was (clipping, colours, modes, selected objects) when the scope ends, so
// that drawing into a DC that its owner lends us leaves nothing behind.
#pragma once

#include <windows.h>

namespace tolvan {

class SavedDC {
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_level(::SaveDC(dc)) {}
    ~SavedDC() {
        if (m_level != 0)
            ::RestoreDC(m_dc, m_level);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    explicit operator bool() const { return m_level != 0; }

private:
    HDC m_dc;
    int m_level;
};

} // namespace tolvan
