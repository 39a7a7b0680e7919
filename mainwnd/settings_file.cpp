#include "mainwnd/settings_file.h"

#include "app/app_services.h"
#include "app/startup_trace.h"
#include "settings/job_table.h"

#include <cstring>
#include <new>

namespace tolvan {

CSettingsStore* CSettingsFile::Store() const {
    return m_app ? m_app->GetSettingsStore() : nullptr;
}

HRESULT CSettingsFile::ReadRecord(uint32_t mask, JobRecord& record, std::vector<uint8_t>& extra) {
    CSettingsStore* store = Store();
    const JobInfo* job = FindJob(mask);
    std::memset(&record, 0, sizeof record);
    extra.clear();
    if (job->blob == BlobKind::kFixed) {
        extra.assign(job->blobSize, 0);
        record.ap.dwExtraLen = job->blobSize;
        return store->ReadJob(m_modelName, mask, &record, extra.data());
    }
    HRESULT hr = store->ReadJob(m_modelName, mask, &record, nullptr);
    if (job->blob == BlobKind::kAsStored && SUCCEEDED(hr) && record.ap.dwExtraLen != 0) {
        // The store bounds the length by what the stream holds, so this is never more than the file had.
        extra.assign(record.ap.dwExtraLen, 0);
        hr = store->ReadJob(m_modelName, mask, &record, extra.data());
    }
    if (job->blob == BlobKind::kNone || extra.empty())
        record.ap.dwExtraLen = 0;
    record.ap.pExtraLow = 0;
    return hr;
}

HRESULT CSettingsFile::ReadModel(std::vector<Job>& jobs) {
    CSettingsStore* store = Store();
    jobs.clear();
    HRESULT hr = store->FirstModelName(m_modelName);
    if (hr != S_OK)
        return FAILED(hr) ? hr : STG_E_FILENOTFOUND; // a root without a storage holds no model
    hr = store->ReadSpecInfo(m_modelName, m_specInfo.data());
    if (FAILED(hr))
        return hr;
    uint32_t jobSet = 0;
    std::memcpy(&jobSet, m_specInfo.data() + kSpecInfoJobSetOffset, sizeof jobSet);
    try {
        for (const JobInfo& job : kJobs) {
            if (!(jobSet & job.mask))
                continue;
            Job& data = jobs.emplace_back();
            data.mask = job.mask;
            hr = ReadRecord(job.mask, data.record, data.extra);
            if (FAILED(hr))
                return hr;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

bool CSettingsFile::ReadJobs(std::vector<Job>& jobs) {
    CSettingsStore* store = Store();
    if (!store || FAILED(m_app->OpenSettingsFile(StgMode::kReadWrite)))
        return false;
    startup_trace::Step("settings file opened");
    HRESULT hr = ReadModel(jobs);
    if (FAILED(hr) && hr != E_OUTOFMEMORY) {
        // A file without its model, its job set or an offered job's record would stop every start the same way:
        // it is as unusable as one that does not open, and takes the same way out. The template gets one try.
        if (FAILED(m_app->ReplaceSettingsFile(StgMode::kReadWrite)))
            return false;
        hr = ReadModel(jobs);
        if (FAILED(hr) && hr != E_OUTOFMEMORY)
            m_app->ShowSettingsFileError();
    }
    if (FAILED(hr)) {
        store->Discard();
        return false;
    }
    return true;
}

void CSettingsFile::FirstSave(CJobPage& page) {
    // The model storage is open for reading here, so the page's write without a model name fails and the one
    // with the name stores the record.
    if (CSettingsStore* store = Store(); store && page.WantsFirstSave())
        page.FirstSave(*store);
}

void CSettingsFile::EndBuild() {
    if (CSettingsStore* store = Store())
        store->Close();
}

HRESULT CSettingsFile::Write(CJobPage& page) {
    CSettingsStore* store = Store();
    if (!store)
        return E_POINTER;
    HRESULT hr = m_app->OpenSettingsFile(StgMode::kReadWrite);
    if (FAILED(hr))
        return hr;
    hr = store->OpenModel(m_modelName, StgMode::kReadWrite);
    if (FAILED(hr))
        return hr;
    hr = page.Save(page.JobMask(), *store);
    if (FAILED(hr))
        return hr;
    const HRESULT closed = store->Close();
    if (FAILED(closed)) {
        page.SaveNotKept();
        return closed;
    }
    return hr;
}

} // namespace tolvan
