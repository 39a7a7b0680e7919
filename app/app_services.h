// What the application object offers to everything below start-up: the two folders, the settings
// store and its guarded open, the shared font, texts through the translation module, and the
// small values that the main window and the pages hand to each other. Nothing here includes a
// window or a page, so pages and windows can use it without pulling in start-up.
#pragma once

#include "app/dialog_scaling.h"
#include "app/path_buffer.h"
#include "modules/apinfo_module.h"
#include "modules/translation_module.h"
#include "settings/settings_store.h"
#include "ui/shared_while_held.h"
#include "ui/unique_handle.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace tolvan {

// The facts about the machine that start-up depends on; tests replace them.
struct SystemFacts {
    std::string programPath;   // the program's own file
    std::string windowsFolder; // without a trailing backslash
    std::string appDataFolder; // empty: ask the system (and let it create the folder)
    bool ntFamily = true;      // NT family, major version 4 or later

    static SystemFacts FromSystem();
};

using TextBuffer = char[260];

class CAppServices {
public:
    explicit CAppServices(SystemFacts facts);
    virtual ~CAppServices();
    CAppServices(const CAppServices&) = delete;
    CAppServices& operator=(const CAppServices&) = delete;

    // out: a 260-byte buffer. The driver folder is empty when the program has no folder name.
    void GetDriverFolder(char* out) const;
    // out: a 260-byte buffer, or null (then nothing happens). Empty when the path would not fit.
    void GetUserFolder(char* out) const;

    CSettingsStore* GetSettingsStore() { return m_store.get(); }
    // Opens the per-user settings file; a file that cannot be opened is replaced by the driver's
    // template (a damaged one is kept as a backup first). Fails with message 141.
    HRESULT OpenSettingsFile(DWORD mode);
    // For a per-user file that opened but cannot be used (its model, job set or a record cannot be read): drops
    // what the store has open without writing anything, keeps the file as a backup and opens the driver's
    // template in its place. Fails with message 141 as OpenSettingsFile does.
    HRESULT ReplaceSettingsFile(DWORD mode);
    // Message 141: neither the user's settings file nor the driver's copy can be used.
    void ShowSettingsFileError();

    // Puts the driver's "APInfo.dat" in place of the per-user one that the application-info module refused or
    // could not open. The user's file holds the applications the user added, so it is kept as a backup first;
    // the per-user folder is created when it is missing. False, with the user's file untouched, when no backup
    // could be made, and false when the copy failed.
    bool InstallDriverCatalogue();
    // Creates the per-user folder and every folder above it that is missing, for a user who never ran the program.
    void CreateUserFolder() const;

    // The application-info module (every caller names the driver folder's), loaded once for a stretch of work:
    // while anyone holds what this returned, later callers get the same module, and the last holder's release
    // unloads it. Null when it cannot be loaded.
    std::shared_ptr<CApInfoModule> ShareApInfoModule(const char* dllPath);
    // Start-up keeps the module it searched with (KeepForStartup) until the pages have listed their applications,
    // so that a start loads it once; EndStartup lets it go.
    void KeepForStartup(std::shared_ptr<CApInfoModule> module) { m_startupApInfo = std::move(module); }
    void EndStartup() { m_startupApInfo.reset(); }

    // The pages' background picture, one for all pages while any holds it: a bitmap for the screen keeps its
    // pixels in the program's memory, about 230 KB for each copy. Null when it cannot be loaded.
    std::shared_ptr<UniqueBitmap> SharePageBackground();

    uint16_t GetQuality() const { return m_quality; }
    void SetQuality(uint16_t quality) { m_quality = quality; }
    uint32_t GetHintId() const { return m_hintId; }
    void SetHintId(uint32_t id) { m_hintId = id; }
    HFONT GetSharedFont() const { return m_font.Get(); }
    // The main window stores its factors once, before any page exists; every later dialog uses them.
    int SetScaleFactors(float x, float y) {
        m_scale = {x, y};
        return 1;
    }
    ScaleFactors GetScaleFactors() const { return m_scale; }
    // Gives the window's children the shared font and their design pixels; nothing without the font.
    void ApplyDialogFont(HWND window) const {
        if (m_font && window)
            ScaleDialogChildren(window, m_font.Get(), m_scale);
    }
    CTranslationModule& Translation() { return m_translation; }

    // Loads a string-table text and passes it through the translation module.
    void LoadText(UINT id, TextBuffer& buffer);
    // Ends a dialog's set-up: puts the fixed texts of its template (res/dialog_texts.h) on its controls through the
    // translation module, then lets the module translate the dialog's other texts.
    void TranslateDialog(HWND dialog, UINT templateId);
    // Shows a message box with the caption "Tolvan". Tests answer it themselves.
    virtual int ShowMessage(HWND owner, const char* text, UINT style);
    // The system language as the profile's "intl" section names it ("sLanguage", "enu" when it has none). Under
    // Wine it follows the locale; tests answer it themselves.
    virtual void GetSystemLanguage(TextBuffer& buffer) const;
    // Start-up and settings-file errors: no owner, on top, error icon.
    void ShowStartupError(const char* text) { ShowMessage(nullptr, text, MB_TOPMOST | MB_ICONERROR); }

    const SystemFacts& Facts() const { return m_facts; }

protected:
    // Forms the driver folder from the registry value "Path" (creating it when needed).
    void DetermineDriverFolder();
    // The per-user settings file's path; false (and an empty path) when it does not fit.
    bool SettingsFilePath(char* path) const;
    // Puts the driver's template in place of the per-user file that failed with hr (backing up one that may be
    // damaged) and opens it; message 141 when that fails too.
    HRESULT FallBackToTemplate(const char* path, DWORD mode, HRESULT hr);

    SystemFacts m_facts;
    std::string m_driverFolder;
    uint16_t m_quality = 0;
    std::unique_ptr<CSettingsStore> m_store = std::make_unique<CSettingsStore>();
    uint32_t m_hintId = 0;
    UniqueFont m_font;
    ScaleFactors m_scale;
    CTranslationModule m_translation;
    CSharedWhileHeld<CApInfoModule> m_apInfo;
    std::shared_ptr<CApInfoModule> m_startupApInfo;
    CSharedWhileHeld<UniqueBitmap> m_pageBackground;
};

} // namespace tolvan
