#include "app/file_backup.h"

#include "app/path_buffer.h"

#include <windows.h>

#include <cstdio>

namespace tolvan {

bool KeepBackup(const char* path) {
    char backup[kMaxPathBytes];
    for (int n = 0; n < 100; ++n) {
        const int length = n == 0 ? std::snprintf(backup, sizeof backup, "%s.bak", path)
                                  : std::snprintf(backup, sizeof backup, "%s.%d.bak", path, n);
        if (length < 0 || static_cast<size_t>(length) >= sizeof backup)
            return false;
        if (::GetFileAttributesA(backup) == INVALID_FILE_ATTRIBUTES)
            return ::CopyFileA(path, backup, TRUE) != FALSE;
    }
    return false;
}

} // namespace tolvan
