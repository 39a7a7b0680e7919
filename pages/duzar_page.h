// The DUzar job's page: the scan opens in the one program made for this button. Besides the shared scan settings
// it lists that program (IDC_DUZAR_APPLICATION_LIST), when the installed-applications list holds it, and the image
// formats the program opens (IDC_FORMAT_LIST, the synchronising list without PDF).
#pragma once

#include "pages/application_list.h"
#include "pages/image_destination_page.h"

namespace tolvan {

class CDUzarPage : public CImageDestinationPage {
public:
    explicit CDUzarPage(CAppServices* app);

    // How many applications set-up listed (0 or 1); 0 makes the page unavailable.
    int ApplicationCount() const { return static_cast<int>(m_applications.Size()); }

protected:
    void SetUpPage() override;
    bool IsAvailable() const override { return !m_applications.Empty(); }
    bool RestorePageDefaults() override;
    UINT HintIdForControl(int id) const override;
    void OnPageCommand(int id, int code) override;

private:
    bool ListApplication();
    void SelectApplication();
    // Points the record at the listed program and shows it; the page is dirty, without a notification.
    void TakeListedApplication();

    void OnApplicationChange();

    // The program found at set-up; at most one entry.
    CApplicationList m_applications;
};

} // namespace tolvan
