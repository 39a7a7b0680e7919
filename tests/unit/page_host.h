// What the page tests share: application services over a scratch folder, a settings file holding the records a
// test builds, a top-level window standing in for the main window that records what pages tell it, and a page
// opened the way the main window opens it.
#pragma once

#include "compound_file.h"

#include "app/app_services.h"
#include "pages/job_page.h"
#include "settings/fixed_string.h"
#include "ui/unique_handle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tolvan::test {

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// Services whose settings file lives in a scratch folder and whose message boxes are answered by the test.
class TestServices : public CAppServices {
public:
    explicit TestServices(const ScratchFolder& scratch, bool ntFamily = true);

    std::string SettingsFile() const;
    // The shared font that the program creates at start-up; without it dialogs keep their own.
    void CreateSharedFont();

    int ShowMessage(HWND owner, const char* text, UINT style) override {
        messages.emplace_back(text);
        styles.push_back(style);
        owners.push_back(owner);
        if (whileShown)
            whileShown();
        return IDOK;
    }
    std::vector<std::string> messages;
    std::vector<UINT> styles;
    std::vector<HWND> owners;
    // Runs while a message box would be on screen.
    std::function<void()> whileShown;

    void GetSystemLanguage(TextBuffer& buffer) const override { WriteField(buffer, language); }
    // The "sLanguage" value of the system's profile, as the test wants it.
    std::string language = "enu";
};

// A record of the given job as the driver's template shapes one: grayscale of all three modes at 300 dpi, which
// are also the defaults, already stored once.
JobRecord MakeRecord(uint32_t mask);
// A settings file with model "Model": SpecInfo with the job set and one stream per record.
void WriteRecords(const std::string& file, uint32_t jobSet, const std::vector<JobRecord>& records);
// The record stored for a job, or a zeroed record when there is none.
JobRecord StoredRecord(const std::string& file, uint32_t mask);
bool SameBytes(const JobRecord& a, const JobRecord& b);

// A top-level window in place of the main window: it keeps the page-changed and hint notifications it receives.
class PageHost {
public:
    PageHost();
    ~PageHost();
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    HWND Handle() const { return m_window.Get(); }
    void Clear() {
        changed.clear();
        hints.clear();
    }

    std::vector<WPARAM> changed; // wParam of each page-changed notification
    std::vector<WPARAM> hints;   // hint id of each hint notification

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    UniqueWindow m_window;
};

// A page that counts its saves, first saves and Apply alike.
template <class Page> class CCountingSaves : public Page {
public:
    using Page::Page;
    int saves = 0;
    HRESULT Save(uint32_t mask, IJobWriter& writer) override {
        ++saves;
        return Page::Save(mask, writer);
    }
};

// Opens a page over the settings file as the tab building does, through the file's owner: the file open, the
// page's record and its blob read from it and loaded, the page's window created, its first save made when it
// asked for one, the file closed. False when a step fails.
bool OpenPage(CJobPage& page, TestServices& services, const PageHost& host);

// Sends the page a command from one of its controls, as the control would.
void SendCommand(const CJobPage& page, int id, int code);
// Chooses the entry of one of the page's combo boxes that has exactly this text, as the user would; false when
// there is none.
bool ChooseEntry(const CJobPage& page, int id, const char* text);
// Chooses a scan mode entry by its text, as the user would.
bool ChooseScanMode(const CJobPage& page, const char* text);
// The entries of one of the page's combo boxes, and the selected one ("<none>" when none is).
std::vector<std::string> ComboItems(const CJobPage& page, int id);
std::string ComboChoice(const CJobPage& page, int id);
// Moves the resolution slider to a position, as dragging it would.
void MoveResolution(const CJobPage& page, int position);
// The pointer over a control of the page (0: over the page itself).
void PointAt(const CJobPage& page, int id);
std::string ItemText(HWND window, int id);
// The text of a string-table entry, as loaded (the tests run without the translation module).
std::string StringText(UINT id);

} // namespace tolvan::test
