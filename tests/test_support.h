#pragma once

#include <bit>
#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace parvolin::test {

// Doubles are compared bit for bit: the sign of zero and the last bit count.
inline std::uint64_t bitsOf(double value) { return std::bit_cast<std::uint64_t>(value); }

// Rows print as their names in failure messages; bring this in with
// `using test::PrintTo;` next to the rows so that GoogleTest finds it.
template <typename Row>
requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

// Row names become part of GoogleTest's test names, which take letters,
// digits and underscores only: anything else becomes an underscore.
template <typename Row>
std::string rowName(const testing::TestParamInfo<Row>& info) {
    std::string name(info.param.name);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

}  // namespace parvolin::test
