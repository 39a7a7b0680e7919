// A compound file held in memory, for ole32 to work on in place of a file: a write batch builds its new file here
// and writes it out once, whole. It behaves as a file would where ole32 can tell: bytes past the end read as
// nothing, and growing it (by a write past the end or by SetSize) adds zeros. The HGLOBAL lock bytes of ole32 add
// whatever the heap held instead, and ole32 writes such bytes into sectors it fills only in part.
#pragma once

#include <objbase.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace tolvan {

class CMemoryLockBytes final : public ILockBytes {
public:
    explicit CMemoryLockBytes(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    CMemoryLockBytes(const CMemoryLockBytes&) = delete;
    CMemoryLockBytes& operator=(const CMemoryLockBytes&) = delete;

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* buffer, ULONG count, ULONG* read) override;
    HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER offset, const void* buffer, ULONG count, ULONG* written) override;
    HRESULT STDMETHODCALLTYPE Flush() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
    // Nothing else can reach memory of ours: there is nothing to lock against.
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;

private:
    ~CMemoryLockBytes() = default;
    // Grows the bytes to size with zeros, never past what a 32-bit file offset reaches.
    HRESULT Grow(uint64_t size);

    LONG m_references = 1;
    std::vector<uint8_t> m_bytes;
};

} // namespace tolvan
