#include "settings/settings_reader.h"

#include "settings/job_table.h"

#include <cstring>
#include <new>

namespace tolvan {

HRESULT ReadStoredJob(CSettingsStore& store, const char* modelName, uint32_t mask, StoredJob& job) {
    const JobInfo* info = FindJob(mask);
    job.mask = mask;
    std::memset(&job.record, 0, sizeof job.record);
    job.extra.clear();
    if (!info)
        return STG_E_INVALIDPARAMETER;
    if (info->blob == BlobKind::kFixed) {
        job.extra.assign(info->blobSize, 0);
        job.record.ap.dwExtraLen = info->blobSize;
        return store.ReadJob(modelName, mask, &job.record, job.extra.data());
    }
    HRESULT hr = store.ReadJob(modelName, mask, &job.record, nullptr);
    if (info->blob == BlobKind::kAsStored && SUCCEEDED(hr) && job.record.ap.dwExtraLen != 0) {
        // The store bounds the length by what the stream holds, so this is never more than the file had.
        job.extra.assign(job.record.ap.dwExtraLen, 0);
        hr = store.ReadJob(modelName, mask, &job.record, job.extra.data());
    }
    if (info->blob == BlobKind::kNone || job.extra.empty())
        job.record.ap.dwExtraLen = 0;
    job.record.ap.pExtraLow = 0;
    return hr;
}

HRESULT ReadStoredSettings(CSettingsStore& store, StoredSettings& settings) {
    settings.jobs.clear();
    HRESULT hr = store.FirstModelName(settings.modelName);
    if (hr != S_OK)
        return FAILED(hr) ? hr : STG_E_FILENOTFOUND;
    hr = store.ReadSpecInfo(settings.modelName, settings.specInfo.data());
    if (FAILED(hr))
        return hr;
    std::memcpy(&settings.jobSet, settings.specInfo.data() + kSpecInfoJobSetOffset, sizeof settings.jobSet);
    try {
        for (const JobInfo& info : kJobs) {
            if (!(settings.jobSet & info.mask))
                continue;
            hr = ReadStoredJob(store, settings.modelName, info.mask, settings.jobs.emplace_back());
            if (FAILED(hr))
                return hr;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

} // namespace tolvan
