// The application job's page: the scanner button opens the scan in a program the user picks. Besides the shared
// scan settings it lists the installed destination applications (1085), offers the image formats the chosen one
// opens (1050, the synchronising list without PDF), and removes a program the user added from the list (1088,
// shown only for such a program). The hidden button 1087 stands for the command that adds a program.
#pragma once

#include "controls/colour_button.h"
#include "pages/application_list.h"
#include "pages/image_destination_page.h"

namespace tolvan {

class CApplicationPage : public CImageDestinationPage {
public:
    explicit CApplicationPage(CAppServices* app);

    // How many applications set-up listed; adding and removing programs later does not change it, and 0 keeps
    // the page unavailable.
    int ApplicationCount() const { return m_applicationCount; }

protected:
    void SetUpPage() override;
    bool IsAvailable() const override { return m_applicationCount > 0; }
    bool RestorePageDefaults() override;
    UINT HintIdForControl(int id) const override;
    void OnPageCommand(int id, int code) override;

private:
    bool ListApplications();
    void SelectApplication();
    void ChooseDefaultApplication();
    // Selects the entry's name in the list and makes the record name the entry's program; the page turns dirty
    // without telling the main window. Nothing when the record already names that program.
    void TakeApplication(const ApEntry& entry);
    void ShowDeleteButton();
    // Shows the translated text in a message box over the main window.
    void ShowText(UINT id);

    void OnApplicationChange();
    void OnAddApplication();
    void OnDeleteApplication();

    // The installed applications as listed at set-up, in the module's order; programs added since come first.
    CApplicationList m_applications;
    int m_applicationCount = 0;
    CColorButton m_addButton;
    CColorButton m_deleteButton;
};

} // namespace tolvan
