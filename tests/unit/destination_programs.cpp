#include "destination_programs.h"

#include "mail_programs.h"
#include "page_host.h"

#include "pages/application_list.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"

#include <gtest/gtest.h>

namespace tolvan::test {

std::string MakeProgramFile(const ScratchFolder& scratch, const std::string& exe) {
    const std::string folder = scratch.File("Programs");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + exe;
    EXPECT_TRUE(WriteFileBytes(path, Bytes{'M', 'Z'})) << path;
    return folder + "\\";
}

ApEntry Destination(const ScratchFolder& scratch, uint16_t id, const char* name, const char* exe, uint32_t formats,
                    bool shipped) {
    ApEntry e{};
    e.wApSize = kApEntrySize;
    e.dwApCategory = kDestinationCategory;
    e.dwJobMask = shipped ? 0x1 : 0;
    e.dwApOptions = shipped ? 0x1 : 0;
    e.dwFormats = formats;
    e.dwFormat = 0x1;
    e.wQuality = 95;
    e.wApId = id;
    WriteField(e.szApName, name);
    WriteField(e.szExeName, exe);
    WriteField(e.szExeDir, MakeProgramFile(scratch, exe));
    WriteField(e.szFolder, std::string("entry ") + name); // only a whole-entry copy would bring it
    WriteField(e.szExt, ".BMP");
    return e;
}

namespace {

std::string InUserFolder(const CAppServices& services, const char* name) {
    char folder[260];
    services.GetUserFolder(folder);
    return std::string(folder) + name;
}

} // namespace

std::string UserCatalogue(const CAppServices& services) {
    return InUserFolder(services, "\\ApInfo.dat");
}

std::string InstalledList(const CAppServices& services) {
    return InUserFolder(services, "\\InApInfo.dat");
}

std::string DriverCatalogue(const CAppServices& services) {
    char folder[260];
    services.GetDriverFolder(folder);
    return std::string(folder) + "\\APInfo.dat";
}

JobRecord ApplicationRecord() {
    JobRecord r = MakeRecord(JobMask::kApplication);
    r.ap.dwApCategory = kDestinationCategory;
    r.ap.dwApOptions = 0x1;
    r.ap.dwFormats = 0x6B;
    r.ap.wApId = 4159;
    WriteField(r.ap.szApName, "Fax Viewer");
    WriteField(r.ap.szExeName, "fax.exe");
    WriteField(r.ap.szExeDir, "C:\\Windows\\");
    WriteField(r.ap.szFolder, "record folder");
    return r;
}

JobRecord RecordNaming(const ApEntry& entry) {
    JobRecord r = ApplicationRecord();
    TakeProgram(r, entry);
    return r;
}

void InstallDestinations(const CAppServices& services, const std::vector<ApEntry>& entries) {
    InstallApplications(services, entries);
    WriteApplicationList(UserCatalogue(services), entries);
}

} // namespace tolvan::test
