// The File page's Save As dialog: the system's Explorer-style file dialog with a panel of our own (child
// template IDD_FILE_DIALOG_QUALITY) that holds a JPEG quality slider, shown only while the JPEG file type is chosen.
// The quality travels through the application object: the page puts it there before the dialog runs, the slider writes
// it, and the page reads it back after OK.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstdint>
#include <string>

namespace tolvan {

class CAppServices;

class CFileDialogEx {
public:
    // filter: the file types in OPENFILENAME's form ('\0' after each part, an empty part at the end). flags get
    // OFN_EXPLORER, OFN_ENABLEHOOK, OFN_ENABLETEMPLATE and OFN_HIDEREADONLY added.
    CFileDialogEx(bool openFileDialog, const char* defaultExt, const char* fileName, DWORD flags, std::string filter,
                  HWND parent, CAppServices* app);
    ~CFileDialogEx();
    CFileDialogEx(const CFileDialogEx&) = delete;
    CFileDialogEx& operator=(const CFileDialogEx&) = delete;

    // IDOK when the user chose a file; IDCANCEL when the dialog was cancelled or failed.
    INT_PTR DoModal();

    OPENFILENAMEA& Ofn() { return m_ofn; }
    // The chosen path after IDOK.
    const char* PathName() const { return m_fileName; }
    // The description of the file type chosen when the dialog opened or last changed its type.
    const char* TypeText() const { return m_typeText; }
    uint32_t Quality() const { return m_quality; }

private:
    static UINT_PTR CALLBACK HookProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND child);
    void OnTypeChange();
    void OnQualityScroll(HWND source);
    void PreselectByDefaultExtension() const;
    void ReadTypeText();
    void ShowQualityPanel() const;
    void ShowQualityValue() const;

    OPENFILENAMEA m_ofn{};
    char m_fileName[260] = {};
    std::string m_filter;
    std::string m_defaultExt;
    CAppServices* m_app;
    bool m_open;

    HWND m_child = nullptr;
    HWND m_typeList = nullptr;
    HWND m_qualitySlider = nullptr;
    HWND m_qualityValue = nullptr;
    HWND m_qualityLabel = nullptr;
    HWND m_percentLabel = nullptr;
    uint32_t m_quality = 0;
    char m_typeText[260] = {};
};

} // namespace tolvan
