#pragma once
// Small text helpers shared by every layer: ASCII case and double quotes.
#include <string>
#include <string_view>

namespace vorn {

// The text with ASCII letters in lower case; other bytes (UTF-8 sequences included) unchanged.
std::string AsciiLower(std::string_view text);
// True when both texts are the same but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// The text between double quotes, as command lines and .reg files write a name or a path.
std::string Quoted(std::string_view text);

}  // namespace vorn
