#pragma once
// The one place where text leaves UTF-8: code page 932 (Shift-JIS) and UTF-16.
#include <string>

namespace vorn {

// Characters that code page 932 cannot hold become "?", one for each character (also beyond
// the Basic Multilingual Plane), on both builds.
std::string Utf8ToCp932(const std::string& utf8);
// Bytes that are not valid code page 932 become U+FFFD; never fails.
std::string Cp932ToUtf8(const std::string& cp932);
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);

}  // namespace vorn
