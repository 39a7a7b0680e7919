// Looks at Tolvan's main window from another process in the same prefix, for the end-to-end checks of the
// window: what the X server cannot tell (the window's region, a control's visibility and check state) and what
// a bare X server cannot deliver (Alt+F4).
//   window-probe state   key=value lines: screen metrics, the window's rectangle and region, the auto-crop box
//   window-probe close   posts WM_SYSCOMMAND SC_CLOSE to the window, as Alt+F4 does
//   window-probe restore posts WM_SYSCOMMAND SC_RESTORE, as the taskbar button of a minimised window does
//   window-probe copy    the Copy page: its printers, the chosen one, whether Properties and Apply are enabled,
//                        the hint line, how many tool tips show, and the screen rectangles of its controls
//   window-probe ravud   the RAvud page: the same, with its copy size button
//   window-probe copysize the copy size dialog: its description and the screen rectangles of its buttons
//   window-probe message the texts of the message box the program shows
//   window-probe print   the print dialog: its printer, copies, and the copies field's screen rectangle
//   window-probe items ID  the entries of the shown page's combo box ID, one a line, the selected one marked "*"
//   window-probe texts   every text of the main window and of all its pages, shown or not: "KEY<tab>TEXT" lines,
//                        KEY being main/ID or pageN/ID (N: the page's place among the main window's children), and
//                        pageN/ID/I for entry I of a combo box; the class of each window as "KEY<tab>class=NAME"
//   window-probe pointer the shown page: the hint line, the tool tips on screen and their texts, and the screen
//                        rectangles of its visible controls
//   window-probe resources gdi=N windows=N gui_gdi=N gui_user=N: the program's own count of its GDI objects and
//                        windows (it answers only when started with TOLVAN_RESOURCE_COUNTS set), and what
//                        GetGuiResources says of its process (0 under Wine); for the soak benchmark
// Exit code: 0 done, 1 no main window (or no such page, dialog or shown control), 2 bad arguments.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr int kAutoCropId = 1071;
constexpr int kApplyId = 1011;
constexpr int kHintLineId = 1013;
constexpr int kScanModeId = 1040;
constexpr int kPrinterListId = 1070;
constexpr int kPropertiesId = 1072;
constexpr int kCopySizeId = 1073; // only the RAvud page, the other page with a printer list, has it
constexpr int kCopySizePreviousId = 1110;
constexpr int kCopySizeNextId = 1111;
constexpr int kCopySizePictureId = 1112;
constexpr int kCopySizeTextId = 1115;

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

// Text read with the wide forms (ANSI text messages between Wine processes come back as UTF-16 bytes), printed
// as UTF-8.
std::string Narrow(const wchar_t* text) {
    char narrow[1024] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    return narrow;
}

