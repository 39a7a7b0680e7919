// The File job's page: the scan is saved as an image file. The page shows the target (folder, file name prefix
// and extension) as one path; the Save As dialog behind the browse button chooses all three and, through the
// file type, the format.
#pragma once

#include "controls/colour_button.h"
#include "pages/scan_settings_page.h"

#include <string>

namespace tolvan {

class CFilePage : public CScanSettingsPage {
public:
    explicit CFilePage(CAppServices* app);
    ~CFilePage() override;

    // The path the page shows, as it stands.
    const std::string& PathText() const { return m_pathText; }

protected:
    void SetUpPage() override;
    void OnPageScroll(HWND source) override;
    // Saving to a file needs no destination program: the page is always usable.
    bool IsAvailable() const override { return true; }
    void AfterScanModeChange() override;
    bool RestorePageDefaults() override;
    int ValueFieldId() const override;
    void OnPageCommand(int id, int code) override;

    // The system folder with the given CSIDL into path (260 bytes), created when missing; false when the
    // system has none. Tests put the folders somewhere of their own.
    virtual bool SpecialFolder(int csidl, char (&path)[260]) const;

private:
    // Puts the default folder into an empty szFolder, shows the target and creates the folders on its way.
    void ShowTargetPath();
    void SetPathText(std::string text);
    void OnBrowse();

    CColorButton m_browse;
    std::string m_pathText;
};

} // namespace tolvan
