// The rules of the file format list (IDC_FORMAT_LIST) apart from the window: which entries the list holds
// for a record, which one is selected, and what choosing one writes into the record. Two kinds exist:
//  - the add-only list with PDF (Email page): a fill only adds the formats the record offers, so an entry
//    once shown stays; only the scan mode takes "JPG" and "GIF" away again;
//  - the synchronising list without PDF (application and DUzar pages): after a fill it holds exactly the
//    offered image formats that the scan mode allows, and some format is always selected when "BMP" is there.
// The rules see the list through FormatEntries, so that they run on the page's combo box in the program and
// on a plain list in the native tests.
#pragma once

#include "settings/job_record.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvan {

enum class FormatListKind : uint8_t { kAddOnlyWithPdf, kSynchronising };

class FormatEntries {
public:
    // The first entry that begins with text, without regard to case (the combo box's own search); -1: none.
    virtual int Find(std::string_view text) const = 0;
    virtual void Add(std::string_view text) = 0;
    virtual void Remove(int index) = 0;
    // -1 clears the selection.
    virtual void Select(int index) = 0;
    virtual int Selected() const = 0;
    // Empty for an index that holds no entry.
    virtual std::string Text(int index) const = 0;

protected:
    ~FormatEntries() = default;
};

// Brings the entries in line with the record's dwFormats and wColorMode, then selects as SelectFormat does.
// Returns the bit of the selected format, 0 when none is selected.
uint32_t FillFormats(FormatListKind kind, FormatEntries& list, JobRecord& record);

// Selects the record's dwFormat. "JPG" under scan mode 4 and "GIF" under scan mode 1 fall back to "BMP",
// writing dwFormat and szExt. Returns the bit of the selected format, 0 when none is selected.
uint32_t SelectFormat(FormatListKind kind, FormatEntries& list, JobRecord& record);

// Takes the selected entry into dwFormat and szExt. False, with the record unchanged, when nothing is
// selected or the entry is no format of this kind of list.
bool TakeSelectedFormat(FormatListKind kind, const FormatEntries& list, JobRecord& record);

} // namespace tolvan
