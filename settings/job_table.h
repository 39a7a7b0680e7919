// The tables that name the seven jobs, the image formats and the Office document formats.
// They are data, kept in one place, so that the store, the tabs and the pages agree.
#pragma once

#include "res/resource.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace tolvan {

namespace JobMask {
inline constexpr uint32_t kApplication = 0x1; // "VAVizi"
inline constexpr uint32_t kOffice = 0x2;
inline constexpr uint32_t kFile = 0x40;
inline constexpr uint32_t kEmail = 0x100;
inline constexpr uint32_t kCopy = 0x200;
inline constexpr uint32_t kDUzar = 0x1000;
inline constexpr uint32_t kRAvud = 0x2000;
} // namespace JobMask

enum class BlobKind : uint8_t {
    kNone,    // whatever the stream holds behind the record is dropped
    kFixed,   // a zeroed buffer of blobSize bytes is read into
    kAsStored // the stored length is learned by a first read
};

struct JobInfo {
    uint32_t mask;
    std::string_view caption;
    int tabButtonId;
    int pageTemplateId;
    BlobKind blob;
    uint32_t blobSize;
};

// In the order in which the main window builds its tabs.
inline constexpr JobInfo kJobs[] = {
    {JobMask::kEmail, "Email", IDC_EMAIL_TAB, IDD_EMAIL_PAGE, BlobKind::kNone, 0},
    {JobMask::kOffice, "Office", IDC_OFFICE_TAB, IDD_OFFICE_PAGE, BlobKind::kFixed, 262},
    {JobMask::kFile, "File", IDC_FILE_TAB, IDD_FILE_PAGE, BlobKind::kNone, 0},
    {JobMask::kCopy, "Copy", IDC_COPY_TAB, IDD_COPY_PAGE, BlobKind::kAsStored, 0},
    {JobMask::kApplication, "VAVizi", IDC_APPLICATION_TAB, IDD_APPLICATION_PAGE, BlobKind::kNone, 0},
    {JobMask::kDUzar, "DUzar", IDC_DUZAR_TAB, IDD_DUZAR_PAGE, BlobKind::kNone, 0},
    {JobMask::kRAvud, "RAvud", IDC_RAVUD_TAB, IDD_RAVUD_PAGE, BlobKind::kFixed, 214},
};

const JobInfo* FindJob(uint32_t mask);
// The job whose tab caption is exactly caption.
const JobInfo* FindJobByCaption(std::string_view caption);

// The scan modes of bColorModes and wColorMode, in the order the pages list them.
struct ScanMode {
    uint16_t bit;
    unsigned text;
};
inline constexpr ScanMode kScanModes[] = {
    {0x1, IDS_SCAN_MODE_COLOR}, {0x2, IDS_SCAN_MODE_GRAY}, {0x4, IDS_SCAN_MODE_BLACK_WHITE}};
inline constexpr uint8_t kAllScanModes = 0x7;

const ScanMode* FindScanMode(uint32_t bit);

// The resolutions of wResolution, at their positions on the pages' slider.
struct Resolution {
    int position;
    uint16_t dpi;
    unsigned caption;
    unsigned hint;
};
inline constexpr Resolution kResolutions[] = {{1, 150, IDS_RESOLUTION_150, IDS_RESOLUTION_150_HINT},
                                              {2, 300, IDS_RESOLUTION_300, IDS_RESOLUTION_300_HINT},
                                              {3, 600, IDS_RESOLUTION_600, IDS_RESOLUTION_600_HINT},
                                              {4, 1200, IDS_RESOLUTION_1200, IDS_RESOLUTION_1200_HINT}};

const Resolution* FindResolution(uint32_t dpi);
const Resolution* FindResolutionByPosition(int position);

// The JPEG quality's slider range, and the value wherever the program sets a default.
namespace Quality {
inline constexpr uint16_t kMin = 1;
inline constexpr uint16_t kMax = 100;
inline constexpr uint16_t kDefault = 95;
} // namespace Quality

struct ImageFormat {
    uint32_t bit;
    std::string_view text;
    std::string_view ext;
};

// Bits of dwFormats/dwFormat for image files. PDF is offered by the Email page only.
inline constexpr ImageFormat kImageFormats[] = {
    {0x1, "BMP", ".BMP"},  {0x2, "TIF", ".TIF"},  {0x4, "PCX", ".PCX"},  {0x8, "JPG", ".JPG"},
    {0x10, "TGA", ".TGA"}, {0x20, "PNG", ".PNG"}, {0x40, "GIF", ".GIF"}, {0x400, "PDF", ".PDF"},
};

namespace Format {
inline constexpr uint32_t kBmp = 0x1;
inline constexpr uint32_t kJpg = 0x8;
inline constexpr uint32_t kGif = 0x40;
inline constexpr uint32_t kPdf = 0x400;
inline constexpr uint32_t kEmailFormats = 0x409;    // BMP, JPG, PDF
inline constexpr uint32_t kUserAddedFormats = 0x7F; // the first seven image formats
} // namespace Format

const ImageFormat* FindImageFormat(uint32_t bit);

// The Office job's document formats use other bits of the same two fields.
struct OfficeFormat {
    uint32_t bit;
    std::string_view text;
    uint16_t documentApId;
};

inline constexpr OfficeFormat kOfficeFormats[] = {
    {0x200, "TXT", 4111},
    {0x100, "RTF", 4109},
    {0x800, "XLS", 4110},
    {0x1000, "DOC", 4109},
};

namespace OfficeBit {
inline constexpr uint32_t kTxt = 0x200;
inline constexpr uint32_t kRtf = 0x100;
inline constexpr uint32_t kXls = 0x800;
inline constexpr uint32_t kDoc = 0x1000;
inline constexpr uint32_t kAll = 0x1B00;
} // namespace OfficeBit

} // namespace tolvan
