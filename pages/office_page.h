// The Office job's page: the scan becomes a document through text recognition. Besides the shared scan settings
// it offers the installed recognition programs (1092), chosen by the system's language unless the job names one,
// and the document formats (1050) that the listed document programs open. The record names the document program
// for the chosen format; the job's extra blob names the recognition program.
#pragma once

#include "pages/application_list.h"
#include "pages/office_formats.h"
#include "pages/scan_settings_page.h"

namespace tolvan {

class COfficePage : public CScanSettingsPage {
public:
    explicit COfficePage(CAppServices* app);

    // What set-up listed: the recognition programs in the order of control 1092, and the document programs.
    size_t RecognitionCount() const { return m_recognition.Size(); }
    size_t DocumentCount() const { return m_documents.Size(); }

protected:
    void SetUpPage() override;
    // Both lists are needed for a change to count; a few rules ask only for a recognition program.
    bool IsAvailable() const override { return HasRecognition() && !m_documents.Empty(); }
    bool RestorePageDefaults() override;
    UINT HintIdForControl(int id) const override;
    void OnPageCommand(int id, int code) override;

private:
    bool HasRecognition() const { return !m_recognition.Empty(); }
    bool ListDocumentPrograms();
    bool ListRecognitionPrograms();
    // Selects entry index of the recognition list and points the working blob at its program.
    void TakeRecognition(int index);
    // The list entry of the first recognition program with this id; -1 when none has it.
    int RecognitionIndex(uint16_t apId) const;
    // The entry that the system language asks for: the Chinese program on Chinese systems, else the other one.
    int LanguageChoice() const;
    OfficePrograms Programs() const;

    void FillFormats();
    void SelectFormatAndProgram();
    void EmptyFormats();

    void OnRecognitionChange();
    void OnFormatChange();

    // The installed programs as set-up listed them; m_recognition runs parallel to the entries of 1092.
    CApplicationList m_documents;
    CApplicationList m_recognition;
};

} // namespace tolvan
