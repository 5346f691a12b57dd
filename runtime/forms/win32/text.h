#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace parvolin::win32 {

// UTF-16, as Windows holds texts, to UTF-8, as the program holds them. A lone
// surrogate (a box can hold one: it can be pasted) becomes U+FFFD, so that no
// text can turn into invalid UTF-8 or a wrong number.
std::string toUtf8(std::wstring_view text);

// UTF-8 to UTF-16; an invalid sequence becomes U+FFFD.
std::wstring toUtf16(std::string_view text);

// A window's text: a caption, or the text of a box.
std::wstring windowText(HWND window);

}  // namespace parvolin::win32
