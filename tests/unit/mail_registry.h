// The mail-client key of HKEY_LOCAL_MACHINE as a test lays it out. The prefix's own key (Wine registers a mail
// client of its own) is kept aside and put back when the object goes, whatever the test did to it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace tolvan::test {

class MailRegistry {
public:
    MailRegistry();
    ~MailRegistry();
    MailRegistry(const MailRegistry&) = delete;
    MailRegistry& operator=(const MailRegistry&) = delete;

    // An empty mail-client key.
    void Clear();
    // Removes the mail-client key itself.
    void Remove();
    // A client subkey; with an open command, or with only its "shell" key.
    void AddClient(const std::string& name, bool withOpenCommand = true);
    // The key's default value, the system's default mail client.
    void SetDefault(const std::string& name);

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;
};

} // namespace tolvan::test
