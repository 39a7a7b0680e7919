#include "mainwnd/settings_file.h"

#include "app/app_services.h"
#include "app/startup_trace.h"

#include <utility>

namespace tolvan {

CSettingsStore* CSettingsFile::Store() const {
    return m_app ? m_app->GetSettingsStore() : nullptr;
}

HRESULT CSettingsFile::ReadModel(std::vector<Job>& jobs) {
    jobs.clear();
    const HRESULT hr = ReadStoredSettings(*Store(), m_settings);
    // The pages take the records; the owner keeps the model.
    jobs = std::move(m_settings.jobs);
    m_settings.jobs.clear();
    return hr;
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
    hr = store->OpenModel(m_settings.modelName, StgMode::kReadWrite);
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
