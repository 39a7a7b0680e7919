#include "settings/memory_lock_bytes.h"

#include <cstring>
#include <new>

namespace tolvan {

namespace {

// Far past any settings file, and within what the compound file format's sector numbers address.
constexpr uint64_t kMaxBytes = 0xFFFFFFFFull;

} // namespace

HRESULT CMemoryLockBytes::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ILockBytes) {
        *out = static_cast<ILockBytes*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CMemoryLockBytes::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

ULONG CMemoryLockBytes::Release() {
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT CMemoryLockBytes::ReadAt(ULARGE_INTEGER offset, void* buffer, ULONG count, ULONG* read) {
    if (read)
        *read = 0;
    if (!buffer && count)
        return STG_E_INVALIDPOINTER;
    if (offset.QuadPart >= m_bytes.size())
        return S_OK;
    const size_t start = static_cast<size_t>(offset.QuadPart);
    const size_t n = count < m_bytes.size() - start ? count : m_bytes.size() - start;
    if (n)
        std::memcpy(buffer, m_bytes.data() + start, n);
    if (read)
        *read = static_cast<ULONG>(n);
    return S_OK;
}

HRESULT CMemoryLockBytes::WriteAt(ULARGE_INTEGER offset, const void* buffer, ULONG count, ULONG* written) {
    if (written)
        *written = 0;
    if (!buffer && count)
        return STG_E_INVALIDPOINTER;
    const uint64_t end = offset.QuadPart + count;
    if (end < offset.QuadPart || end > kMaxBytes)
        return STG_E_MEDIUMFULL;
    if (end > m_bytes.size()) {
        const HRESULT hr = Grow(end);
        if (FAILED(hr))
            return hr;
    }
    if (count)
        std::memcpy(m_bytes.data() + offset.QuadPart, buffer, count);
    if (written)
        *written = count;
    return S_OK;
}

HRESULT CMemoryLockBytes::SetSize(ULARGE_INTEGER size) {
    if (size.QuadPart > kMaxBytes)
        return STG_E_MEDIUMFULL;
    if (size.QuadPart <= m_bytes.size()) {
        m_bytes.resize(static_cast<size_t>(size.QuadPart));
        return S_OK;
    }
    return Grow(size.QuadPart);
}

HRESULT CMemoryLockBytes::Grow(uint64_t size) {
    try {
        m_bytes.resize(static_cast<size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CMemoryLockBytes::Stat(STATSTG* stat, DWORD) {
    if (!stat)
        return STG_E_INVALIDPOINTER;
    // No name, as for ole32's own lock bytes in memory; no locks supported.
    *stat = STATSTG{};
    stat->type = STGTY_LOCKBYTES;
    stat->cbSize.QuadPart = m_bytes.size();
    return S_OK;
}

} // namespace tolvan
