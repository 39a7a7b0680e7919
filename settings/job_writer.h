// What a job page writes its record through. A page never opens, holds or closes the settings file: the file's
// owner opens a batch and hands the page this for the length of one save.
#pragma once

#include "settings/job_record.h"

#include <objbase.h>

#include <cstdint>

namespace tolvan {

class IJobWriter {
public:
    // modelName: null writes into the model storage the owner opened; otherwise that model is (re)opened first.
    // extra: the record->ap.dwExtraLen bytes written behind the record (may be null when that length is 0).
    virtual HRESULT WriteJob(const char* modelName, uint32_t jobMask, const JobRecord* record,
                             const uint8_t* extra) = 0;

protected:
    ~IJobWriter() = default;
};

} // namespace tolvan
