// The translation module's message file reader: any bytes give a catalog or a refusal, never a
// read past them; lookups and the cut into a text buffer stay inside their blocks.
#include "driver/multilng/language_choice.h"
#include "driver/multilng/message_catalog.h"
#include "driver/multilng/text_fit.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace tolvan::msg;
    MessageCatalog catalog;
    if (catalog.Parse(data, size) != ParseResult::kOk)
        return 0;
    // Look up texts that the file itself holds, so that hits are found as well as misses.
    LeadByteTable leadBytes = {};
    for (std::size_t b = 0x81; b < 0xA0; ++b)
        leadBytes[b] = true;
    const std::string_view whole(reinterpret_cast<const char*>(data), size);
    for (std::size_t language = 0; language <= catalog.LanguageCount(); ++language) {
        for (std::size_t at = 0; at < size; at += 7) {
            const void* end = std::memchr(data + at, 0, size - at);
            const std::size_t length =
                end ? static_cast<std::size_t>(static_cast<const uint8_t*>(end) - (data + at)) : size - at;
            const std::string_view text = whole.substr(at, length);
            if (const auto translation = catalog.Find(language, text)) {
                char buffer[260];
                CopyFitted(buffer, sizeof buffer, *translation, leadBytes);
                char small[5];
                CopyFitted(small, sizeof small, *translation, leadBytes);
            }
        }
    }
    ChooseLanguage(catalog, "de", 0x0407, 1252);
    ChooseLanguage(catalog, "", 0x040C, 1252);
    return 0;
}
