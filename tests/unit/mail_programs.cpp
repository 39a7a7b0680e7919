#include "mail_programs.h"

#include "application_list_file.h"

#include "driver/apinfo/ap_category.h"
#include "settings/fixed_string.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tolvan::test {

namespace {

struct MailProgram {
    uint16_t id;
    const char* name;
    const char* exe;
    const char* folder;
};

constexpr MailProgram kPrograms[] = {
    {MailId::kOutlookExpress, "Outlook Express", "msimn.exe", "C:\\Program Files\\Outlook Express\\"},
    {MailId::kOutlook, "Microsoft Outlook", "outlook.exe", "C:\\Program Files\\Microsoft Office\\Office16\\"},
    {MailId::kWindowsMail, "Windows Mail", "WinMail.exe", "C:\\Program Files\\Windows Mail\\"},
};

} // namespace

ApEntry MailEntry(uint16_t id) {
    ApEntry e{};
    for (const MailProgram& p : kPrograms) {
        if (p.id != id)
            continue;
        e.wApSize = kApEntrySize;
        e.dwApCategory = apinfo::Category::kMail;
        e.dwJobMask = 0x100;
        e.dwApOptions = 0x1;
        e.dwFormats = 0x409;
        e.dwFormat = 0x8;
        e.wQuality = 95;
        e.wApId = id;
        WriteField(e.szApName, p.name);
        WriteField(e.szExeName, p.exe);
        WriteField(e.szExeDir, p.folder);
        WriteField(e.szFolder, "entry " + std::to_string(id));
        WriteField(e.szExt, ".JPG");
        e.wReserved = static_cast<uint16_t>(id ^ 0x5A5A);
    }
    return e;
}

std::vector<ApEntry> InstalledMailPrograms() {
    ApEntry other = MailEntry(MailId::kWindowsMail);
    other.dwApCategory = apinfo::Category::kDestination;
    WriteField(other.szExeName, "other.exe");
    return {other, MailEntry(MailId::kOutlookExpress), MailEntry(MailId::kOutlook), MailEntry(MailId::kWindowsMail)};
}

void InstallApplications(const CAppServices& services, const std::vector<ApEntry>& entries) {
    char driver[260], user[260];
    services.GetDriverFolder(driver);
    services.GetUserFolder(user);
    ASSERT_TRUE(::CopyFileA(TOLVAN_APINFO_DLL, (std::string(driver) + "\\APInfo.dll").c_str(), FALSE));
    WriteApplicationList(std::string(user) + "\\InApInfo.dat", entries);
}

} // namespace tolvan::test
