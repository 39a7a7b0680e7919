// The text form of a user's settings: what an export gives back on import (every byte of every record and blob),
// and what an edited or damaged text is refused for, with the line and field a person has to look at.
#include "cfg/settings_text.h"

#include "pages/device_mode.h"
#include "pages/ravud_blob.h"
#include "pages/record_rules.h"
#include "settings/job_table.h"
#include "tools/template_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace tolvan {
namespace {

// The driver's template: a record of every job with the values a fresh installation has.
std::vector<StoredJob> TemplateJobs() {
    std::ifstream in(TOLVAN_DRIVER_DESCRIPTION, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    TemplateDescription description;
    std::string error;
    if (!ParseTemplateDescription(text.str(), description, error))
        throw std::runtime_error(error);
    return description.jobs;
}

StoredJob& JobOf(std::vector<StoredJob>& jobs, uint32_t mask) {
    for (StoredJob& job : jobs)
        if (job.mask == mask)
            return job;
    throw std::logic_error("no such job");
}

void SetString(char* field, std::size_t size, std::string_view text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), text.size());
}

std::string Export(const std::vector<StoredJob>& jobs) {
    return WriteSettingsText("TV-610", jobs);
}

void ExpectSameJobs(const std::vector<StoredJob>& expected, const std::vector<StoredJob>& got) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].mask, expected[i].mask);
        EXPECT_EQ(std::memcmp(&got[i].record, &expected[i].record, kJobRecordSize), 0)
            << FindJob(expected[i].mask)->caption;
        EXPECT_EQ(got[i].extra, expected[i].extra) << FindJob(expected[i].mask)->caption;
    }
}

TEST(SettingsTextRoundTrip, EveryJobOfTheTemplateReadsBackByteForByte) {
    const std::vector<StoredJob> jobs = TemplateJobs();
    SettingsText text;
    std::vector<TextFault> faults;
    ASSERT_TRUE(ParseSettingsText(Export(jobs), text, faults)) << faults.front().line << ": " << faults.front().message;
    EXPECT_EQ(text.modelName, "TV-610");
    ExpectSameJobs(jobs, text.jobs);
}

TEST(SettingsTextRoundTrip, BytesThatNoPageWritesButAFileMayHoldReadBackExactly) {
    std::vector<StoredJob> jobs = TemplateJobs();
    StoredJob& email = JobOf(jobs, JobMask::kEmail);
    // Quotes, percent signs, control characters and code-page letters in a name; a Windows path with its
    // backslashes; garbage behind a terminator; header and reserved bytes the program never looks at.
    SetString(email.record.ap.szApName, sizeof email.record.ap.szApName, "Mail \"Pro\" 100% \t\xE4\xF6\xFC");
    SetString(email.record.ap.szExeDir, sizeof email.record.ap.szExeDir, "C:\\Program Files\\Mail\\");
    std::memcpy(email.record.ap.szFolder + 10, "left over", 9);
    std::memcpy(email.record.abHeader, "\x01\xFF\x00\x7F\x80\x22", 6);
    email.record.bReserved = 0xAB;
    email.record.ap.wReserved = 0xBEEF;
    // A printer's whole device mode behind the Copy record, and a filled RAvud blob.
    StoredJob& copy = JobOf(jobs, JobMask::kCopy);
    copy.extra.assign(156 + 8, 0x5A);
    copy.extra[kDevModeSizeOffset] = 156;
    copy.extra[kDevModeSizeOffset + 1] = 0;
    copy.extra[kDevModeDriverExtraOffset] = 8;
    copy.extra[kDevModeDriverExtraOffset + 1] = 0;
    copy.record.ap.dwExtraLen = static_cast<uint32_t>(copy.extra.size());
    StoredJob& ravud = JobOf(jobs, JobMask::kRAvud);
    RAvudBlob blob = ReadRAvudBlob(ravud.extra);
    blob.wCopyOption = 11;
    SetString(blob.szPrinterName, sizeof blob.szPrinterName, "Office_Laser");
    WriteRAvudBlob(ravud.extra, blob);

    SettingsText text;
    std::vector<TextFault> faults;
    const std::string exported = Export(jobs);
    ASSERT_TRUE(ParseSettingsText(exported, text, faults)) << faults.front().line << ": " << faults.front().message;
    ExpectSameJobs(jobs, text.jobs);
    // Paths stay readable; what is not plain ASCII is escaped, so the file does not depend on a code page.
    EXPECT_NE(exported.find("szExeDir = \"C:\\Program Files\\Mail\\\""), std::string::npos);
    EXPECT_NE(exported.find("szApName = \"Mail %22Pro%22 100%25 %09%e4%f6%fc\""), std::string::npos);
    EXPECT_NE(exported.find("szFolder = hex:"), std::string::npos);
    // An export of the read-back text is the same text.
    EXPECT_EQ(Export(text.jobs), exported);
}

