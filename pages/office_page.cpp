#include "pages/office_page.h"

#include "app/app_services.h"
#include "driver/apinfo/ap_category.h"
#include "pages/format_combo.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "ui/controls.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tolvan {

namespace {

constexpr std::string_view kDocExtension = ".DOC";

// A name or folder that runs to the end of its field names no program the job could start.
bool HasTerminatedTexts(const ApEntry& entry) {
    return ReadField(entry.szApName).size() < sizeof entry.szApName &&
           ReadField(entry.szExeName).size() < sizeof entry.szExeName &&
           ReadField(entry.szExeDir).size() < sizeof entry.szExeDir;
}

bool ListPrograms(CAppServices* app, uint32_t category, CApplicationList& out) {
    return app && out.Load(*app, category, HasTerminatedTexts);
}

bool IsChinese(std::string_view language) {
    return SameTextIgnoringCase(language, "cht") || SameTextIgnoringCase(language, "chs");
}

} // namespace

COfficePage::COfficePage(CAppServices* app) : CScanSettingsPage(IDD_OFFICE_PAGE, JobMask::kOffice, app) {}

void COfficePage::SetUpPage() {
    SetUpScanSettings();
    // Without the module or the installed-applications list the page keeps only its scan settings.
    if (!ListDocumentPrograms() || !ListRecognitionPrograms())
        return;
    m_working.ap.dwFormats = OfficeBit::kAll;
    FillFormats();
    if (!HasRecognition()) {
        m_unavailable = true;
    } else if (m_saved.dwStored != 0 && IsOfficeBlob(m_savedExtra) && m_savedExtra.size() == m_workingExtra.size() &&
               m_savedExtra != m_workingExtra) {
        // The recognition program moved or the job named another one: the driver must find the program the
        // page shows, so the refreshed blob is written with the first saves.
        AskForSetUpSave();
    } else {
        AskForFirstSave();
    }
}

bool COfficePage::ListDocumentPrograms() {
    return ListPrograms(m_app, apinfo::Category::kDocument, m_documents);
}

bool COfficePage::ListRecognitionPrograms() {
    if (!ListPrograms(m_app, apinfo::Category::kRecognition, m_recognition))
        return false;
    ComboBox list(Item(IDC_RECOGNITION_APPLICATION));
    int count = 0;
    for (const ApEntry& entry : m_recognition) {
        // The list keeps the file's order, and each entry stays beside its program.
        const int index = list.InsertString(count, std::string(ReadField(entry.szApName)).c_str());
        if (index < 0)
            return false; // no memory for the list: set-up ends, as when the listing fails
        list.SetItemData(index, entry.wApId);
        ++count;
    }
    if (!HasRecognition())
        return true;
    // Without a blob there is no place for the choice: the page offers nothing to choose.
    if (!IsOfficeBlob(m_workingExtra)) {
        ComboBox(Item(IDC_RECOGNITION_APPLICATION)).SetCurSel(LanguageChoice());
        return false;
    }
    // The job's own program, where it is listed; any other id takes the language's choice.
    int index = LanguageChoice();
    const uint16_t stored = OfficeBlobApId(m_workingExtra);
    if (stored == OfficeApId::kChineseRecognition || stored == OfficeApId::kRecognition)
        if (const int own = RecognitionIndex(stored); own >= 0)
            index = own;
    TakeRecognition(index);
    return true;
}

int COfficePage::RecognitionIndex(uint16_t apId) const {
    // Every entry is searched, so that the entry shown is always the program stored.
    for (size_t i = 0; i < m_recognition.Size(); ++i)
        if (m_recognition[i].wApId == apId)
            return static_cast<int>(i);
    return -1;
}

int COfficePage::LanguageChoice() const {
    TextBuffer language = "enu";
    if (m_app)
        m_app->GetSystemLanguage(language);
    if (language[0] == '\0')
        return 0;
    const uint16_t wanted = IsChinese(ReadField(language)) ? OfficeApId::kChineseRecognition : OfficeApId::kRecognition;
    return std::max(RecognitionIndex(wanted), 0);
}

void COfficePage::TakeRecognition(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_recognition.Size())
        return;
    ComboBox(Item(IDC_RECOGNITION_APPLICATION)).SetCurSel(index);
    WriteOfficeBlob(m_workingExtra, m_recognition[static_cast<size_t>(index)]);
}

OfficePrograms COfficePage::Programs() const {
    return {.chineseRecognition = OfficeBlobApId(m_workingExtra) == OfficeApId::kChineseRecognition,
            .wordProcessor = m_documents.FindById(OfficeApId::kWordProcessor) != nullptr,
            .spreadsheet = m_documents.FindById(OfficeApId::kSpreadsheet) != nullptr};
}

