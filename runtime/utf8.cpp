#include "runtime/utf8.h"

namespace parvolin {

Utf8Character decodeUtf8(std::string_view text) {
    constexpr Utf8Character kInvalid{-1, 1};
    const auto lead = static_cast<unsigned char>(text[0]);
    // 0x80-0xC1 (continuations, overlong two-byte leads) and 0xF5-0xFF lead nothing.
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) return kInvalid;
    std::int32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return kInvalid;
        value = (value << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (overlong || surrogate || value > 0x10FFFF) return kInvalid;
    return {value, length};
}

}  // namespace parvolin
