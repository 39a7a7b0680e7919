// The mail programs the Email job can hand a scan to, and how Windows tells which are installed: each
// registers a subkey under HKEY_LOCAL_MACHINE's mail-client key (string IDS_MAIL_CLIENTS_KEY) with an open
// command, and the key's default value names the system's default mail program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

struct MailClient {
    std::string_view name; // the registry subkey name, compared without regard to case
    uint16_t apId;         // the application id of its application-info entry
};

inline constexpr MailClient kMailClients[] = {
    {"Outlook express", 4005},
    {"MicroSoft Outlook", 4006},
    {"Windows Mail", 4007},
};

// Where each client's open command is looked up: the same key as IDS_MAIL_CLIENTS_KEY names.
inline constexpr char kMailClientsPrefix[] = "Software\\clients\\mail\\";

// Null when the name is none of the three.
const MailClient* FindMailClient(std::string_view name);
bool IsMailClientId(uint16_t apId);

// The recognised clients that have an open command, spelled as in the registry, in the registry's order.
// False when the mail-client key cannot be opened.
bool ListMailClients(std::vector<std::string>& names);

// The default mail client's name (empty when the key has no default value that fits 256 bytes). False when
// the mail-client key cannot be opened.
bool ReadDefaultMailClient(std::string& name);

} // namespace tolvan
