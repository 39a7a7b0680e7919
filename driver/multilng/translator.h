// The state behind one context handle of MultiLng.dll: the message file's bytes, the parsed
// catalog and the chosen language. Not thread-safe; the program uses it from its UI thread only.
#pragma once

#include "driver/multilng/message_catalog.h"
#include "driver/multilng/text_fit.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tolvan::multilng {

// The largest message file that PowerOn reads; ours is a few kilobytes.
inline constexpr uint64_t kMaxFileBytes = 16u << 20;

class CTranslator {
public:
    CTranslator();
    // The signature is cleared through a volatile write, which the compiler cannot drop as a dead store, so that a
    // freed handle passed in again is refused as long as its memory is not reused.
    ~CTranslator() { *static_cast<volatile uint32_t*>(&m_signature) = 0; }
    CTranslator(const CTranslator&) = delete;
    CTranslator& operator=(const CTranslator&) = delete;

    // A handle the program passed in, or null when it is not one of ours (a null or freed handle).
    static CTranslator* FromHandle(HANDLE handle);

    // S_OK: a language was chosen; S_FALSE: the file is fine but has no language for this user; failure: the
    // file is missing or damaged. In every case but S_OK texts stay as they are.
    HRESULT PowerOn(const char* path);

    std::optional<std::string_view> Find(std::string_view text) const;
    // Replaces the zero-terminated text in buffer[0, capacity) by its translation, cut to fit. S_OK when
    // translated, S_FALSE when the text has none.
    HRESULT TranslateBuffer(char* buffer, std::size_t capacity) const;

private:
    static constexpr uint32_t kSignature = 0x4E4C4D54; // "TMLN"
    uint32_t m_signature = kSignature;
    std::vector<uint8_t> m_file;
    msg::MessageCatalog m_catalog;
    std::optional<std::size_t> m_language;
    msg::LeadByteTable m_leadBytes = {};
};

} // namespace tolvan::multilng
