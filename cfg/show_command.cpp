// show: the model, the job set and every offered job in words, as text or as JSON.
#include "cfg/commands.h"

#include "cfg/settings_text.h"
#include "pages/copy_size_ring.h"
#include "pages/device_mode.h"
#include "pages/file_target.h"
#include "pages/office_formats.h"
#include "pages/ravud_blob.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace tolvan {

namespace {

// One line of a job's description: a key for JSON, a label for people, and the words.
struct Line {
    const char* key;
    const char* label;
    std::string text;
};

std::string Text(CConsoleApp& app, unsigned id) {
    TextBuffer buffer;
    app.LoadText(id, buffer);
    return buffer;
}

std::string ScanModeText(CConsoleApp& app, uint16_t mode) {
    const ScanMode* found = FindScanMode(mode);
    return found ? Text(app, found->text) : "unknown (" + std::to_string(mode) + ")";
}

std::string ResolutionText(CConsoleApp& app, uint16_t dpi) {
    const Resolution* found = FindResolution(dpi);
    return found ? Text(app, found->caption) : "unknown (" + std::to_string(dpi) + ")";
}

std::string FormatText(uint32_t mask, uint32_t bit) {
    if (mask == JobMask::kOffice) {
        const OfficeFormat* format = FindOfficeFormat(bit);
        return format ? std::string(format->text) : "unknown (" + std::to_string(bit) + ")";
    }
    const ImageFormat* format = FindImageFormat(bit);
    return format ? std::string(format->text) : "unknown (" + std::to_string(bit) + ")";
}

std::string ProgramText(const ApEntry& ap) {
    const std::string_view name = ReadField(ap.szApName);
    if (name.empty())
        return "none chosen";
    return std::string(name) + " (" + std::string(ReadField(ap.szExeDir)) + std::string(ReadField(ap.szExeName)) + ")";
}

std::string PrinterText(std::string_view name, std::string_view driver) {
    if (name.empty())
        return "none chosen";
    return driver.empty() ? std::string(name) : std::string(name) + " (driver " + std::string(driver) + ")";
}

std::string DeviceModeText(const std::vector<uint8_t>& extra) {
    if (extra.empty())
        return "none stored: the printer's own";
    if (!IsWholeDevMode(extra.data(), extra.size()))
        return "damaged (" + std::to_string(extra.size()) + " bytes that are no device mode)";
    const std::size_t size = extra[kDevModeSizeOffset] | std::size_t{extra[kDevModeSizeOffset + 1]} << 8;
    return "the printer's device mode, " + std::to_string(size) + " bytes and " + std::to_string(extra.size() - size) +
           " of its driver's own";
}

void DescribeDestination(CConsoleApp& app, const StoredJob& job, std::vector<Line>& lines) {
    const ApEntry& ap = job.record.ap;
    switch (job.mask) {
    case JobMask::kEmail:
        lines.push_back({"mailProgram", "Mail program", ProgramText(ap)});
        break;
    case JobMask::kOffice: {
        lines.push_back({"documentProgram", "Document program", ProgramText(ap)});
        const uint16_t id = OfficeBlobApId(job.extra);
        const std::string folder(OfficeBlobFolder(job.extra));
        lines.push_back({"recognitionProgram", "Recognition program",
                         id == 0 ? "none chosen" : "id " + std::to_string(id) + " in " + folder});
        break;
    }
    case JobMask::kFile:
        lines.push_back({"target", "Saves to", TargetText(ap)});
        break;
    case JobMask::kCopy:
        lines.push_back({"printer", "Printer", PrinterText(ReadField(ap.szExeDir), {})});
        lines.push_back({"printerSettings", "Printer settings", DeviceModeText(job.extra)});
        break;
    case JobMask::kRAvud: {
        const RAvudBlob blob = ReadRAvudBlob(job.extra);
        const uint16_t size = EffectiveCopySize(blob.wCopyOption);
        lines.push_back(
            {"printer", "Printer", PrinterText(ReadField(blob.szPrinterName), ReadField(blob.szDriverName))});
        lines.push_back({"copySize", "Copy size", Text(app, CopySizeRing(size).Current().stringId)});
        break;
    }
    default:
        lines.push_back({"application", "Application", ProgramText(ap)});
    }
    if (job.mask == JobMask::kCopy || job.mask == JobMask::kRAvud)
        return;
    std::string format = FormatText(job.mask, ap.dwFormat) + " (" + std::string(ReadField(ap.szExt)) + ")";
    if (ap.dwFormat == Format::kJpg)
        format += ", JPEG quality " + std::to_string(ap.wQuality);
    lines.push_back({"format", "Format", format});
}

std::vector<Line> Describe(CConsoleApp& app, const StoredJob& job) {
    const JobRecord& r = job.record;
    std::vector<Line> lines;
    std::string offered;
    for (const ScanMode& mode : kScanModes)
        if (r.bColorModes & mode.bit)
            offered += (offered.empty() ? "" : ", ") + Text(app, mode.text);
    lines.push_back({"scanMode", "Scan mode",
                     ScanModeText(app, r.wColorMode) + " (default " + ScanModeText(app, r.wDefColorMode) +
                         "; offered: " + offered + ")"});
    lines.push_back({"resolution", "Resolution",
                     ResolutionText(app, r.wResolution) + " (default " + ResolutionText(app, r.wDefResolution) + ")"});
    DescribeDestination(app, job, lines);
    lines.push_back({"saved", "Saved by Tolvan", r.dwStored ? "yes" : "not yet"});
    return lines;
}

// JSON strings are Unicode: the stored ANSI text is converted from the system code page, and everything past
// ASCII is escaped so the output is plain ASCII whatever the console's code page.
std::string JsonString(std::string_view ansi) {
    std::wstring wide(ansi.size(), L'\0');
    const int n = ansi.empty() ? 0
                               : ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                       wide.data(), static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    std::string out = "\"";
    for (wchar_t c : wide) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + '"';
}

void PrintText(CConsoleApp& app, const StoredSettings& settings) {
    std::printf("Settings file: %s\nModel: %s\nJobs offered:", app.SettingsPath().c_str(), settings.modelName);
    for (const StoredJob& job : settings.jobs)
        std::printf(" %s", std::string(FindJob(job.mask)->caption).c_str());
    std::printf("\n");
    for (const StoredJob& job : settings.jobs) {
        std::printf("\n%s\n", std::string(FindJob(job.mask)->caption).c_str());
        for (const Line& line : Describe(app, job))
            std::printf("  %-20s %s\n", (std::string(line.label) + ":").c_str(), line.text.c_str());
    }
}

void PrintJson(CConsoleApp& app, const StoredSettings& settings) {
    std::printf("{\n  \"file\": %s,\n  \"model\": %s,\n  \"jobSet\": %u,\n  \"jobs\": [",
                JsonString(app.SettingsPath()).c_str(), JsonString(settings.modelName).c_str(), settings.jobSet);
    const char* jobSeparator = "";
    for (const StoredJob& job : settings.jobs) {
        std::printf("%s\n    {\n      \"job\": %s,\n      \"mask\": %u,\n      \"description\": {", jobSeparator,
                    JsonString(FindJob(job.mask)->caption).c_str(), job.mask);
        const char* separator = "";
        for (const Line& line : Describe(app, job)) {
            std::printf("%s\n        \"%s\": %s", separator, line.key, JsonString(line.text).c_str());
            separator = ",";
        }
        std::printf("\n      },\n      \"fields\": {");
        separator = "";
        for (const RecordField& field : RecordFields()) {
            const std::string value = FormatRecordField(job.record, field);
            const bool number = field.kind != FieldKind::kString && field.kind != FieldKind::kBytes;
            uint32_t n = 0;
            std::memcpy(&n, reinterpret_cast<const uint8_t*>(&job.record) + field.offset, number ? field.width : 0);
            std::printf("%s\n        \"%s\": %s", separator, std::string(field.name).c_str(),
                        number ? std::to_string(n).c_str() : JsonString(value).c_str());
            separator = ",";
        }
        std::printf("\n      },\n      \"extra\": \"%s\"\n    }", BlobText(job.extra).c_str());
        jobSeparator = ",";
    }
    std::printf("\n  ]\n}\n");
}

} // namespace

int RunShow(CConsoleApp& app, bool json) {
    StoredSettings settings;
    const int code = app.OpenForReading(settings, false);
    if (code != kCfgOk)
        return code;
    app.Discard();
    if (json)
        PrintJson(app, settings);
    else
        PrintText(app, settings);
    return kCfgOk;
}

} // namespace tolvan
