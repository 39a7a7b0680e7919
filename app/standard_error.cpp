#include "app/standard_error.h"

#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace tolvan {

bool WriteStandardError(const char* text) {
    HANDLE out = ::GetStdHandle(STD_ERROR_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE || !text)
        return false;
    for (const char* part : {text, "\r\n"}) {
        DWORD written = 0;
        const auto length = static_cast<DWORD>(std::strlen(part));
        if (!::WriteFile(out, part, length, &written, nullptr) || written != length)
            return false;
    }
    return true;
}

} // namespace tolvan
