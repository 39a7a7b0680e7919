// How a fuzz target stops on a promise that the code under test broke: a message libFuzzer keeps with the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace tolvan {

inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

} // namespace tolvan
