#include "driver/multilng/translator.h"

#include "driver/multilng/language_choice.h"
#include "ui/unique_handle.h"

#include <cstring>
#include <new>

namespace tolvan::multilng {
namespace {

HRESULT LastError() {
    const DWORD error = ::GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HRESULT ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    UniqueFile file(
        ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastError();
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size))
        return LastError();
    if (size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > kMaxFileBytes)
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return LastError();
        if (got == 0)
            return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF); // the file shrank while we read it
        done += got;
    }
    return S_OK;
}

std::string_view RequestedLanguage(char (&buffer)[16]) {
    const DWORD n = ::GetEnvironmentVariableA("TOLVAN_LANGUAGE", buffer, sizeof buffer);
    // Not set, or too long to be a language code: no request.
    return n > 0 && n < sizeof buffer ? std::string_view(buffer, n) : std::string_view();
}

} // namespace

CTranslator::CTranslator() = default;

CTranslator* CTranslator::FromHandle(HANDLE handle) {
    auto* translator = static_cast<CTranslator*>(handle);
    return translator && translator->m_signature == kSignature ? translator : nullptr;
}

HRESULT CTranslator::PowerOn(const char* path) {
    // A failed or repeated PowerOn must not leave the old file's texts behind.
    m_language.reset();
    m_catalog.Clear();
    m_file.clear();
    if (path == nullptr)
        return E_POINTER;
    std::vector<uint8_t> bytes;
    const HRESULT hr = ReadWholeFile(path, bytes);
    if (FAILED(hr))
        return hr;
    m_file = std::move(bytes);
    if (m_catalog.Parse(m_file.data(), m_file.size()) != msg::ParseResult::kOk) {
        m_file.clear();
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    char requested[16];
    m_language = msg::ChooseLanguage(m_catalog, RequestedLanguage(requested), ::GetUserDefaultUILanguage(),
                                     static_cast<uint16_t>(::GetACP()));
    if (!m_language)
        return S_FALSE;
    const UINT codePage = m_catalog.LanguageAt(*m_language).codePage;
    for (unsigned b = 0; b < m_leadBytes.size(); ++b)
        m_leadBytes[b] = ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b)) != FALSE;
    return S_OK;
}

std::optional<std::string_view> CTranslator::Find(std::string_view text) const {
    if (!m_language)
        return std::nullopt;
    return m_catalog.Find(*m_language, text);
}

HRESULT CTranslator::TranslateBuffer(char* buffer, std::size_t capacity) const {
    if (capacity == 0)
        return S_FALSE;
    const void* end = std::memchr(buffer, 0, capacity);
    if (end == nullptr) {
        // A text without its terminator: end it at the buffer's last byte, so that the caller shows no more than
        // the buffer, and look that up.
        buffer[capacity - 1] = '\0';
        end = buffer + capacity - 1;
    }
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - buffer);
    if (length == 0)
        return S_FALSE; // nothing to show, whatever a crafted file might pair with it
    const auto translation = Find({buffer, length});
    if (!translation)
        return S_FALSE;
    msg::CopyFitted(buffer, capacity, *translation, m_leadBytes);
    return S_OK;
}

} // namespace tolvan::multilng
