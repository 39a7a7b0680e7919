#include "pages/program_file_dialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <cstring>

namespace tolvan {

namespace {

// A program's folder and file name are kept in 260 bytes; the dialog may hand back a longer path, which is then
// refused with a word rather than cut.
constexpr DWORD kPathChars = 1024;
constexpr char kFilter[] = "executable files (*.exe)\0*.exe\0";

} // namespace

ProgramChoice ChooseProgramFile(HWND owner, std::string& path) {
    char file[kPathChars] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kPathChars;
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameA(&ofn))
        return ::CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? ProgramChoice::kPathTooLong
                                                                : ProgramChoice::kCancelled;
    const void* end = std::memchr(file, 0, sizeof file);
    if (!end)
        return ProgramChoice::kPathTooLong;
    path.assign(file, static_cast<std::size_t>(static_cast<const char*>(end) - file));
    return ProgramChoice::kChosen;
}

} // namespace tolvan
