// Test helpers: scratch folders, and compound files built and inspected with ole32 directly,
// independently of the settings store.
#pragma once

#include "settings/job_record.h"
#include "ui/com_ptr.h"

#include <objbase.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace tolvan::test {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the temporary folder, removed with its files at the end of the test.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string File(const char* name) const { return m_path + "\\" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Builds a compound file element by element. Paths are element names from the root, e.g.
// {"Model", "Setting", "TolClass100"}.
class CompoundFileBuilder {
public:
    explicit CompoundFileBuilder(const std::string& path);
    CompoundFileBuilder& Storage(std::initializer_list<const char*> path);
    CompoundFileBuilder& Stream(std::initializer_list<const char*> path, const Bytes& content);
    // Releases the file so that others can open it.
    void Finish() { m_root.Reset(); }

private:
    IStorage* Walk(std::initializer_list<const char*> path, bool includeLast);
    ComPtr<IStorage> m_root;
    std::vector<ComPtr<IStorage>> m_chain;
};

// The content of a stream, or nothing when the file, a storage on the way or the stream is missing.
std::optional<Bytes> ReadStream(const std::string& file, std::initializer_list<const char*> path);
bool HasElement(const std::string& file, std::initializer_list<const char*> path);

Bytes FileBytes(const std::string& file);
// An ANSI path or element name as ole32 takes it.
std::wstring Wide(const std::string& text);
// Replaces the file with exactly these bytes; false when it could not be written whole.
[[nodiscard]] bool WriteFileBytes(const std::string& file, const Bytes& bytes);

// A record whose every byte is derived from seed, with the given extra length, as a file would hold it.
JobRecord PatternRecord(uint8_t seed, uint32_t extraLength = 0);
Bytes RecordBytes(const JobRecord& record);
Bytes SpecInfo(uint32_t jobSet);

// A settings file as the driver's template shapes it: model storage "Model" with "SpecInfo",
// "Setting" with one stream per given mask (pattern records seeded by position) and an empty "ProBtn".
void WriteSettingsFile(const std::string& file, std::initializer_list<uint32_t> masks, bool withProBtn = true);

} // namespace tolvan::test
