#include "pages/file_page.h"

#include "app/app_services.h"
#include "controls/skin_colours.h"
#include "pages/file_dialog_ex.h"
#include "pages/file_target.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"

#include <shlobj.h>

#include <cstring>

namespace tolvan {

namespace {

constexpr char kDefaultExt[] = ".BMP";
constexpr char kDefaultPrefix[] = "Image";
constexpr char kNtScanFolder[] = "\\Scan Pictures\\";                 // under the pictures folder
constexpr char kOtherScanFolder[] = "\\My Pictures\\Scan Pictures\\"; // under the documents folder

} // namespace

CFilePage::CFilePage(CAppServices* app) : CScanSettingsPage(IDD_FILE_PAGE, JobMask::kFile, app) {}

CFilePage::~CFilePage() = default;

int CFilePage::ValueFieldId() const {
    return IDC_TARGET_PATH;
}

void CFilePage::SetUpPage() {
    ScaleControls();
    m_browse.SubclassWithColors(IDC_TARGET_BROWSE, m_hwnd, kPageColour, kButtonTextColour, kDisabledTextColour);
    LoadBackground();
    SetUpToolTips();
    FillScanModes();
    SelectScanMode();
    ShowResolution();
    ShowTargetPath();
    if (m_app)
        m_app->SetQuality(m_working.ap.wQuality);
    AskForFirstSave();
}

bool CFilePage::SpecialFolder(int csidl, char (&path)[260]) const {
    path[0] = '\0';
    return ::SHGetSpecialFolderPathA(m_hwnd, path, csidl, TRUE) != FALSE && std::memchr(path, 0, sizeof path);
}

void CFilePage::SetPathText(std::string text) {
    m_pathText = std::move(text);
    SetItemText(IDC_TARGET_PATH, m_pathText.c_str());
}

void CFilePage::ShowTargetPath() {
    ApEntry& target = m_working.ap;
    if (ReadField(target.szFolder).empty()) {
        const bool nt = m_app ? m_app->Facts().ntFamily : (::GetVersion() & 0x80000000u) == 0;
        char special[260];
        if (SpecialFolder(nt ? CSIDL_MYPICTURES : CSIDL_PERSONAL, special)) {
            std::string folder(special, strnlen(special, sizeof special));
            folder.append(nt ? kNtScanFolder : kOtherScanFolder);
            // A default folder too long for the field is left out rather than cut to another folder's name.
            if (folder.size() < sizeof target.szFolder)
                WriteField(target.szFolder, folder);
        }
    }
    SetPathText(TargetText(target));
    // Failures (folders that exist, a drive name) are of no interest: the scanner's driver reports a folder
    // that really is missing when it saves.
    for (const std::string& folder : FoldersOnTheWay(m_pathText))
        ::CreateDirectoryA(folder.c_str(), nullptr);
}

void CFilePage::AfterScanModeChange() {
    ApEntry& target = m_working.ap;
    switch (m_working.wColorMode) {
    case 1: // colour scans cannot be GIF files
        if (target.dwFormat == Format::kGif) {
            target.dwFormat = Format::kBmp;
            WriteField(target.szExt, ".bmp");
            m_pathText = TargetText(target);
        }
        break;
    case 4: // black and white scans cannot be JPEG files
        if (SameTextIgnoringCase(ReadField(target.szExt), ".JPG")) {
            WriteField(target.szExt, kDefaultExt);
            target.dwFormat = Format::kBmp;
            std::string name(ReadField(target.szFilePrefix));
            name.append(ReadField(target.szExt));
            m_pathText = ReplaceFileName(m_pathText, name);
        }
        break;
    default:
        return;
    }
    SetPathText(m_pathText);
}

bool CFilePage::RestorePageDefaults() {
    ApEntry& target = m_working.ap;
    if (target.dwFormat != Format::kBmp) {
        target.dwFormat = Format::kBmp;
        m_dirty = true;
    }
    if (target.wQuality != Quality::kDefault) {
        target.wQuality = Quality::kDefault;
        m_dirty = true;
    }
    if (m_app)
        m_app->SetQuality(Quality::kDefault);
    if (!SameTextIgnoringCase(ReadField(target.szExt), kDefaultExt)) {
        WriteField(target.szExt, kDefaultExt);
        m_dirty = true;
    }
    if (!SameTextIgnoringCase(ReadField(target.szFilePrefix), kDefaultPrefix)) {
        WriteField(target.szFilePrefix, kDefaultPrefix);
        m_dirty = true;
    }
    const std::string kept(ReadField(target.szFolder));
    WriteField(target.szFolder, "");
    ShowTargetPath();
    if (!SameTextIgnoringCase(ReadField(target.szFolder), kept))
        m_dirty = true;
    return true;
}

void CFilePage::OnPageCommand(int id, int code) {
    if (id == IDC_TARGET_BROWSE && code == BN_CLICKED)
        OnBrowse();
}

void CFilePage::OnBrowse() {
    const ApEntry& target = m_working.ap;
    const std::string defaultExt = DefaultExtension(target);
    const std::string fileName = InitialFileName(target);
    if (m_app)
        m_app->SetQuality(target.wQuality);
    CFileDialogEx dialog(false, defaultExt.c_str(), fileName.c_str(), OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                         FileTypeFilter(m_working.wColorMode), m_hwnd, m_app);
    dialog.Ofn().nFilterIndex = FileTypeIndex(m_working.wColorMode, target.dwFormat);
    if (dialog.DoModal() != IDOK)
        return;

    const std::string path = CompleteWithTypeExtension(dialog.PathName(), FileTypeExtension(dialog.TypeText()));
    ApEntry chosen = target;
    // A path whose parts do not fit their fields is refused as a whole: a cut one would name another file.
    if (!StoreTarget(chosen, path))
        return;
    if (m_app)
        chosen.wQuality = m_app->GetQuality();
    m_working.ap = chosen;
    SetPathText(TargetText(m_working.ap));
    if (!m_dirty && !SameApEntry(m_saved, m_working)) {
        m_dirty = true;
        SendPageChanged();
    }
}

void CFilePage::OnPageScroll(HWND) {
    // The page has one slider, so every horizontal scroll is the resolution's, whatever its source says.
    OnResolutionScroll();
}

} // namespace tolvan
