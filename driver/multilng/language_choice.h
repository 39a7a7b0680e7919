// Which language of the message file the module uses (FORMAT.md, "Choosing the language").
#pragma once

#include "driver/multilng/message_catalog.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvan::msg {

// requested: the value of TOLVAN_LANGUAGE, empty when it is not set; uiLanguage: the user's UI language id;
// ansiCodePage: the system's. Nothing means: keep the texts as they are.
std::optional<std::size_t> ChooseLanguage(const MessageCatalog& catalog, std::string_view requested,
                                          uint16_t uiLanguage, uint16_t ansiCodePage);

} // namespace tolvan::msg