void COfficePage::FillFormats() {
    if (!HasRecognition()) {
        CWindow(Item(IDC_FORMAT_LIST)).Enable(false);
        return;
    }
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    FillOfficeFormats(list, m_working, Programs());
    SelectFormatAndProgram();
}

void COfficePage::EmptyFormats() {
    ComboBox list(Item(IDC_FORMAT_LIST));
    list.ResetContent();
    list.Enable(false);
}

void COfficePage::SelectFormatAndProgram() {
    if (!IsOfficeBlob(m_workingExtra)) {
        CWindow(Item(IDC_RECOGNITION_APPLICATION)).Enable(false);
        EmptyFormats();
        return;
    }
    const OfficePrograms programs = Programs();
    m_working.ap.dwFormat = CorrectOfficeFormat(m_working.ap.dwFormat, programs);
    if (m_documents.Empty()) {
        EmptyFormats();
        return;
    }
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    const OfficeFormat* format = FindOfficeFormat(m_working.ap.dwFormat);
    if (!format) {
        // A format outside the table becomes the first one listed, with the program that opens it, so that the
        // record's format, extension and program agree.
        format = FindOfficeFormat(list.Text(0));
        if (format)
            m_working.ap.dwFormat = format->bit;
    }
    if (const int index = format ? list.Find(format->text) : -1; index >= 0) {
        if (const ApEntry* program = m_documents.FindById(format->documentApId)) {
            m_working.ap.wApId = program->wApId;
            std::memcpy(m_working.ap.szApName, program->szApName, sizeof m_working.ap.szApName);
            std::memcpy(m_working.ap.szExeName, program->szExeName, sizeof m_working.ap.szExeName);
            std::memcpy(m_working.ap.szExeDir, program->szExeDir, sizeof m_working.ap.szExeDir);
        }
        list.Select(index);
        WriteField(m_working.ap.szExt, "." + list.Text(index));
    }
    // A corrected format is a change of the stored job, whether or not the page had changed before.
    if (m_saved.dwStored != 0 && m_saved.ap.dwFormat != m_working.ap.dwFormat && HasRecognition()) {
        m_dirty = true;
        SendPageChanged();
    }
}

void COfficePage::OnRecognitionChange() {
    // The entry chosen, not the first of its id: the two lists run parallel.
    TakeRecognition(ComboBox(Item(IDC_RECOGNITION_APPLICATION)).GetCurSel());
    FillFormats();
    if (!m_dirty && IsAvailable() && !SameOfficeBlob(m_workingExtra, m_savedExtra)) {
        m_dirty = true;
        SendPageChanged();
    }
}

void COfficePage::OnFormatChange() {
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    if (const int index = list.Selected(); index >= 0)
        if (const OfficeFormat* format = FindOfficeFormat(list.Text(index)))
            m_working.ap.dwFormat = format->bit;
    SelectFormatAndProgram();
    NotifyChange(m_working.ap.dwFormat);
}

bool COfficePage::RestorePageDefaults() {
    if (!HasRecognition())
        return true;
    const int index = LanguageChoice();
    ComboBox(Item(IDC_RECOGNITION_APPLICATION)).SetCurSel(index);
    const ApEntry& program = m_recognition[static_cast<size_t>(index)];
    if (IsOfficeBlob(m_workingExtra) && !OfficeBlobNames(m_workingExtra, program.wApId, ReadField(program.szExeDir))) {
        WriteOfficeBlob(m_workingExtra, program);
        FillFormats();
        m_dirty = true;
    }
    // The default output is DOC, or what the listed programs make of it.
    const uint32_t format = CorrectOfficeFormat(OfficeBit::kDoc, Programs());
    const std::string extension = "." + std::string(FindOfficeFormat(format)->text);
    if (!SameTextIgnoringCase(ReadField(m_working.ap.szExt), extension) || m_working.ap.dwFormat != format) {
        WriteField(m_working.ap.szExt, kDocExtension);
        m_working.ap.dwFormat = OfficeBit::kDoc;
        FillFormats();
        m_dirty = m_dirty || IsAvailable();
    }
    return true;
}

UINT COfficePage::HintIdForControl(int id) const {
    if (id == IDC_RECOGNITION_APPLICATION)
        return HasRecognition() ? IDS_RECOGNITION_APPLICATION : IDS_NO_RECOGNITION_APPLICATION;
    return static_cast<UINT>(id);
}

void COfficePage::OnPageCommand(int id, int code) {
    if (code != CBN_SELCHANGE)
        return;
    if (id == IDC_RECOGNITION_APPLICATION)
        OnRecognitionChange();
    else if (id == IDC_FORMAT_LIST)
        OnFormatChange();
}

} // namespace tolvan
