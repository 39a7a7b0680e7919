// The language the translation module is to use, asked for through TOLVAN_LANGUAGE, which the module reads in
// PowerOn; the request ends with the object, and the module then follows the user's language again.
#pragma once

#include <windows.h>

namespace tolvan::test {

class LanguageRequest {
public:
    explicit LanguageRequest(const char* code) { ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", code); }
    ~LanguageRequest() { ::SetEnvironmentVariableA("TOLVAN_LANGUAGE", nullptr); }
    LanguageRequest(const LanguageRequest&) = delete;
    LanguageRequest& operator=(const LanguageRequest&) = delete;
};

} // namespace tolvan::test
