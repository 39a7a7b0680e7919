// The Email job's page: the scan goes to a mail program as an attachment. Besides the shared scan settings it
// offers the installed mail clients that the driver's catalogue knows (IDC_MAIL_CLIENT_LIST), the attachment's format
// from BMP, PDF and JPG (IDC_FORMAT_LIST) and, for JPG, the JPEG quality (IDC_JPEG_QUALITY and its label, value and
// unit).
#pragma once

#include "pages/application_list.h"
#include "pages/scan_settings_page.h"

#include <string>
#include <vector>

namespace tolvan {

class CEmailPage : public CScanSettingsPage {
public:
    explicit CEmailPage(CAppServices* app);

    // How many mail clients set-up listed; 0 makes the page unavailable.
    int MailClientCount() const { return m_mailClientCount; }

protected:
    void SetUpPage() override;
    bool IsAvailable() const override { return m_mailClientCount > 0; }
    void AfterScanModeChange() override { FillFormats(); }
    bool RestorePageDefaults() override;
    UINT HintIdForControl(int id) const override;
    int ValueFieldId() const override;
    void OnPageCommand(int id, int code) override;
    void OnPageScroll(HWND source) override;

private:
    bool DetectMailClients();
    void ChooseInitialMailClient();
    // Selects the default client in the list (the first entry when it is not listed) and returns the
    // application-info entry of the selected client, or null when there is none.
    const ApEntry* SelectDefaultClient(const std::string& defaultName) const;

    void FillFormats();
    void SelectFormat();
    void ShowFormat(uint32_t selected);
    void ShowQualityGroup(bool shown) const;
    void SetQualityText(uint16_t quality) const;

    void OnMailClientChange();
    void OnFormatChange();
    void OnQualityScroll(HWND source);

    // The catalogue's mail programs that are installed, as listed at set-up.
    CApplicationList m_applications;
    int m_mailClientCount = 0;
};

} // namespace tolvan
