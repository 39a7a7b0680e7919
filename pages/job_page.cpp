#include "pages/job_page.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tolvan {

CJobPage::CJobPage(UINT templateId, uint32_t mask, CAppServices* app) : CDialog(templateId), m_mask(mask), m_app(app) {}

CJobPage::~CJobPage() {
    DestroyWindow();
}

bool CJobPage::LoadRecord(const JobRecord& record, const uint8_t* extra) {
    std::memcpy(&m_working, &record, kJobRecordSize);
    std::memcpy(&m_saved, &record, kJobRecordSize);
    m_workingExtra.clear();
    m_savedExtra.clear();
    if (!extra || record.ap.dwExtraLen == 0) {
        m_working.ap.dwExtraLen = m_saved.ap.dwExtraLen = 0;
        return true;
    }
    try {
        m_workingExtra.assign(extra, extra + record.ap.dwExtraLen);
        m_savedExtra = m_workingExtra;
    } catch (const std::bad_alloc&) {
        m_workingExtra.clear();
        m_savedExtra.clear();
        return false;
    }
    return true;
}

void CJobPage::SetModelName(const char* name) {
    if (!name)
        return;
    std::memset(m_modelName, 0, sizeof m_modelName);
    std::memcpy(m_modelName, name, strnlen(name, sizeof m_modelName - 1));
}

void CJobPage::CommitWorking() {
    if (!m_savedExtra.empty()) {
        // The saved copy keeps its own buffer; only its content follows the working copy.
        const size_t n = std::min<size_t>(m_workingExtra.size(), m_savedExtra.size());
        std::memcpy(m_savedExtra.data(), m_workingExtra.data(), n);
    }
    std::memcpy(&m_saved, &m_working, kJobRecordSize);
}

HRESULT CJobPage::Save(uint32_t mask, IJobWriter& writer) {
    // The record's blob length and the page's blob must agree whatever a file said.
    m_working.ap.dwExtraLen = static_cast<uint32_t>(m_workingExtra.size());
    const uint8_t* extra = m_workingExtra.empty() ? nullptr : m_workingExtra.data();
    HRESULT hr = writer.WriteJob(nullptr, mask, &m_working, extra);
    if (FAILED(hr)) {
        hr = writer.WriteJob(m_modelName, mask, &m_working, extra);
        if (FAILED(hr))
            return hr;
    }
    CommitWorking();
    m_dirty = false;
    return hr;
}

void CJobPage::FirstSave(IJobWriter& writer) {
    if (!m_firstSaveAsked)
        return;
    m_firstSaveAsked = false;
    if (m_saved.dwStored == 0)
        m_saved.dwStored = m_working.dwStored = 1;
    // The record names its job, but a damaged or foreign record may name another one: the page writes under the
    // job it was built for, never over another job's stream.
    if (m_working.ap.dwJobMask != m_mask)
        m_working.ap.dwJobMask = m_saved.ap.dwJobMask = m_mask;
    Save(m_mask, writer);
}

void CJobPage::DestroyWindow() {
    m_workingExtra.clear();
    m_workingExtra.shrink_to_fit();
    m_savedExtra.clear();
    m_savedExtra.shrink_to_fit();
    CDialog::DestroyWindow();
}

} // namespace tolvan
