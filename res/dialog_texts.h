// Which string-table text goes on which control of which dialog. A dialog's set-up puts these texts on its
// controls through the translation module, so a label or a button speaks the user's language as its hints do;
// the English texts in the templates are only what a designer sees. A control that shows the user's data, a list
// entry or a picture has no row here.
#pragma once

#include "res/resource.h"

#include <windows.h>

namespace tolvan {

struct DialogText {
    UINT dialog; // template id, or kEveryJobPage
    int control; // control id, or kDialogCaption
    UINT text;   // string id
};

// Rows for the scan settings group that begins every job page.
inline constexpr UINT kEveryJobPage = 0;
// The dialog's own caption rather than one of its controls.
inline constexpr int kDialogCaption = 0;

inline constexpr UINT kJobPageTemplates[] = {IDD_FILE_PAGE,        IDD_EMAIL_PAGE,  IDD_COPY_PAGE, IDD_RAVUD_PAGE,
                                             IDD_APPLICATION_PAGE, IDD_OFFICE_PAGE, IDD_DUZAR_PAGE};

inline constexpr DialogText kDialogTexts[] = {
    {kEveryJobPage, IDC_SCAN_MODE_LABEL, IDS_TEXT_SCAN_MODE},
    {kEveryJobPage, IDC_RESOLUTION_LABEL, IDS_TEXT_RESOLUTION},
    {IDD_FILE_PAGE, IDC_SAVE_TO_LABEL, IDS_TEXT_SAVE_TO},
    {IDD_FILE_PAGE, IDC_TARGET_BROWSE, IDS_TEXT_BROWSE},
    {IDD_EMAIL_PAGE, IDC_MAIL_PROGRAM_LABEL, IDS_TEXT_MAIL_PROGRAM},
    {IDD_EMAIL_PAGE, IDC_ATTACH_AS_LABEL, IDS_TEXT_ATTACH_AS},
    {IDD_EMAIL_PAGE, IDC_JPEG_QUALITY_LABEL, IDS_TEXT_QUALITY},
    {IDD_COPY_PAGE, IDC_PRINTER_LABEL, IDS_TEXT_PRINTER},
    {IDD_RAVUD_PAGE, IDC_PRINTER_LABEL, IDS_TEXT_PRINTER},
    {IDD_RAVUD_PAGE, IDC_PRINTER_PROPERTIES, IDS_TEXT_PROPERTIES},
    {IDD_RAVUD_PAGE, IDC_COPY_SIZE_BUTTON, IDS_TEXT_COPY_SIZE_BUTTON},
    {IDD_APPLICATION_PAGE, IDC_OPEN_WITH_LABEL, IDS_TEXT_OPEN_WITH},
    {IDD_APPLICATION_PAGE, IDC_FILE_FORMAT_LABEL, IDS_TEXT_FILE_FORMAT},
    {IDD_APPLICATION_PAGE, IDC_ADD_APPLICATION, IDS_TEXT_ADD},
    {IDD_APPLICATION_PAGE, IDC_DELETE_APPLICATION, IDS_TEXT_REMOVE},
    {IDD_OFFICE_PAGE, IDC_RECOGNITION_LABEL, IDS_TEXT_RECOGNITION},
    {IDD_OFFICE_PAGE, IDC_DOCUMENT_LABEL, IDS_TEXT_DOCUMENT},
    {IDD_DUZAR_PAGE, IDC_PROGRAM_LABEL, IDS_TEXT_PROGRAM},
    {IDD_DUZAR_PAGE, IDC_FILE_FORMAT_LABEL, IDS_TEXT_FILE_FORMAT},
    // The main window's buttons are made at run time, before its texts are set.
    {IDD_MAIN, IDC_AUTO_CROP, IDS_TEXT_AUTO_CROP},
    {IDD_MAIN, IDC_EXIT, IDS_TEXT_EXIT},
    {IDD_MAIN, IDC_DEFAULT, IDS_TEXT_DEFAULT},
    {IDD_MAIN, IDC_APPLY, IDS_TEXT_APPLY},
    {IDD_COPY_SIZE, kDialogCaption, IDS_TEXT_COPY_SIZE},
    {IDD_COPY_SIZE, IDOK, IDS_TEXT_OK},
    {IDD_COPY_SIZE, IDCANCEL, IDS_TEXT_CANCEL},
    {IDD_FILE_DIALOG_QUALITY, IDC_FILE_QUALITY_LABEL, IDS_TEXT_JPEG_QUALITY},
};

inline constexpr bool IsJobPageTemplate(UINT dialog) {
    for (UINT page : kJobPageTemplates)
        if (page == dialog)
            return true;
    return false;
}

inline constexpr bool RowApplies(const DialogText& row, UINT dialog) {
    return row.dialog == dialog || (row.dialog == kEveryJobPage && IsJobPageTemplate(dialog));
}

} // namespace tolvan
