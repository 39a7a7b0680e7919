#include "mail_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tolvan::test {

namespace {

constexpr char kMailKey[] = "Software\\Clients\\Mail";

struct Value {
    std::string name;
    DWORD type = 0;
    std::vector<BYTE> data;
};

struct Key {
    std::string name;
    bool hasDefault = false;
    std::vector<Value> values;
    std::vector<Key> children;
};

bool Read(HKEY parent, const std::string& name, Key& out) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    out.name = name;
    for (DWORD i = 0;; ++i) {
        char valueName[16384];
        DWORD nameSize = sizeof valueName, type = 0, dataSize = 0;
        if (::RegEnumValueA(key, i, valueName, &nameSize, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS)
            break;
        Value v{std::string(valueName, nameSize), type, std::vector<BYTE>(dataSize)};
        nameSize = sizeof valueName;
        ::RegEnumValueA(key, i, valueName, &nameSize, nullptr, &type, v.data.data(), &dataSize);
        out.values.push_back(std::move(v));
    }
    for (DWORD i = 0;; ++i) {
        char child[256];
        if (::RegEnumKeyA(key, i, child, sizeof child) != ERROR_SUCCESS)
            break;
        Key k;
        if (Read(key, child, k))
            out.children.push_back(std::move(k));
    }
    ::RegCloseKey(key);
    return true;
}

void Write(HKEY parent, const Key& saved) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(parent, saved.name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const Value& v : saved.values)
        ::RegSetValueExA(key, v.name.empty() ? nullptr : v.name.c_str(), 0, v.type, v.data.data(),
                         static_cast<DWORD>(v.data.size()));
    for (const Key& child : saved.children)
        Write(key, child);
    ::RegCloseKey(key);
}

void SetString(const std::string& path, const char* value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    if (value)
        ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>(std::strlen(value) + 1));
    ::RegCloseKey(key);
}

} // namespace

struct MailRegistry::Saved {
    bool existed = false;
    Key key;
};

MailRegistry::MailRegistry() : m_saved(std::make_unique<Saved>()) {
    m_saved->existed = Read(HKEY_LOCAL_MACHINE, kMailKey, m_saved->key);
    Clear();
}

MailRegistry::~MailRegistry() {
    Remove();
    if (m_saved->existed)
        Write(HKEY_LOCAL_MACHINE, m_saved->key);
}

void MailRegistry::Remove() {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMailKey);
}

void MailRegistry::Clear() {
    Remove();
    SetString(kMailKey, nullptr);
}

void MailRegistry::AddClient(const std::string& name, bool withOpenCommand) {
    const std::string client = std::string(kMailKey) + "\\" + name;
    SetString(client, name.c_str());
    SetString(client + (withOpenCommand ? "\\shell\\open\\command" : "\\shell"),
              withOpenCommand ? "C:\\windows\\notepad.exe" : nullptr);
}

void MailRegistry::SetDefault(const std::string& name) {
    SetString(kMailKey, name.c_str());
}

} // namespace tolvan::test
