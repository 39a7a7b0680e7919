// Reading a whole settings file the way the program does before any page exists: the model (the first storage),
// its job set and every offered job's record with its blob, in tab order. The main window's file owner and the
// command-line companion both read through here, so both see the same records.
#pragma once

#include "settings/settings_store.h"
#include "settings/stored_job.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tolvan {

struct StoredSettings {
    char modelName[kModelNameBytes] = {};
    std::array<uint8_t, kSpecInfoSize> specInfo{};
    uint32_t jobSet = 0;
    std::vector<StoredJob> jobs;
};

// Reads one job's record and blob from the model: a blob of the size its job keeps, one of the length as stored
// (bounded by the stream), or none, whatever the stream holds behind the record.
HRESULT ReadStoredJob(CSettingsStore& store, const char* modelName, uint32_t mask, StoredJob& job);

// Reads the model name, the job set and the record of every offered job from the open file. A root without a
// storage holds no model: STG_E_FILENOTFOUND. E_OUTOFMEMORY when a blob cannot be held.
HRESULT ReadStoredSettings(CSettingsStore& store, StoredSettings& settings);

} // namespace tolvan
