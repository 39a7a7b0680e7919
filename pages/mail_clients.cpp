#include "pages/mail_clients.h"

#include "app/path_buffer.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "ui/unique_handle.h"

namespace tolvan {

namespace {

constexpr char kOpenCommand[] = "\\shell\\open\\command";
// Subkey names and the default value are read into buffers of this size.
constexpr DWORD kNameBytes = 256;

// A registry key path, not a text the user reads: it is never translated.
UniqueRegKey OpenMailClientsKey() {
    char path[kMaxPathBytes] = {};
    if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_MAIL_CLIENTS_KEY, path, sizeof path) <= 0)
        return UniqueRegKey();
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return UniqueRegKey();
    return UniqueRegKey(key);
}

bool HasOpenCommand(std::string_view name) {
    PathBuffer path;
    // A name too long for the path is none of the three anyway.
    if (!SetPath(path, kMailClientsPrefix) || !AppendPath(path, name) || !AppendPath(path, kOpenCommand))
        return false;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

} // namespace

const MailClient* FindMailClient(std::string_view name) {
    for (const MailClient& client : kMailClients)
        if (SameTextIgnoringCase(client.name, name))
            return &client;
    return nullptr;
}

bool IsMailClientId(uint16_t apId) {
    for (const MailClient& client : kMailClients)
        if (client.apId == apId)
            return true;
    return false;
}

bool ListMailClients(std::vector<std::string>& names) {
    const UniqueRegKey key = OpenMailClientsKey();
    if (!key)
        return false;
    names.clear();
    char name[kNameBytes];
    for (DWORD index = 0; ::RegEnumKeyA(key.Get(), index, name, sizeof name) == ERROR_SUCCESS; ++index) {
        const std::string_view found = ReadField(name);
        if (HasOpenCommand(found) && FindMailClient(found))
            names.emplace_back(found);
    }
    return true;
}

bool ReadDefaultMailClient(std::string& name) {
    const UniqueRegKey key = OpenMailClientsKey();
    if (!key)
        return false;
    name.clear();
    char value[kNameBytes] = {};
    DWORD type = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size <= sizeof value)
        name = ReadField(value, size); // a value stored without its terminator ends with the data
    return true;
}

} // namespace tolvan
