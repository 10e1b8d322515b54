#pragma once
// UTF-8 <-> UTF-16 for the wide-character Windows functions.
#include <string>

#include "platform/codepage.h"

namespace vorn {

inline std::wstring Wide(const std::string& utf8) {
  std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

inline std::string Narrow(const std::wstring& wide) { return Utf16ToUtf8(std::u16string(wide.begin(), wide.end())); }

// The text of a fixed-size wide buffer up to its first NUL.
inline std::string NarrowZ(const wchar_t* buffer) { return Narrow(std::wstring(buffer)); }

}  // namespace vorn