// A change to an exported text, and where its fault is to be reported.
struct Damage {
    const char* name;
    std::function<std::string(std::string)> change;
    std::string marker; // the fault's line is the first line that contains this text after the change ("": none)
    const char* field;
    const char* message;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("not in the export: " + from);
    return text.replace(at, from.size(), to);
}

int LineOf(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    if (marker.empty() || at == std::string::npos)
        return 0;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

class DamagedSettingsText : public testing::TestWithParam<Damage> {};

TEST_P(DamagedSettingsText, IsRefusedWithItsLineAndField) {
    const Damage& damage = GetParam();
    const std::string text = damage.change(Export(TemplateJobs()));
    SettingsText parsed;
    std::vector<TextFault> faults;
    EXPECT_FALSE(ParseSettingsText(text, parsed, faults));
    const int line = LineOf(text, damage.marker);
    std::string seen;
    bool found = false;
    for (const TextFault& fault : faults) {
        seen += std::to_string(fault.line) + ": " + fault.field + ": " + fault.message + "\n";
        found = found || ((line == 0 || fault.line == line) && fault.field == damage.field &&
                          fault.message.find(damage.message) != std::string::npos);
    }
    EXPECT_TRUE(found) << "expected line " << line << ": " << damage.field << ": " << damage.message << "\nseen:\n"
                       << seen;
}

const Damage kDamages[] = {
    // Truncation: mid-section, mid-value and before the closing line.
    {"CutInASection", [](std::string t) { return t.substr(0, t.find("wQuality", t.find("[job File]"))); }, "[job File]",
     "", "lacks wQuality"},
    {"CutInABlob", [](std::string t) { return t.substr(0, t.find("extra = 00") + 15); }, "", "extra", "not hex bytes"},
    {"NoClosingLine", [](std::string t) { return t.substr(0, t.rfind("end")); }, "", "", "ends early"},
    {"Empty", [](std::string) { return std::string(); }, "", "", "empty"},
    // Wrong types and sizes.
    {"LettersForANumber", [](std::string t) { return Replace(t, "wResolution = 300", "wResolution = high"); },
     "wResolution = high", "wResolution", "not a number"},
    {"NumberTooLargeForItsField", [](std::string t) { return Replace(t, "wQuality = 95", "wQuality = 70000"); },
     "wQuality = 70000", "wQuality", "16-bit"},
    {"TextWithoutQuotes", [](std::string t) { return Replace(t, "szExt = \".BMP\"", "szExt = .BMP"); }, "szExt = .BMP",
     "szExt", "quotes"},
    {"OverlongText",
     [](std::string t) {
         return Replace(t, "szFilePrefix = \"Image\"", "szFilePrefix = \"" + std::string(260, 'x') + "\"");
     },
     "szFilePrefix = \"xxx", "szFilePrefix", "259 characters"},
    {"ZeroByteInAText",
     [](std::string t) { return Replace(t, "szFilePrefix = \"Image\"", "szFilePrefix = \"Im%00age\""); },
     "szFilePrefix = \"Im%00", "szFilePrefix", "zero byte"},
    {"HeaderBytesOfTheWrongLength",
     [](std::string t) { return Replace(t, "abHeader = 000000000000", "abHeader = 00"); }, "abHeader = 00\n",
     "abHeader", "6 bytes"},
    // Unknown or repeated names.
    {"UnknownSection", [](std::string t) { return Replace(t, "[job File]", "[printer File]"); }, "[printer File]", "",
     "unknown section"},
    {"UnknownJob", [](std::string t) { return Replace(t, "[job File]", "[job Fax]"); }, "[job Fax]", "", "unknown job"},
    {"UnknownField", [](std::string t) { return Replace(t, "wQuality = 95", "wSharpness = 95"); }, "wSharpness",
     "wSharpness", "not a field"},
    {"FieldTwice", [](std::string t) { return Replace(t, "wQuality = 95\n", "wQuality = 95\nwQuality = 90\n"); },
     "wQuality = 90", "wQuality", "given twice"},
    {"JobTwice", [](std::string t) { return Replace(t, "[job File]", "[job Email]"); }, "", "", "given twice"},
    {"SettingBeforeAnySection",
     [](std::string t) { return Replace(t, "\n[job Email]", "\nwQuality = 95\n[job Email]"); }, "wQuality = 95",
     "wQuality", "outside"},
    {"UnknownVersion", [](std::string t) { return Replace(t, "tolvan-settings 1 ", "tolvan-settings 2 "); },
     "tolvan-settings 2", "version", "not known"},
    {"NotAnExport", [](std::string t) { return Replace(t, "tolvan-settings 1 ", "settings 1 "); }, "settings 1", "",
     "not a settings export"},
    {"TextAfterTheEnd", [](std::string t) { return t + "wQuality = 95\n"; }, "", "", "after the closing"},
    // Values no page could write.
    {"ResolutionOffTheSlider", [](std::string t) { return Replace(t, "wResolution = 300", "wResolution = 200"); },
     "wResolution = 200", "wResolution", "not a resolution"},
    {"ScanModeTheJobDoesNotOffer",
     [](std::string t) { return Replace(t, "wColorMode = 4\nwDefColorMode", "wColorMode = 1\nwDefColorMode"); },
     "wColorMode = 1\nwDefColorMode = 4", "wColorMode", "does not offer"},
    {"QualityZero", [](std::string t) { return Replace(t, "wQuality = 95", "wQuality = 0"); }, "wQuality = 0",
     "wQuality", "1 to 100"},
    {"PdfOnTheFilePage",
     [](std::string t) { return Replace(t, "dwFormat = 0x1\nwQuality = 95", "dwFormat = 0x400\nwQuality = 95"); },
     "dwFormat = 0x400", "dwFormat", "not one of the job's formats"},
    {"ExtensionOfAnotherFormat", [](std::string t) { return Replace(t, "szExt = \".DOC\"", "szExt = \".TXT\""); },
     "szExt = \".TXT\"", "szExt", "not the extension"},
    {"MaskOfAnotherJob", [](std::string t) { return Replace(t, "dwJobMask = 0x100", "dwJobMask = 0x40"); },
     "dwJobMask = 0x40\n", "dwJobMask", "not the mask"},
    {"BlobShorterThanItsLength", [](std::string t) { return Replace(t, "extra = 0000", "extra = "); },
     "dwExtraLen = 0x106", "dwExtraLen", "holds 260 bytes"},
    {"BlobBehindAJobThatKeepsNone",
     [](std::string t) {
         return Replace(t, "dwExtraLen = 0x0\npExtraLow = 0\nwReserved = 0\nextra = \n",
                        "dwExtraLen = 0x2\npExtraLow = 0\nwReserved = 0\nextra = abcd\n");
     },
     "extra = abcd", "extra", "keeps no blob"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DamagedSettingsText, testing::ValuesIn(kDamages),
                         [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST(RecordRules, BlobsHoldWhatTheirPagesWrite) {
    std::vector<StoredJob> jobs = TemplateJobs();
    StoredJob& copy = JobOf(jobs, JobMask::kCopy);
    // A device mode whose size fields promise more than the blob holds.
    copy.extra.assign(100, 0);
    copy.extra[kDevModeSizeOffset] = 156;
    copy.record.ap.dwExtraLen = 100;
    auto faults = CheckJobRecord(copy.mask, copy.record, copy.extra);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].field, "extra");

    StoredJob& ravud = JobOf(jobs, JobMask::kRAvud);
    RAvudBlob blob = ReadRAvudBlob(ravud.extra);
    blob.wCopyOption = 12;
    std::memset(blob.szDriverName, 'x', sizeof blob.szDriverName);
    WriteRAvudBlob(ravud.extra, blob);
    faults = CheckJobRecord(ravud.mask, ravud.record, ravud.extra);
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_NE(faults[0].message.find("copy size 12"), std::string::npos);
    EXPECT_NE(faults[1].message.find("terminating zero"), std::string::npos);
}

} // namespace
} // namespace tolvan
