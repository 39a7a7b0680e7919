// The base of every job page: a modeless child dialog that edits one job record. It keeps the saved
// copy (as last loaded or applied) and the working copy (which the controls edit), each with its
// own extra blob, the dirty and unavailable flags, and the common save.
#pragma once

#include "settings/job_record.h"
#include "settings/stream_name.h"
#include "ui/dialog.h"
#include "ui/unique_handle.h"

#include <cstdint>
#include <vector>

namespace tolvan {

class CAppServices;
class CSettingsStore;

class CJobPage : public CDialog {
public:
    // mask: the job the page was built for; it is the key the page's record is written under.
    CJobPage(UINT templateId, uint32_t mask, CAppServices* app);
    ~CJobPage() override;

    // Copies the record and its blob (extra: record.ap.dwExtraLen bytes, or null) into both copies. False when
    // the memory for the blobs cannot be had.
    bool LoadRecord(const JobRecord& record, const uint8_t* extra);
    void SetModelName(const char* name);

    bool IsDirty() const { return m_dirty; }
    void SetDirty(bool dirty) { m_dirty = dirty; }
    bool IsUnavailable() const { return m_unavailable; }
    uint32_t JobMask() const { return m_mask; }

    // Writes the working copy: without a model name first (the model storage the caller opened), then with the
    // page's own. On success the saved copy becomes the working copy and the page is clean.
    virtual HRESULT Save(uint32_t mask);

    void DestroyWindow() override;

    const JobRecord& Working() const { return m_working; }
    const JobRecord& Saved() const { return m_saved; }
    const std::vector<uint8_t>& WorkingExtra() const { return m_workingExtra; }
    const std::vector<uint8_t>& SavedExtra() const { return m_savedExtra; }

protected:
    void OnOK() override {}
    void OnCancel() override {}

    // Makes the saved copy equal to the working copy, each keeping its own blob buffer.
    void CommitWorking();
    // The first use of a page with a usable destination stores its record once, before any edit.
    void FirstSave();

    JobRecord m_working{};
    JobRecord m_saved{};
    std::vector<uint8_t> m_workingExtra;
    std::vector<uint8_t> m_savedExtra;
    bool m_dirty = false;
    bool m_unavailable = false;
    char m_modelName[kModelNameBytes] = {};
    uint32_t m_mask;
    CAppServices* m_app;
    CSettingsStore* m_store = nullptr;
};

} // namespace tolvan
