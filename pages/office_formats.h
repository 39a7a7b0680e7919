// The rules of the Office page's document format list (combo box 1050) apart from the window: which of "TXT",
// "RTF", "XLS" and "DOC" the list offers for the programs that are listed, how a chosen format that cannot be
// had is corrected, and the job's extra blob, which names the recognition program. They see the list through
// FormatEntries (format_list.h), as the image format rules do.
#pragma once

#include "pages/format_list.h"
#include "settings/job_record.h"
#include "settings/job_table.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tolvan {

namespace OfficeApId {
inline constexpr uint16_t kChineseRecognition = 4107; // chosen on Chinese systems; its result is no RTF or sheet
inline constexpr uint16_t kRecognition = 4108;        // chosen on every other system
inline constexpr uint16_t kWordProcessor = 4109;      // opens RTF and DOC
inline constexpr uint16_t kSpreadsheet = 4110;        // opens XLS
inline constexpr uint16_t kTextEditor = 4111;         // opens TXT
} // namespace OfficeApId

// What decides the offered formats: the recognition program in use and the document programs listed.
struct OfficePrograms {
    bool chineseRecognition = false;
    bool wordProcessor = false;
    bool spreadsheet = false;
};

const OfficeFormat* FindOfficeFormat(uint32_t bit);
// The format whose list entry is exactly text; null for any other text.
const OfficeFormat* FindOfficeFormat(std::string_view text);

// Whether the list offers the format: the record offers it and a program that opens it is listed; RTF and XLS
// are never offered with the Chinese recognition program.
bool IsOfficeFormatOffered(const OfficeFormat& format, uint32_t offered, const OfficePrograms& programs);

// The format the job can really produce in place of format: RTF and XLS become DOC under the Chinese
// recognition program, XLS becomes DOC without a spreadsheet program, RTF and DOC become TXT without a word
// processor. Any other value comes back as it is.
uint32_t CorrectOfficeFormat(uint32_t format, const OfficePrograms& programs);

// Adds the offered formats that are missing, in the order TXT, RTF, XLS, DOC, and selects the record's format
// where its entry is there. Under the Chinese recognition program RTF and XLS are taken out instead; no other
// entry is ever removed, so entries given back stand after those already present.
void FillOfficeFormats(FormatEntries& list, const JobRecord& record, const OfficePrograms& programs);

// The Office job's extra blob: the recognition program's id (16 bits) and the folder of its program (260
// bytes, zero-terminated). A shorter blob names no program.
inline constexpr std::size_t kOfficeBlobSize = 262;
inline constexpr std::size_t kOfficeBlobFolderSize = 260;

bool IsOfficeBlob(const std::vector<uint8_t>& blob);
uint16_t OfficeBlobApId(const std::vector<uint8_t>& blob);
// The folder up to its terminator, never past the field: a folder from a file may lack its terminator.
std::string_view OfficeBlobFolder(const std::vector<uint8_t>& blob);
// Points the blob at the recognition program of entry; nothing when the buffer is no blob.
void WriteOfficeBlob(std::vector<uint8_t>& blob, const ApEntry& entry);
// Whether the blob names this program: the same id and the same folder, compared as Windows compares folder
// names. The id counts too: two recognition programs may share a folder.
bool OfficeBlobNames(const std::vector<uint8_t>& blob, uint16_t apId, std::string_view folder);
// Whether two blobs name the same program. Buffers that are no blobs name the same (no) program.
bool SameOfficeBlob(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

} // namespace tolvan
