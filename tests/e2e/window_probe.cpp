// Looks at Tolvan's main window from another process in the same prefix, for the end-to-end checks of the
// window: what the X server cannot tell (the window's region, a control's visibility and check state) and what
// a bare X server cannot deliver (Alt+F4).
//   window-probe state   key=value lines: screen metrics, the window's rectangle and region, the auto-crop box
//   window-probe close   posts WM_SYSCOMMAND SC_CLOSE to the window, as Alt+F4 does
//   window-probe restore posts WM_SYSCOMMAND SC_RESTORE, as the taskbar button of a minimised window does
// Exit code: 0 done, 1 no main window, 2 bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

constexpr int kAutoCropId = 1071;

// The main window is the top-level "Tolvan" that holds the auto-crop box; message boxes share its title.
BOOL CALLBACK FindMain(HWND window, LPARAM found) {
    wchar_t title[16] = {};
    // The wide form: ANSI text messages between Wine processes come back as UTF-16 bytes.
    ::GetWindowTextW(window, title, 16);
    if (std::wcscmp(title, L"Tolvan") != 0 || !::GetDlgItem(window, kAutoCropId))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND MainWindow() {
    HWND found = nullptr;
    ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
    return found;
}

void PrintRect(const char* key, const RECT& r) {
    std::printf("%s=%ld,%ld,%ld,%ld\n", key, r.left, r.top, r.right, r.bottom);
}

void PrintRegion(HWND window) {
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const int type = ::GetWindowRgn(window, region);
    RECT box{};
    ::GetRgnBox(region, &box);
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::printf("region_type=%d\n", type);
    PrintRect("region_box", box);
    std::printf("region_bytes=%lu\n", size);
    ::DeleteObject(region);
}

int State(HWND window) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::printf("cxfullscreen=%d\ncyfullscreen=%d\n", ::GetSystemMetrics(SM_CXFULLSCREEN),
                ::GetSystemMetrics(SM_CYFULLSCREEN));
    std::printf("screen=%d,%d\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    PrintRect("work_area", work);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    PrintRect("window", rect);
    PrintRegion(window);
    std::printf("foreground=%d\n", ::GetForegroundWindow() == window ? 1 : 0);
    std::printf("iconic=%d\n", ::IsIconic(window) ? 1 : 0);

    HWND box = ::GetDlgItem(window, kAutoCropId);
    RECT boxRect{};
    ::GetWindowRect(box, &boxRect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&boxRect), 2);
    std::printf("auto_crop_visible=%d\n", ::IsWindowVisible(box) ? 1 : 0);
    std::printf("auto_crop_checked=%d\n", static_cast<int>(::SendMessageW(box, BM_GETCHECK, 0, 0)));
    PrintRect("auto_crop_rect", boxRect);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool known = argc == 2 && (std::strcmp(argv[1], "state") == 0 || std::strcmp(argv[1], "close") == 0 ||
                                     std::strcmp(argv[1], "restore") == 0);
    if (!known) {
        std::fprintf(stderr, "usage: window-probe state|close|restore\n");
        return 2;
    }
    HWND window = MainWindow();
    if (!window) {
        std::fprintf(stderr, "no main window\n");
        return 1;
    }
    if (std::strcmp(argv[1], "close") == 0)
        return ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    if (std::strcmp(argv[1], "restore") == 0)
        return ::PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0) ? 0 : 1;
    return State(window);
}
