#include "pages/record_rules.h"

#include "pages/copy_size_ring.h"
#include "pages/device_mode.h"
#include "pages/file_target.h"
#include "pages/office_formats.h"
#include "pages/ravud_blob.h"
#include "pages/text_compare.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "settings/record_fields.h"

#include <cstring>

namespace tolvan {

namespace {

enum class FormatKind : uint8_t { kNone, kImage, kImageWithPdf, kOffice };

FormatKind FormatKindOf(uint32_t mask) {
    switch (mask) {
    case JobMask::kEmail:
        return FormatKind::kImageWithPdf;
    case JobMask::kFile:
    case JobMask::kApplication:
    case JobMask::kDUzar:
        return FormatKind::kImage;
    case JobMask::kOffice:
        return FormatKind::kOffice;
    default:
        return FormatKind::kNone; // the copy jobs print: they have no file format
    }
}

uint32_t FormatBits(FormatKind kind) {
    uint32_t bits = 0;
    if (kind == FormatKind::kOffice)
        return OfficeBit::kAll;
    for (const ImageFormat& format : kImageFormats)
        if (format.bit != Format::kPdf || kind == FormatKind::kImageWithPdf)
            bits |= format.bit;
    return bits;
}

// The extension with its dot that stands for a format of the job's list.
bool ExtensionNames(FormatKind kind, std::string_view ext, uint32_t format) {
    if (kind != FormatKind::kOffice)
        return FormatFromExtension(ext) == format;
    const OfficeFormat* office = FindOfficeFormat(format);
    return office && ext.size() == office->text.size() + 1 && ext[0] == '.' &&
           SameTextIgnoringCase(ext.substr(1), office->text);
}

class Checker {
public:
    explicit Checker(std::vector<RecordFault>& faults) : m_faults(faults) {}

    void Fail(std::string_view field, std::string message) { m_faults.push_back({field, std::move(message)}); }

    void ScanMode(std::string_view field, uint16_t mode, uint8_t offered) {
        if (!FindScanMode(mode))
            Fail(field, "not a scan mode (1 colour, 2 grayscale, 4 black and white)");
        else if (!(offered & mode))
            Fail(field, "a scan mode the job does not offer (bColorModes)");
    }

