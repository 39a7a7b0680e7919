// Bitmaps from the program's own resources, and their size.
#pragma once

#include "ui/unique_handle.h"

#include <windows.h>

namespace tolvan {

// The bitmap resource id of the program's module; empty for id 0 or a bitmap that does not load.
inline UniqueBitmap LoadBitmapResource(UINT id) {
    if (id == 0)
        return UniqueBitmap();
    return UniqueBitmap(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
}

// Width and height in pixels; 0 x 0 for no bitmap.
inline SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// The size of one of the program's bitmap resources; 0 x 0 when it has none of that id.
inline SIZE ResourceBitmapSize(UINT id) {
    return BitmapSize(LoadBitmapResource(id).Get());
}

} // namespace tolvan
