#include "pages/format_list.h"

#include "settings/fixed_string.h"
#include "settings/job_table.h"

#include <span>

namespace tolvan {

namespace {

constexpr uint16_t kColourMode = 0x1;
constexpr uint16_t kBlackWhiteMode = 0x4;

// The order in which each kind adds its entries, and the order in which a selection is looked for.
constexpr uint32_t kAddOnlyFillOrder[] = {0x1, 0x2, 0x4, 0x400, 0x8, 0x10, 0x20, 0x40};
constexpr uint32_t kAddOnlySelectOrder[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x400};
constexpr uint32_t kImageOrder[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40};

// JPEG has no black-and-white form and GIF too few colours for a colour scan: the scan mode takes them away.
bool ScanModeExcludes(uint32_t bit, uint16_t colorMode) {
    return (bit == Format::kJpg && (colorMode & kBlackWhiteMode)) || (bit == Format::kGif && (colorMode & kColourMode));
}

std::string_view Name(uint32_t bit) {
    return FindImageFormat(bit)->text;
}

void AddUnlessPresent(FormatEntries& list, uint32_t bit) {
    if (list.Find(Name(bit)) < 0)
        list.Add(Name(bit));
}

void RemoveIfPresent(FormatEntries& list, uint32_t bit) {
    if (const int index = list.Find(Name(bit)); index >= 0)
        list.Remove(index);
}

// Selects "BMP" in place of a format the scan mode took away. The record follows only when "BMP" is there to
// be selected; otherwise the selection is cleared.
uint32_t FallBackToBmp(FormatEntries& list, JobRecord& record) {
    const int index = list.Find(Name(Format::kBmp));
    list.Select(index);
    if (index < 0)
        return 0;
    record.ap.dwFormat = Format::kBmp;
    WriteField(record.ap.szExt, FindImageFormat(Format::kBmp)->ext);
    return Format::kBmp;
}

uint32_t SelectAddOnly(FormatEntries& list, JobRecord& record) {
    // A record that names no format shows none, rather than whatever was chosen before.
    list.Select(-1);
    uint32_t selected = 0;
    // The record is read afresh for every bit: after a fall-back to "BMP" the other bits are gone.
    for (uint32_t bit : kAddOnlySelectOrder) {
        if (!(record.ap.dwFormat & bit))
            continue;
        if (ScanModeExcludes(bit, record.wColorMode)) {
            selected = FallBackToBmp(list, record);
            continue;
        }
        const int index = list.Find(Name(bit));
        list.Select(index);
        selected = index >= 0 ? bit : 0;
    }
    return selected;
}

uint32_t SelectSynchronising(FormatEntries& list, JobRecord& record) {
    list.Select(-1);
    uint32_t selected = 0;
    for (uint32_t bit : kImageOrder) {
        if (!(record.ap.dwFormat & bit))
            continue;
        if (ScanModeExcludes(bit, record.wColorMode)) {
            // The record takes "BMP" even while the application does not offer it: the excluded format must go.
            record.ap.dwFormat = Format::kBmp;
            WriteField(record.ap.szExt, FindImageFormat(Format::kBmp)->ext);
            if (const int index = list.Find(Name(Format::kBmp)); index >= 0) {
                list.Select(index);
                selected = Format::kBmp;
            }
            continue;
        }
        if (const int index = list.Find(Name(bit)); index >= 0) {
            list.Select(index);
            WriteField(record.ap.szExt, FindImageFormat(bit)->ext);
            selected = bit;
        }
    }
    // A record naming no listed format (a damaged one, or a format the application does not open) gets "BMP".
    if (selected == 0)
        selected = FallBackToBmp(list, record);
    return selected;
}

} // namespace

uint32_t SelectFormat(FormatListKind kind, FormatEntries& list, JobRecord& record) {
    return kind == FormatListKind::kAddOnlyWithPdf ? SelectAddOnly(list, record) : SelectSynchronising(list, record);
}

uint32_t FillFormats(FormatListKind kind, FormatEntries& list, JobRecord& record) {
    const uint32_t offered = record.ap.dwFormats;
    if (kind == FormatListKind::kAddOnlyWithPdf) {
        for (uint32_t bit : kAddOnlyFillOrder) {
            if (!(offered & bit))
                continue;
            if (ScanModeExcludes(bit, record.wColorMode))
                RemoveIfPresent(list, bit);
            else
                AddUnlessPresent(list, bit);
        }
    } else {
        for (uint32_t bit : kImageOrder) {
            if ((offered & bit) && !ScanModeExcludes(bit, record.wColorMode))
                AddUnlessPresent(list, bit);
            else
                RemoveIfPresent(list, bit);
        }
    }
    return SelectFormat(kind, list, record);
}

bool TakeSelectedFormat(FormatListKind kind, const FormatEntries& list, JobRecord& record) {
    const int index = list.Selected();
    if (index < 0)
        return false;
    const std::string text = list.Text(index);
    const std::span<const uint32_t> known =
        kind == FormatListKind::kAddOnlyWithPdf ? std::span<const uint32_t>(kAddOnlySelectOrder) : kImageOrder;
    for (uint32_t bit : known) {
        const ImageFormat* format = FindImageFormat(bit);
        if (text == format->text) {
            record.ap.dwFormat = bit;
            WriteField(record.ap.szExt, format->ext);
            return true;
        }
    }
    return false;
}

} // namespace tolvan
