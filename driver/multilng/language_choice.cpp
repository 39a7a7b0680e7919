#include "driver/multilng/language_choice.h"

namespace tolvan::msg {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameCode(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::optional<std::size_t> ChooseLanguage(const MessageCatalog& catalog, std::string_view requested,
                                          uint16_t uiLanguage, uint16_t ansiCodePage) {
    const uint16_t primary = uiLanguage & 0x3FF; // PRIMARYLANGID
    for (std::size_t i = 0; i < catalog.LanguageCount(); ++i) {
        const Language& language = catalog.LanguageAt(i);
        const bool wanted =
            requested.empty() ? language.primaryLanguage == primary : SameCode(requested, language.code);
        if (wanted)
            return language.codePage == ansiCodePage ? std::optional<std::size_t>(i) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace tolvan::msg