    void Resolution(std::string_view field, uint16_t dpi) {
        if (!FindResolution(dpi))
            Fail(field, "not a resolution of the job (150, 300, 600 or 1200)");
    }

private:
    std::vector<RecordFault>& m_faults;
};

void CheckScanSettings(Checker& check, const JobRecord& record) {
    if (record.bColorModes == 0 || (record.bColorModes & ~kAllScanModes) != 0)
        check.Fail("bColorModes", "not a set of scan modes (bits 0x1, 0x2, 0x4)");
    check.ScanMode("wColorMode", record.wColorMode, record.bColorModes);
    check.ScanMode("wDefColorMode", record.wDefColorMode, record.bColorModes);
    check.Resolution("wResolution", record.wResolution);
    check.Resolution("wDefResolution", record.wDefResolution);
    if (record.dwStored > 1)
        check.Fail("dwStored", "neither 0 (never saved) nor 1");
}

void CheckFormats(Checker& check, uint32_t mask, const ApEntry& ap) {
    const FormatKind kind = FormatKindOf(mask);
    if (kind == FormatKind::kNone)
        return;
    const uint32_t bits = FormatBits(kind);
    if ((ap.dwFormats & ~bits) != 0)
        check.Fail("dwFormats", "holds a format the job's list does not have");
    const bool known = kind == FormatKind::kOffice ? FindOfficeFormat(ap.dwFormat) != nullptr
                                                   : (FindImageFormat(ap.dwFormat) && (ap.dwFormat & bits));
    if (!known)
        check.Fail("dwFormat", "not one of the job's formats");
    else if (!(ap.dwFormats & ap.dwFormat))
        check.Fail("dwFormat", "a format the destination does not accept (dwFormats)");
    else if (!ExtensionNames(kind, ReadField(ap.szExt), ap.dwFormat))
        check.Fail("szExt", "not the extension of the chosen format (dwFormat)");
}

void CheckStrings(Checker& check, const JobRecord& record) {
    for (const RecordField& field : RecordFields()) {
        if (field.kind != FieldKind::kString)
            continue;
        const char* text = reinterpret_cast<const char*>(&record) + field.offset;
        if (!std::memchr(text, 0, field.width))
            check.Fail(field.name, "fills its field with no terminating zero");
    }
}

void CheckCopyBlob(Checker& check, std::span<const uint8_t> extra) {
    if (!extra.empty() && !IsWholeDevMode(extra.data(), extra.size()))
        check.Fail("extra", "not a printer's whole device mode (its size fields disagree with its length)");
}

void CheckRAvudBlob(Checker& check, std::span<const uint8_t> extra) {
    if (extra.size() != kRAvudBlobSize) {
        check.Fail("extra", "the RAvud job keeps a blob of " + std::to_string(kRAvudBlobSize) + " bytes");
        return;
    }
    RAvudBlob blob;
    std::memcpy(&blob, extra.data(), sizeof blob);
    if (blob.wCopyOption > CopySizeRing::kSize)
        check.Fail("extra", "copy size " + std::to_string(blob.wCopyOption) + " is not 0 to 11");
    if (!std::memchr(blob.szPrinterName, 0, sizeof blob.szPrinterName) ||
        !std::memchr(blob.szDriverName, 0, sizeof blob.szDriverName))
        check.Fail("extra", "a printer or driver name without its terminating zero");
}

void CheckOfficeBlob(Checker& check, std::span<const uint8_t> extra) {
    const std::vector<uint8_t> blob(extra.begin(), extra.end());
    if (!IsOfficeBlob(blob)) {
        check.Fail("extra", "the Office job keeps a blob of " + std::to_string(kOfficeBlobSize) + " bytes");
        return;
    }
    const uint16_t id = OfficeBlobApId(blob);
    if (id != 0 && id != OfficeApId::kRecognition && id != OfficeApId::kChineseRecognition)
        check.Fail("extra", "names no recognition program (id " + std::to_string(id) + ")");
    if (!std::memchr(blob.data() + 2, 0, kOfficeBlobFolderSize))
        check.Fail("extra", "a program folder without its terminating zero");
}

void CheckBlob(Checker& check, uint32_t mask, const JobRecord& record, std::span<const uint8_t> extra) {
    if (record.ap.dwExtraLen != extra.size()) {
        check.Fail("dwExtraLen", "is " + std::to_string(record.ap.dwExtraLen) + " but the blob (extra) holds " +
                                     std::to_string(extra.size()) + " bytes");
        return;
    }
    if (record.ap.pExtraLow != 0)
        check.Fail("pExtraLow", "the blob reference is stored as 0");
    switch (mask) {
    case JobMask::kCopy:
        CheckCopyBlob(check, extra);
        break;
    case JobMask::kRAvud:
        CheckRAvudBlob(check, extra);
        break;
    case JobMask::kOffice:
        CheckOfficeBlob(check, extra);
        break;
    default:
        if (!extra.empty())
            check.Fail("extra", "this job keeps no blob");
    }
}

} // namespace

std::vector<RecordFault> CheckJobRecord(uint32_t mask, const JobRecord& record, std::span<const uint8_t> extra) {
    std::vector<RecordFault> faults;
    Checker check(faults);
    CheckScanSettings(check, record);
    if (record.ap.wApSize != kApEntrySize)
        check.Fail("wApSize", "must be " + std::to_string(kApEntrySize));
    if (record.ap.dwJobMask != mask)
        check.Fail("dwJobMask", "not the mask of this job");
    CheckFormats(check, mask, record.ap);
    if (record.ap.wQuality < Quality::kMin || record.ap.wQuality > Quality::kMax)
        check.Fail("wQuality", "outside the quality slider's 1 to 100");
    CheckStrings(check, record);
    CheckBlob(check, mask, record, extra);
    return faults;
}

} // namespace tolvan
