// The base of every job page: a modeless child dialog that edits one job record. It keeps the saved
// copy (as last loaded or applied) and the working copy (which the controls edit), each with its
// own extra blob, the dirty and unavailable flags, and the common save.
//
// How a page meets the settings file: it never does. The job tabs own the file (mainwnd/settings_file.h):
// they read the page's record and hand it over with LoadRecord and SetModelName before the page's window
// exists. A page whose record was never stored asks for its first save from its dialog set-up with
// AskForFirstSave(), once it knows it has a destination; it writes nothing itself. When every page is built,
// the owner calls FirstSave for each page that asked, in tab order, inside its one reading batch, and later
// Save for Apply; both hand the page an IJobWriter, which is the only way a page's record reaches the file.
// Between those calls the page only edits its working copy and tells the main window through the private
// messages of page_messages.h.
#pragma once

#include "settings/job_record.h"
#include "settings/job_writer.h"
#include "settings/stream_name.h"
#include "ui/dialog.h"
#include "ui/shared_while_held.h"
#include "ui/unique_handle.h"

#include <cstdint>
#include <vector>

namespace tolvan {

class CAppServices;
class CToolTipCtrl;

class CJobPage : public CDialog {
public:
    // mask: the job the page was built for; it is the key the page's record is written under.
    CJobPage(UINT templateId, uint32_t mask, CAppServices* app);
    ~CJobPage() override;

    // Copies the record and its blob (extra: record.ap.dwExtraLen bytes, or null) into both copies. False when
    // the memory for the blobs cannot be had.
    bool LoadRecord(const JobRecord& record, const uint8_t* extra);
    void SetModelName(const char* name);
    // The tool tip control that the pages of one window share; without it the page makes its own. The holder
    // outlives the page's set-up.
    void ShareToolTips(CSharedWhileHeld<CToolTipCtrl>* toolTips) { m_toolTips = toolTips; }

    bool IsDirty() const { return m_dirty; }
    bool IsUnavailable() const { return m_unavailable; }
    uint32_t JobMask() const { return m_mask; }

    // Writes the working copy through writer: without a model name first (the model storage the owner opened),
    // then with the page's own. On success the saved copy becomes the working copy and the page is clean.
    virtual HRESULT Save(uint32_t mask, IJobWriter& writer);
    // The owner's word that what the last Save wrote did not reach the file: the edits count as unapplied again.
    void SaveNotKept() { m_dirty = true; }

    // Whether set-up asked for the first save of a record that was never stored.
    bool WantsFirstSave() const { return m_firstSaveAsked; }
    // Saves the record under the page's own job, marked as stored; nothing unless the page asked.
    void FirstSave(IJobWriter& writer);

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
    // For set-up, once the page knows it can be used: a record that was never stored is written once.
    void AskForFirstSave() { m_firstSaveAsked = m_firstSaveAsked || m_saved.dwStored == 0; }
    // For set-up: a stored record that the page brought up to date is written once, with the first saves.
    void AskForSetUpSave() { m_firstSaveAsked = true; }

    JobRecord m_working{};
    JobRecord m_saved{};
    std::vector<uint8_t> m_workingExtra;
    std::vector<uint8_t> m_savedExtra;
    bool m_dirty = false;
    bool m_unavailable = false;
    char m_modelName[kModelNameBytes] = {};
    uint32_t m_mask;
    CAppServices* m_app;
    CSharedWhileHeld<CToolTipCtrl>* m_toolTips = nullptr;

private:
    bool m_firstSaveAsked = false;
};

} // namespace tolvan
