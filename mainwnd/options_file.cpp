#include "mainwnd/options_file.h"

#include "app/app_services.h"

#include <cstdio>

namespace tolvan {

namespace {

constexpr char kFileName[] = "\\Splash.dat";
constexpr char kSection[] = "Tolvan";
constexpr char kKey[] = "bAutoCrop";

} // namespace

bool COptionsFile::Locate(char (&path)[260]) const {
    m_app.GetUserFolder(path);
    if (path[0] == '\0' || !AppendPath(path, kFileName))
        return false;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA(path, &found);
    if (find != INVALID_HANDLE_VALUE) {
        ::FindClose(find);
    } else {
        PathBuffer driverCopy;
        m_app.GetDriverFolder(driverCopy);
        if (driverCopy[0] != '\0' && AppendPath(driverCopy, kFileName))
            ::CopyFileA(driverCopy, path, FALSE); // a failed copy reads as "not offered"
    }
    // Clears a read-only attribute taken over from the driver folder.
    ::SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE);
    return true;
}

int COptionsFile::ReadAutoCrop() const {
    PathBuffer path;
    if (!Locate(path))
        return kAutoCropNotOffered;
    return static_cast<int>(::GetPrivateProfileIntA(kSection, kKey, kAutoCropNotOffered, path));
}

void COptionsFile::WriteAutoCrop(int value) const {
    PathBuffer path;
    if (!Locate(path))
        return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    ::WritePrivateProfileStringA(kSection, kKey, text, path);
}

} // namespace tolvan
