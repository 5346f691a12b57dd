#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/number_text.h"

namespace parvolin::fuzz {

// The separators the targets run with: one byte, another byte, and a
// multi-byte one (U+066B ARABIC DECIMAL SEPARATOR).
inline NumberLocale consumeLocale(FuzzedDataProvider& input) {
    static const char* const separators[] = {".", ",", "\xD9\xAB"};
    return NumberLocale{separators[input.ConsumeIntegralInRange<int>(0, 2)]};
}

// Stops the run with a message; libFuzzer saves the input that did it.
[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "property violated: %s\n", what.c_str());
    std::abort();
}

inline void require(bool condition, const std::string& what) {
    if (!condition) fail(what);
}

}  // namespace parvolin::fuzz
