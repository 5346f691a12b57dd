#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace parvolin {

// The program's one UTF-8 decoder (Windows' texts are converted by Windows
// itself, Qt's by Qt).

// One character read from the front of a UTF-8 text.
struct Utf8Character {
    std::int32_t codePoint;  // -1 for a byte that begins no valid sequence
    std::size_t length;      // the bytes it takes; 1 for an invalid byte
};

// Decodes the character at the front of a non-empty `text`. Overlong forms,
// encoded surrogates, code points beyond U+10FFFF and truncated sequences are
// invalid: each of their bytes reads as one invalid character.
Utf8Character decodeUtf8(std::string_view text);

}  // namespace parvolin
