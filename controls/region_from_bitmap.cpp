#include "controls/region_from_bitmap.h"

#include "controls/mask_runs.h"

#include <vector>

namespace tolvan {

UniqueRegion RegionFromBitmap(UINT bitmapId, uint8_t key, HMODULE module) {
    if (!module)
        module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* bytes = loaded ? static_cast<const uint8_t*>(::LockResource(loaded)) : nullptr;
    if (!bytes)
        return {};
    MaskRuns runs;
    if (!ScanMaskRuns({bytes, ::SizeofResource(module, resource)}, key, runs))
        return {};

    std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + runs.rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(runs.rects.size());
    data->rdh.nRgnSize = 0;
    data->rdh.rcBound = {0, 0, runs.width, runs.height};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < runs.rects.size(); ++i)
        rects[i] = {runs.rects[i].left, runs.rects[i].top, runs.rects[i].right, runs.rects[i].bottom};
    return UniqueRegion(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

} // namespace tolvan