std::string WindowText(HWND window) {
    // GetWindowText does not ask a control of another process for its text; WM_GETTEXT does.
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

std::string ComboText(HWND list, int index) {
    wchar_t text[512] = {};
    if (::SendMessageW(list, CB_GETLBTEXTLEN, index, 0) < 512)
        ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

void PrintScreenRect(const char* key, HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    PrintRect(key, r);
}

struct PageSearch {
    bool ravud;
    HWND found;
};

BOOL CALLBACK FindPrinterPage(HWND child, LPARAM search) {
    auto* s = reinterpret_cast<PageSearch*>(search);
    if (::GetDlgItem(child, kPrinterListId) && ::GetDlgItem(child, kPropertiesId) &&
        (::GetDlgItem(child, kCopySizeId) != nullptr) == s->ravud) {
        s->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CountToolTips(HWND window, LPARAM count) {
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    if (::IsWindowVisible(window) && _wcsicmp(className, TOOLTIPS_CLASSW) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int PrinterPage(HWND window, bool ravud) {
    PageSearch search{ravud, nullptr};
    ::EnumChildWindows(window, FindPrinterPage, reinterpret_cast<LPARAM>(&search));
    HWND page = search.found;
    if (!page)
        return 1;
    HWND list = ::GetDlgItem(page, kPrinterListId);
    std::string printers;
    for (int i = 0; i < static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0)); ++i)
        printers += (i ? "|" : "") + ComboText(list, i);
    std::printf("printers=%s\n", printers.c_str());
    std::printf("selected=%d\n", static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)));
    std::printf("scan_mode=%d\n",
                static_cast<int>(::SendMessageW(::GetDlgItem(page, kScanModeId), CB_GETCURSEL, 0, 0)));
    std::printf("page_visible=%d\n", ::IsWindowVisible(page) ? 1 : 0);
    std::printf("properties_enabled=%d\n", ::IsWindowEnabled(::GetDlgItem(page, kPropertiesId)) ? 1 : 0);
    std::printf("apply_enabled=%d\n", ::IsWindowEnabled(::GetDlgItem(window, kApplyId)) ? 1 : 0);
    // A modal dialog's owner takes input again only once it is enabled and in front.
    std::printf("window_ready=%d\n", ::IsWindowEnabled(window) && ::GetForegroundWindow() == window ? 1 : 0);
    std::printf("hint=%s\n", WindowText(::GetDlgItem(window, kHintLineId)).c_str());
    int tips = 0;
    ::EnumWindows(CountToolTips, reinterpret_cast<LPARAM>(&tips));
    std::printf("tool_tips=%d\n", tips);
    PrintScreenRect("properties_rect", ::GetDlgItem(page, kPropertiesId));
    PrintScreenRect("printer_list_rect", list);
    PrintScreenRect("scan_mode_rect", ::GetDlgItem(page, kScanModeId));
    PrintScreenRect("apply_rect", ::GetDlgItem(window, kApplyId));
    if (ravud) {
        std::printf("copy_size_enabled=%d\n", ::IsWindowEnabled(::GetDlgItem(page, kCopySizeId)) ? 1 : 0);
        PrintScreenRect("copy_size_rect", ::GetDlgItem(page, kCopySizeId));
    }
    return 0;
}

struct ComboSearch {
    int id;
    HWND found;
};

// Pages keep controls of the same id; only the shown page's control is visible.
BOOL CALLBACK FindVisibleCombo(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<ComboSearch*>(search);
    if (::GetDlgCtrlID(window) != s->id || !::IsWindowVisible(window))
        return TRUE;
    s->found = window;
    return FALSE;
}

int Items(HWND window, int id) {
    ComboSearch search{id, nullptr};
    ::EnumChildWindows(window, FindVisibleCombo, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return 1;
    const int selected = static_cast<int>(::SendMessageW(search.found, CB_GETCURSEL, 0, 0));
    for (int i = 0; i < static_cast<int>(::SendMessageW(search.found, CB_GETCOUNT, 0, 0)); ++i)
        std::printf("%s%s\n", i == selected ? "*" : "", ComboText(search.found, i).c_str());
    return 0;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
    wchar_t className[16] = {};
    ::GetClassNameW(child, className, 16);
    const std::string text = WindowText(child);
    if (_wcsicmp(className, L"Static") == 0 && !text.empty())
        std::printf("text=%s\n", text.c_str());
    return TRUE;
}

// Message boxes carry the program's title but not the main window's controls.
BOOL CALLBACK FindMessage(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (::IsWindowVisible(window) && std::wcscmp(className, L"#32770") == 0 && WindowText(window) == "Tolvan" &&
        !::GetDlgItem(window, kAutoCropId)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

int Message() {
    HWND box = nullptr;
    ::EnumWindows(FindMessage, reinterpret_cast<LPARAM>(&box));
    if (!box)
        return 1;
    ::EnumChildWindows(box, PrintStatic, 0);
    return 0;
}

BOOL CALLBACK FindCopySizeDialog(HWND window, LPARAM found) {
    if (::IsWindowVisible(window) && ::GetDlgItem(window, kCopySizePictureId)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

int CopySizeDialog() {
    HWND dialog = nullptr;
    ::EnumWindows(FindCopySizeDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return 1;
    std::printf("text=%s\n", WindowText(::GetDlgItem(dialog, kCopySizeTextId)).c_str());
    PrintScreenRect("previous_rect", ::GetDlgItem(dialog, kCopySizePreviousId));
    PrintScreenRect("next_rect", ::GetDlgItem(dialog, kCopySizeNextId));
    PrintScreenRect("ok_rect", ::GetDlgItem(dialog, IDOK));
    PrintScreenRect("cancel_rect", ::GetDlgItem(dialog, IDCANCEL));
    return 0;
}

BOOL CALLBACK FindPrintDialog(HWND window, LPARAM found) {
    if (::IsWindowVisible(window) && ::GetDlgItem(window, cmb4) && ::GetDlgItem(window, edt3)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

int PrintDialog() {
    HWND dialog = nullptr;
    ::EnumWindows(FindPrintDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return 1;
    std::printf("printer=%s\n", WindowText(::GetDlgItem(dialog, cmb4)).c_str());
    std::printf("copies=%s\n", WindowText(::GetDlgItem(dialog, edt3)).c_str());
    PrintScreenRect("copies_rect", ::GetDlgItem(dialog, edt3));
    return 0;
}

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    return _wcsicmp(className, name) == 0;
}

// The texts of a window's children; dialogs among them (the main window's pages) are left to their own walk.
void PrintTexts(HWND parent, const std::string& prefix) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsClass(child, L"#32770"))
            continue;
        const std::string key = prefix + std::to_string(::GetDlgCtrlID(child));
        wchar_t className[32] = {};
        ::GetClassNameW(child, className, 32);
        std::printf("%s\tclass=%s\n", key.c_str(), Narrow(className).c_str());
        std::printf("%s\t%s\n", key.c_str(), WindowText(child).c_str());
        if (IsClass(child, L"ComboBox")) {
            for (int i = 0; i < static_cast<int>(::SendMessageW(child, CB_GETCOUNT, 0, 0)); ++i)
                std::printf("%s/%d\t%s\n", key.c_str(), i, ComboText(child, i).c_str());
        }
    }
}

int Texts(HWND window) {
    int page = 0;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsClass(child, L"#32770"))
            PrintTexts(child, "page" + std::to_string(page++) + "/");
    }
    PrintTexts(window, "main/");
    return 0;
}

BOOL CALLBACK PrintToolTip(HWND window, LPARAM) {
    if (::IsWindowVisible(window) && IsClass(window, TOOLTIPS_CLASSW))
        std::printf("tool_tip=%s\n", WindowText(window).c_str());
    return TRUE;
}

int Pointer(HWND window) {
    HWND shown = nullptr;
    for (HWND child = ::GetWindow(window, GW_CHILD); child && !shown; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (IsClass(child, L"#32770") && ::IsWindowVisible(child))
            shown = child;
    }
    if (!shown)
        return 1;
    std::printf("hint=%s\n", WindowText(::GetDlgItem(window, kHintLineId)).c_str());
    int tips = 0;
    ::EnumWindows(CountToolTips, reinterpret_cast<LPARAM>(&tips));
    std::printf("tool_tips=%d\n", tips);
    ::EnumWindows(PrintToolTip, 0);
    PrintScreenRect("page_rect", shown);
    for (HWND child = ::GetWindow(shown, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child))
            continue;
        const std::string key = "rect_" + std::to_string(::GetDlgCtrlID(child));
        PrintScreenRect(key.c_str(), child);
        std::printf("text_%d=%s\n", ::GetDlgCtrlID(child), WindowText(child).c_str());
    }
    return 0;
}

int Resources(HWND window) {
    const UINT message = ::RegisterWindowMessageA("Tolvan.ResourceCounts");
    DWORD_PTR answer = 0;
    // Generous: the program may still be busy with a burst of input.
    if (!::SendMessageTimeoutA(window, message, 0, 0, SMTO_NORMAL, 60000, &answer) || answer == 0) {
        std::fprintf(stderr, "no answer (was the program started with TOLVAN_RESOURCE_COUNTS?)\n");
        return 1;
    }
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    DWORD guiGdi = 0, guiUser = 0;
    if (HANDLE handle = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process)) {
        guiGdi = ::GetGuiResources(handle, GR_GDIOBJECTS);
        guiUser = ::GetGuiResources(handle, GR_USEROBJECTS);
        ::CloseHandle(handle);
    }
    std::printf("gdi=%lu windows=%lu gui_gdi=%lu gui_user=%lu\n", static_cast<unsigned long>(answer & 0xFFFFFFFF),
                static_cast<unsigned long>(answer >> 32), static_cast<unsigned long>(guiGdi),
                static_cast<unsigned long>(guiUser));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const char* commands[] = {"state",   "close", "restore", "copy",    "ravud",    "copysize",
                              "message", "print", "texts",   "pointer", "resources"};
    bool known = argc == 3 && std::strcmp(argv[1], "items") == 0;
    for (const char* command : commands)
        known = known || (argc == 2 && std::strcmp(argv[1], command) == 0);
    if (!known) {
        std::fprintf(stderr,
                     "usage: window-probe "
                     "state|close|restore|copy|ravud|copysize|message|print|texts|pointer|resources|items ID\n");
        return 2;
    }
    // The program's message box and the print dialog are not the main window.
    if (std::strcmp(argv[1], "message") == 0)
        return Message();
    if (std::strcmp(argv[1], "print") == 0)
        return PrintDialog();
    if (std::strcmp(argv[1], "copysize") == 0)
        return CopySizeDialog();
    HWND window = MainWindow();
    if (!window) {
        std::fprintf(stderr, "no main window\n");
        return 1;
    }
    if (std::strcmp(argv[1], "close") == 0)
        return ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    if (std::strcmp(argv[1], "restore") == 0)
        return ::PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0) ? 0 : 1;
    if (std::strcmp(argv[1], "copy") == 0 || std::strcmp(argv[1], "ravud") == 0)
        return PrinterPage(window, argv[1][0] == 'r');
    if (std::strcmp(argv[1], "items") == 0)
        return Items(window, std::atoi(argv[2]));
    if (std::strcmp(argv[1], "texts") == 0)
        return Texts(window);
    if (std::strcmp(argv[1], "pointer") == 0)
        return Pointer(window);
    if (std::strcmp(argv[1], "resources") == 0)
        return Resources(window);
    return State(window);
}
