#include "compound_file.h"

#include "settings/stream_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace tolvan::test {

std::wstring Wide(const std::string& s) {
    wchar_t out[MAX_PATH];
    return ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, out, MAX_PATH) ? out : L"";
}

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        m_path =
            std::string(temp) + "tolvan-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (::CreateDirectoryA(m_path.c_str(), nullptr))
            break;
    }
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(m_path);
}

CompoundFileBuilder::CompoundFileBuilder(const std::string& path) {
    const HRESULT hr =
        ::StgCreateDocfile(Wide(path).c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, m_root.Put());
    EXPECT_EQ(hr, S_OK) << path;
}

IStorage* CompoundFileBuilder::Walk(std::initializer_list<const char*> path, bool includeLast) {
    // A storage's children are reverted when it is released, so the whole chain stays open.
    m_chain.clear();
    IStorage* parent = m_root.Get();
    if (!parent)
        return nullptr;
    size_t left = path.size() - (includeLast ? 0 : 1);
    for (const char* name : path) {
        if (left-- == 0)
            break;
        ComPtr<IStorage> next;
        const DWORD mode = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
        if (FAILED(parent->OpenStorage(Wide(name).c_str(), nullptr, mode, nullptr, 0, next.Put()))) {
            EXPECT_EQ(parent->CreateStorage(Wide(name).c_str(), mode | STGM_CREATE, 0, 0, next.Put()), S_OK) << name;
        }
        parent = next.Get();
        m_chain.push_back(std::move(next));
        if (!parent)
            return nullptr;
    }
    return parent;
}

CompoundFileBuilder& CompoundFileBuilder::Storage(std::initializer_list<const char*> path) {
    Walk(path, true);
    m_chain.clear();
    return *this;
}

CompoundFileBuilder& CompoundFileBuilder::Stream(std::initializer_list<const char*> path, const Bytes& content) {
    IStorage* where = Walk(path, false);
    if (!where)
        return *this;
    ComPtr<IStream> stream;
    const HRESULT hr = where->CreateStream(Wide(*(path.end() - 1)).c_str(),
                                           STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, stream.Put());
    EXPECT_EQ(hr, S_OK);
    if (SUCCEEDED(hr) && !content.empty()) {
        EXPECT_EQ(stream->Write(content.data(), static_cast<ULONG>(content.size()), nullptr), S_OK);
    }
    stream.Reset();
    m_chain.clear();
    return *this;
}

namespace {

// An open chain of storages from the root to the parent of the last element of a path.
struct OpenPath {
    std::vector<ComPtr<IStorage>> chain;
    IStorage* parent = nullptr;
};

bool OpenParent(OpenPath& open, const std::string& file, std::initializer_list<const char*> path) {
    ComPtr<IStorage> root;
    if (FAILED(::StgOpenStorage(Wide(file).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0, root.Put())))
        return false;
    open.parent = root.Get();
    open.chain.push_back(std::move(root));
    for (auto it = path.begin(); it + 1 != path.end(); ++it) {
        ComPtr<IStorage> next;
        if (FAILED(open.parent->OpenStorage(Wide(*it).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                            next.Put())))
            return false;
        open.parent = next.Get();
        open.chain.push_back(std::move(next));
    }
    return true;
}

} // namespace

std::optional<Bytes> ReadStream(const std::string& file, std::initializer_list<const char*> path) {
    OpenPath open;
    if (!OpenParent(open, file, path))
        return std::nullopt;
    ComPtr<IStream> stream;
    if (FAILED(open.parent->OpenStream(Wide(*(path.end() - 1)).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                       stream.Put())))
        return std::nullopt;
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    Bytes content(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG got = 0;
    if (!content.empty() && FAILED(stream->Read(content.data(), static_cast<ULONG>(content.size()), &got)))
        return std::nullopt;
    content.resize(got);
    return content;
}

bool HasElement(const std::string& file, std::initializer_list<const char*> path) {
    OpenPath open;
    if (!OpenParent(open, file, path))
        return false;
    IStorage* parent = open.parent;
    ComPtr<IStorage> storage;
    ComPtr<IStream> stream;
    const std::wstring name = Wide(*(path.end() - 1));
    return SUCCEEDED(parent->OpenStorage(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                         storage.Put())) ||
           SUCCEEDED(parent->OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put()));
}

Bytes FileBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

JobRecord PatternRecord(uint8_t seed, uint32_t extraLength) {
    JobRecord record;
    auto* bytes = reinterpret_cast<uint8_t*>(&record);
    for (size_t i = 0; i < kJobRecordSize; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    record.ap.dwExtraLen = extraLength;
    record.ap.pExtraLow = 0;
    return record;
}

Bytes RecordBytes(const JobRecord& record) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    return Bytes(bytes, bytes + kJobRecordSize);
}

Bytes SpecInfo(uint32_t jobSet) {
    Bytes info(14, 0xA5);
    std::memcpy(info.data() + 6, &jobSet, 4);
    return info;
}

void WriteSettingsFile(const std::string& file, std::initializer_list<uint32_t> masks, bool withProBtn) {
    CompoundFileBuilder builder(file);
    uint32_t jobSet = 0;
    uint8_t seed = 1;
    for (uint32_t mask : masks) {
        const std::string name = JobStreamName(mask);
        builder.Stream({"Model", "Setting", name.c_str()}, RecordBytes(PatternRecord(seed++)));
        jobSet |= mask;
    }
    builder.Stream({"Model", "SpecInfo"}, SpecInfo(jobSet));
    if (withProBtn)
        builder.Storage({"Model", "Setting", "ProBtn"});
    builder.Finish();
}

} // namespace tolvan::test
