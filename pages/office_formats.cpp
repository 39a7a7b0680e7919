#include "pages/office_formats.h"

#include "pages/text_compare.h"
#include "settings/fixed_string.h"

#include <cstring>

namespace tolvan {

const OfficeFormat* FindOfficeFormat(uint32_t bit) {
    for (const OfficeFormat& format : kOfficeFormats)
        if (format.bit == bit)
            return &format;
    return nullptr;
}

const OfficeFormat* FindOfficeFormat(std::string_view text) {
    for (const OfficeFormat& format : kOfficeFormats)
        if (format.text == text)
            return &format;
    return nullptr;
}

bool IsOfficeFormatOffered(const OfficeFormat& format, uint32_t offered, const OfficePrograms& programs) {
    if (!(offered & format.bit))
        return false;
    switch (format.bit) {
    case OfficeBit::kRtf:
        return programs.wordProcessor && !programs.chineseRecognition;
    case OfficeBit::kXls:
        return programs.spreadsheet && !programs.chineseRecognition;
    case OfficeBit::kDoc:
        return programs.wordProcessor;
    default:
        return true;
    }
}

uint32_t CorrectOfficeFormat(uint32_t format, const OfficePrograms& programs) {
    if (programs.chineseRecognition && (format == OfficeBit::kXls || format == OfficeBit::kRtf))
        format = OfficeBit::kDoc;
    if (format == OfficeBit::kXls && !programs.spreadsheet)
        format = OfficeBit::kDoc;
    if (format == OfficeBit::kRtf && !programs.wordProcessor)
        format = OfficeBit::kTxt;
    if (format == OfficeBit::kDoc && !programs.wordProcessor)
        format = OfficeBit::kTxt;
    return format;
}

void FillOfficeFormats(FormatEntries& list, const JobRecord& record, const OfficePrograms& programs) {
    for (const OfficeFormat& format : kOfficeFormats) {
        int index = list.Find(format.text);
        const bool sheetOrRtf = format.bit == OfficeBit::kRtf || format.bit == OfficeBit::kXls;
        if (programs.chineseRecognition && sheetOrRtf) {
            if (index >= 0)
                list.Remove(index);
            continue;
        }
        if (index < 0 && IsOfficeFormatOffered(format, record.ap.dwFormats, programs)) {
            list.Add(format.text);
            index = list.Find(format.text);
        }
        if (index >= 0 && format.bit == record.ap.dwFormat)
            list.Select(index);
    }
}

bool IsOfficeBlob(const std::vector<uint8_t>& blob) {
    return blob.size() >= kOfficeBlobSize;
}

uint16_t OfficeBlobApId(const std::vector<uint8_t>& blob) {
    return IsOfficeBlob(blob) ? static_cast<uint16_t>(blob[0] | blob[1] << 8) : 0;
}

std::string_view OfficeBlobFolder(const std::vector<uint8_t>& blob) {
    if (!IsOfficeBlob(blob))
        return {};
    return ReadField(reinterpret_cast<const char*>(blob.data() + 2), kOfficeBlobFolderSize);
}

void WriteOfficeBlob(std::vector<uint8_t>& blob, const ApEntry& entry) {
    static_assert(sizeof entry.szExeDir == kOfficeBlobFolderSize);
    if (!IsOfficeBlob(blob))
        return;
    blob[0] = static_cast<uint8_t>(entry.wApId & 0xFF);
    blob[1] = static_cast<uint8_t>(entry.wApId >> 8);
    WriteField(reinterpret_cast<char*>(blob.data() + 2), kOfficeBlobFolderSize, ReadField(entry.szExeDir));
}

bool OfficeBlobNames(const std::vector<uint8_t>& blob, uint16_t apId, std::string_view folder) {
    return IsOfficeBlob(blob) && OfficeBlobApId(blob) == apId && SameTextIgnoringCase(OfficeBlobFolder(blob), folder);
}

bool SameOfficeBlob(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (!IsOfficeBlob(a) || !IsOfficeBlob(b))
        return IsOfficeBlob(a) == IsOfficeBlob(b);
    return OfficeBlobNames(a, OfficeBlobApId(b), OfficeBlobFolder(b));
}

} // namespace tolvan
