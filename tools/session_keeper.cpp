// Holds a Wine session's desktop for as long as the session lives; scripts/wine-env starts it with each session.
//
// Wine closes a desktop one second after its last program ends: explorer.exe, which owns the desktop window, is
// told to quit and takes the desktop window with it. A program that starts in that second can be handed the
// desktop window that is about to go, and its first window is then refused with ERROR_INVALID_WINDOW_HANDLE. A
// session whose desktop always has this program among its users never closes its desktop, so no program of the
// session meets a closing one.
//
// It says "ready" on standard output once a hidden top-level window of its own exists: from then on the session's
// desktop takes windows. If the window cannot be made it says "no window (system error N)" and ends with exit
// code 1. It ends when the session is stopped.
#include <windows.h>

#include <cstdio>

namespace {

constexpr char kClassName[] = "TolvanSessionKeeper";

} // namespace

int main() {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!::RegisterClassA(&windowClass)) {
        std::printf("no window class (system error %lu)\n", ::GetLastError());
        return 1;
    }
    // Never shown: a visible window would be one more window on the screen the checks look at.
    const HWND window = ::CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (!window) {
        std::printf("no window (system error %lu)\n", ::GetLastError());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&message);
    return 0;
}
