// The fixed texts of every dialog in each language the built message file ships, and in English: each label,
// button and caption that res/dialog_texts.h names shows its string-table text through the translation module, and
// the text fits its control in the shared font at the program's scale, so that no label wraps into the cut-off
// second line of its nine dialog units. The job pages are opened as the main window opens them, here without the
// driver's application-info module, so that the pages whose destinations cannot be listed are seen as well.
#include "page_host.h"

#include "app/dialog_scaling.h"
#include "pages/page_factory.h"
#include "res/dialog_texts.h"
#include "res/resource.h"
#include "settings/job_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tolvan::test {
namespace {

constexpr uint32_t kJobs[] = {JobMask::kFile,        JobMask::kEmail,  JobMask::kCopy, JobMask::kRAvud,
                              JobMask::kApplication, JobMask::kOffice, JobMask::kDUzar};

// The main window makes these buttons itself; its template lacks them.
bool MadeAtRunTime(UINT dialog, int control) {
    return dialog == IDD_MAIN && (control == IDC_EXIT || control == IDC_DEFAULT || control == IDC_APPLY);
}

std::string WindowText(HWND window) {
    char text[260] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// The room a control leaves for its text: a check box's box and gap, a push button's frame.
int TextRoom(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    char className[32] = {};
    ::GetClassNameA(control, className, sizeof className);
    if (_stricmp(className, "Button") != 0)
        return client.right;
    const LONG type = ::GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)
        return client.right - ::GetSystemMetrics(SM_CXMENUCHECK) - 4;
    return client.right - 4;
}

int TextWidth(HWND control, const std::string& text) {
    HDC dc = ::GetDC(control);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return size.cx;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class PageTextsTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", GetParam());
        ASSERT_TRUE(services.Translation().Load(TOLVAN_MULTILNG_DLL));
        ASSERT_EQ(services.Translation().PowerOn(TOLVAN_MESSAGE_FILE), IsEnglish() ? S_FALSE : S_OK);
        services.CreateSharedFont();
        // The factors the main window takes from its own template before any page exists.
        const HWND main = Plain(IDD_MAIN, nullptr);
        ASSERT_TRUE(main);
        const ScaleFactors factors = FactorsFromDialogUnits(main);
        ::DestroyWindow(main);
        services.SetScaleFactors(factors.x, factors.y);
    }
    void TearDown() override { ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", nullptr); }

    bool IsEnglish() const { return std::strcmp(GetParam(), "en") == 0; }

    HWND Plain(UINT dialog, HWND parent) const {
        return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(dialog), parent, PlainDialogProc, 0);
    }

    // Every row of the dialog: the control shows its text in the language, and the text fits.
    void ExpectTexts(HWND dialog, UINT templateId) {
        int rows = 0;
        for (const DialogText& row : kDialogTexts) {
            if (!RowApplies(row, templateId) || MadeAtRunTime(templateId, row.control))
                continue;
            ++rows;
            const HWND control = row.control == kDialogCaption ? dialog : ::GetDlgItem(dialog, row.control);
            ASSERT_TRUE(control) << "dialog " << templateId << " has no control " << row.control;
            TextBuffer expected;
            services.LoadText(row.text, expected);
            char english[260] = {};
            ::LoadStringA(::GetModuleHandleA(nullptr), row.text, english, sizeof english);
            const std::string shown = WindowText(control);
            EXPECT_EQ(shown, expected) << "dialog " << templateId << ", control " << row.control;
            if (!IsEnglish() && row.text != IDS_TEXT_OK) {
                EXPECT_NE(shown, english) << "dialog " << templateId << ", control " << row.control;
            }
            if (control != dialog) {
                EXPECT_LE(TextWidth(control, shown), TextRoom(control))
                    << "dialog " << templateId << ": " << shown << " does not fit control " << row.control;
            }
        }
        EXPECT_GT(rows, 0) << "dialog " << templateId << " has no texts";
    }

    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
};

TEST_P(PageTextsTest, EveryJobPageShowsItsTextsInTheLanguageAndTheyFit) {
    for (uint32_t mask : kJobs) {
        WriteRecords(services.SettingsFile(), mask, {MakeRecord(mask)});
        std::unique_ptr<CJobPage> page = CreateJobPage(mask, &services);
        ASSERT_TRUE(page);
        ASSERT_TRUE(OpenPage(*page, services, host)) << "job " << mask;
        ExpectTexts(page->Handle(), page->TemplateId());
    }
}

TEST_P(PageTextsTest, TheMainWindowAndTheSmallDialogsShowTheirTextsInTheLanguageAndTheyFit) {
    for (UINT dialog : {IDD_MAIN, IDD_COPY_SIZE, IDD_FILE_DIALOG_QUALITY}) {
        // The Save As dialog's panel is a child dialog; the others stand alone.
        const HWND window = Plain(dialog, dialog == IDD_FILE_DIALOG_QUALITY ? host.Handle() : nullptr);
        ASSERT_TRUE(window) << dialog;
        services.ApplyDialogFont(window);
        services.TranslateDialog(window, dialog);
        ExpectTexts(window, dialog);
        ::DestroyWindow(window);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, PageTextsTest, testing::Values("en", "de", "fr"));

} // namespace
} // namespace tolvan::test
