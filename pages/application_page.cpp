#include "pages/application_page.h"

#include "app/app_services.h"
#include "controls/skin_colours.h"
#include "driver/apinfo/ap_category.h"
#include "pages/program_file_dialog.h"
#include "pages/user_applications.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <string>
#include <unordered_set>

namespace tolvan {

namespace {

constexpr uint16_t kDefaultApplicationId = 4157;

// An entry is offered only when its name can be shown and its program started: a name, program or folder that
// fills its field without a terminator came from a damaged list, and an empty name could not be told apart.
bool IsUsable(const ApEntry& entry) {
    const std::string_view name = ReadField(entry.szApName);
    return !name.empty() && name.size() < sizeof entry.szApName &&
           ReadField(entry.szExeName).size() < sizeof entry.szExeName &&
           ReadField(entry.szExeDir).size() < sizeof entry.szExeDir;
}

// The key under which the list's exact search finds a name: its letters in one case, the user's locale's way.
std::string CaseFolded(std::string name) {
    if (!name.empty())
        ::CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

} // namespace

CApplicationPage::CApplicationPage(CAppServices* app)
    : CImageDestinationPage(IDD_APPLICATION_PAGE, JobMask::kApplication, app) {}

void CApplicationPage::SetUpPage() {
    SetUpScanSettings();
    for (auto [button, id] :
         {std::pair{&m_addButton, IDC_ADD_APPLICATION}, std::pair{&m_deleteButton, IDC_DELETE_APPLICATION}}) {
        button->SubclassWithColors(id, m_hwnd, kPageColour, kButtonTextColour, kDisabledTextColour);
        CWindow(Item(id)).Show(SW_HIDE);
    }
    // Without the module or the installed-applications list the page keeps only its scan settings.
    if (!ListApplications())
        return;
    if (IsAvailable()) {
        SelectApplication();
        FillFormats();
        AskForFirstSave();
    } else {
        m_unavailable = true;
    }
}

bool CApplicationPage::ListApplications() {
    if (!m_app || !m_applications.Load(*m_app, apinfo::Category::kDestination, IsUsable))
        return false;
    ComboBox list(Item(IDC_APPLICATION_LIST));
    // Whole names: a name that only begins another one ("Paint", "Paint.NET") is a program of its own. Each name
    // is offered once, compared without regard to case as the list's own exact search compares; asking the list
    // for every name made a catalogue of a thousand programs cost a second, so the names are kept here.
    std::unordered_set<std::string> offered;
    for (const ApEntry& entry : m_applications) {
        const std::string name(ReadField(entry.szApName));
        if (offered.insert(CaseFolded(name)).second)
            list.AddString(name.c_str());
    }
    m_applicationCount = static_cast<int>(m_applications.Size());
    return true;
}

void CApplicationPage::SelectApplication() {
    if (m_applications.Empty())
        return;
    const std::string stored(ReadField(m_working.ap.szApName));
    ComboBox list(Item(IDC_APPLICATION_LIST));
    const int index = stored.empty() ? CB_ERR : list.FindStringExact(-1, stored.c_str());
    if (index != CB_ERR)
        list.SetCurSel(index);
    else
        ChooseDefaultApplication();
    ShowDeleteButton();
}

void CApplicationPage::ChooseDefaultApplication() {
    const ApEntry* entry = m_applications.FindById(kDefaultApplicationId);
    const ComboBox list(Item(IDC_APPLICATION_LIST));
    if (!entry || list.FindStringExact(-1, std::string(ReadField(entry->szApName)).c_str()) == CB_ERR)
        entry = &m_applications.Front();
    TakeApplication(*entry);
}

void CApplicationPage::TakeApplication(const ApEntry& entry) {
    // The list shows the program the record names, also after programs were added in front of the others.
    ComboBox list(Item(IDC_APPLICATION_LIST));
    list.SetCurSel(list.FindStringExact(-1, std::string(ReadField(entry.szApName)).c_str()));
    if (SameProgramFiles(m_working, entry))
        return;
    TakeProgram(m_working, entry);
    m_dirty = true;
}

void CApplicationPage::ShowDeleteButton() {
    // Only the programs the user added can be taken off the list.
    CWindow(Item(IDC_DELETE_APPLICATION)).Show(m_working.ap.dwApOptions == 0 ? SW_SHOW : SW_HIDE);
}

void CApplicationPage::OnApplicationChange() {
    const std::string text = ComboBox(Item(IDC_APPLICATION_LIST)).SelectedText();
    if (const ApEntry* chosen = text.empty() ? nullptr : m_applications.FindByName(text)) {
        TakeProgram(m_working, *chosen);
        if (IsAvailable())
            FillFormats();
        ShowDeleteButton();
    }
    NotifyChange(m_working.ap);
}

void CApplicationPage::OnAddApplication() {
    if (!m_app)
        return;
    const HWND owner = ::GetAncestor(m_hwnd, GA_ROOT);
    std::string path;
    const ProgramChoice choice = ChooseProgramFile(owner, path);
    if (choice == ProgramChoice::kCancelled)
        return;
    ApEntry entry{};
    if (choice == ProgramChoice::kPathTooLong || !MakeUserApplication(path, entry)) {
        ShowText(IDS_PROGRAM_PATH_TOO_LONG);
        return;
    }
    const std::string name(ReadField(entry.szApName));
    if (!IsPermittedProgram(name)) {
        ShowText(IDS_APPLICATION_NOT_PERMITTED);
        return;
    }
    // A program the catalogue did not take is not offered either.
    if (FAILED(AddUserApplication(*m_app, entry)))
        return;
    // The choice, the record and the count stay as they are: the new program is only offered, and only when the
    // page can also take it (the catalogue keeps it for the next start either way).
    if (!m_applications.AddFront(entry))
        return;
    ComboBox list(Item(IDC_APPLICATION_LIST));
    if (list.FindStringExact(-1, name.c_str()) == CB_ERR)
        list.AddString(name.c_str());
}

void CApplicationPage::OnDeleteApplication() {
    ComboBox list(Item(IDC_APPLICATION_LIST));
    const int index = list.GetCurSel();
    if (index == CB_ERR || !m_app)
        return;
    const std::string name = list.ItemText(index);
    // The driver's own programs stay, whatever asks for their removal.
    const ApEntry* entry = name.empty() ? nullptr : m_applications.FindByName(name);
    if (!entry || entry->dwApOptions != 0)
        return;
    // A removal that did not reach the catalogue leaves the list and the record as they are.
    if (FAILED(DeleteUserApplication(*m_app, name)))
        return;
    list.DeleteString(index);
    m_applications.RemoveByName(name);
    SelectApplication();
    if (m_dirty && IsAvailable())
        SendPageChanged();
}

void CApplicationPage::ShowText(UINT id) {
    char text[260];
    LoadText(id, text);
    m_app->ShowMessage(::GetAncestor(m_hwnd, GA_ROOT), text, MB_OK);
}

bool CApplicationPage::RestorePageDefaults() {
    if (IsAvailable() && !m_applications.Empty()) {
        ChooseDefaultApplication();
        // The default program is the driver's as a rule: a button left showing would offer to remove it.
        ShowDeleteButton();
    }
    RestoreFormatDefaults();
    return true;
}

UINT CApplicationPage::HintIdForControl(int id) const {
    if (id == IDC_APPLICATION_LIST)
        return IsAvailable() ? IDS_APPLICATION_LIST : IDS_NO_APPLICATION;
    return static_cast<UINT>(id);
}

void CApplicationPage::OnPageCommand(int id, int code) {
    if (id == IDC_APPLICATION_LIST && code == CBN_SELCHANGE)
        OnApplicationChange();
    else if (id == IDC_FORMAT_LIST && code == CBN_SELCHANGE)
        OnFormatChange();
    else if (id == IDC_ADD_APPLICATION && code == BN_CLICKED)
        OnAddApplication();
    else if (id == IDC_DELETE_APPLICATION && code == BN_CLICKED)
        OnDeleteApplication();
}

} // namespace tolvan
