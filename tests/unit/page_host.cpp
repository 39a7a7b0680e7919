#include "page_host.h"

#include "mainwnd/settings_file.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/stream_name.h"
#include "ui/controls.h"

#include <cstring>

namespace tolvan::test {

namespace {

constexpr char kHostClass[] = "TolvanPageTestHost";

SystemFacts FactsIn(const ScratchFolder& scratch, bool ntFamily) {
    SystemFacts facts;
    facts.programPath = scratch.File("Driver\\Tolvan\\Tolvan.exe");
    facts.windowsFolder = scratch.File("Windows");
    facts.appDataFolder = scratch.File("AppData");
    facts.ntFamily = ntFamily;
    return facts;
}

} // namespace

TestServices::TestServices(const ScratchFolder& scratch, bool ntFamily) : CAppServices(FactsIn(scratch, ntFamily)) {
    for (const char* folder : {"AppData", "AppData\\Kelto", "AppData\\Kelto\\Tolvan", "Driver", "Driver\\Tolvan"})
        ::CreateDirectoryA(scratch.File(folder).c_str(), nullptr);
    // Other systems keep the settings file in the driver's folder.
    m_driverFolder = scratch.File("Driver\\Tolvan");
}

std::string TestServices::SettingsFile() const {
    char folder[260];
    GetUserFolder(folder);
    return std::string(folder) + "\\Tolvan.dat";
}

void TestServices::CreateSharedFont() {
    m_font.Reset(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_ROMAN, "Times New Roman"));
}

JobRecord MakeRecord(uint32_t mask) {
    JobRecord record{};
    record.bColorModes = 0x7;
    record.wColorMode = record.wDefColorMode = 2;
    record.wResolution = record.wDefResolution = 300;
    record.dwStored = 1;
    record.ap.wApSize = static_cast<uint16_t>(kApEntrySize);
    record.ap.dwJobMask = mask;
    record.ap.dwFormats = 0x7F;
    record.ap.dwFormat = 0x1;
    record.ap.wQuality = 95;
    WriteField(record.ap.szFilePrefix, "Image");
    WriteField(record.ap.szExt, ".BMP");
    return record;
}

void WriteRecords(const std::string& file, uint32_t jobSet, const std::vector<JobRecord>& records) {
    CompoundFileBuilder builder(file);
    for (const JobRecord& record : records) {
        const std::string name = JobStreamName(record.ap.dwJobMask);
        builder.Stream({"Model", "Setting", name.c_str()}, RecordBytes(record));
    }
    builder.Stream({"Model", "SpecInfo"}, SpecInfo(jobSet));
    builder.Storage({"Model", "Setting", "ProBtn"});
    builder.Finish();
}

JobRecord StoredRecord(const std::string& file, uint32_t mask) {
    JobRecord record{};
    const std::string name = JobStreamName(mask);
    const std::optional<Bytes> bytes = ReadStream(file, {"Model", "Setting", name.c_str()});
    if (bytes && bytes->size() >= kJobRecordSize)
        std::memcpy(&record, bytes->data(), kJobRecordSize);
    return record;
}

bool SameBytes(const JobRecord& a, const JobRecord& b) {
    return std::memcmp(&a, &b, kJobRecordSize) == 0;
}

PageHost::PageHost() {
    static const ATOM registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kHostClass;
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        return ::RegisterClassA(&wc);
    }();
    (void)registered;
    // Never shown: the pages' logic needs no pixels, and a hidden window takes nobody's focus.
    m_window.Reset(::CreateWindowExA(0, kHostClass, "Page host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 480,
                                     320, nullptr, nullptr, ::GetModuleHandleA(nullptr), this));
}

PageHost::~PageHost() = default;

LRESULT CALLBACK PageHost::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<PageHost*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg == kPageChanged) {
        self->changed.push_back(wParam);
        return 0;
    }
    if (self && msg == kShowHint) {
        self->hints.push_back(wParam);
        return 1;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool OpenPage(CJobPage& page, TestServices& services, const PageHost& host) {
    CSettingsFile file(&services);
    std::vector<CSettingsFile::Job> jobs;
    if (!file.ReadJobs(jobs))
        return false;
    bool ok = false;
    for (const CSettingsFile::Job& job : jobs) {
        if (job.mask != page.JobMask() || !page.LoadRecord(job.record, job.extra.empty() ? nullptr : job.extra.data()))
            continue;
        page.SetModelName(file.ModelName());
        ok = page.Create(host.Handle());
        if (ok)
            file.FirstSave(page);
    }
    file.EndBuild();
    return ok && page.Handle();
}

void SendCommand(const CJobPage& page, int id, int code) {
    page.Send(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(page.Item(id)));
}

bool ChooseEntry(const CJobPage& page, int id, const char* text) {
    const ComboBox list(page.Item(id));
    const int index = list.FindStringExact(-1, text);
    if (index == CB_ERR)
        return false;
    list.SetCurSel(index);
    SendCommand(page, id, CBN_SELCHANGE);
    return true;
}

bool ChooseScanMode(const CJobPage& page, const char* text) {
    return ChooseEntry(page, IDC_SCAN_MODE, text);
}

std::vector<std::string> ComboItems(const CJobPage& page, int id) {
    const ComboBox list(page.Item(id));
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i) {
        char text[260] = {};
        if (list.GetLBTextLen(i) < static_cast<int>(sizeof text))
            list.GetLBText(i, text);
        texts.emplace_back(text);
    }
    return texts;
}

std::string ComboChoice(const CJobPage& page, int id) {
    const ComboBox list(page.Item(id));
    const int index = list.GetCurSel();
    if (index < 0)
        return "<none>";
    char text[260] = {};
    if (list.GetLBTextLen(index) < static_cast<int>(sizeof text))
        list.GetLBText(index, text);
    return text;
}

void MoveResolution(const CJobPage& page, int position) {
    const Slider slider(page.Item(IDC_RESOLUTION));
    slider.SetPos(position);
    page.Send(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider.Handle()));
}

void PointAt(const CJobPage& page, int id) {
    HWND over = id ? page.Item(id) : page.Handle();
    page.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

std::string ItemText(HWND window, int id) {
    char text[1024] = {};
    ::GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

std::string StringText(UINT id) {
    char text[260] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

} // namespace tolvan::test
