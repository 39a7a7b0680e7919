// Keeps every dialog's controls at their design pixels (laid out for a 6 x 14 pixel dialog base
// unit at 96 dots per inch) whatever the system's font size or resolution: each child gets the
// shared font and is moved and sized by a pair of factors.
#pragma once

#include <windows.h>

namespace tolvan {

struct ScaleFactors {
    float x = 1.0f;
    float y = 1.0f;
};

// The display's logical pixels per inch; tests supply their own.
struct DisplayResolution {
    int x = 96;
    int y = 96;
    static DisplayResolution FromDisplay();
};
using DisplayResolutionReader = DisplayResolution (*)();

// The factors that bring the dialog's own dialog units back to 6 x 14 pixels per 4 x 8 units.
ScaleFactors FactorsFromDialogUnits(HWND dialog);

// Gives every child window (children of children too) the font and moves it by the stored factors, or by the
// display's 96-dpi factors while the stored pair is still (1, 1). Every child is visible afterwards.
void ScaleDialogChildren(HWND dialog, HFONT font, ScaleFactors stored,
                         DisplayResolutionReader resolution = &DisplayResolution::FromDisplay);

} // namespace tolvan
