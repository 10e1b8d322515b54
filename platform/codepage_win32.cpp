#include <windows.h>

#include "platform/codepage.h"

namespace vorn {
namespace {

constexpr UINT kJapanese = 932;

std::wstring ToWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string FromWide(UINT codePage, const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Code page 932 text as UTF-16. A byte sequence that is no character of the code page becomes
// U+FFFD and the conversion goes on with the next byte, so that both builds read damaged text alike.
std::wstring Cp932ToWide(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  int n = MultiByteToWideChar(kJapanese, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (n > 0) {
    std::wstring out(n, L'\0');
    MultiByteToWideChar(kJapanese, MB_ERR_INVALID_CHARS, text.data(), size, out.data(), n);
    return out;
  }
  std::wstring out;
  for (size_t at = 0; at < text.size();) {
    const size_t length = IsDBCSLeadByteEx(kJapanese, static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
    wchar_t character[2];
    n = MultiByteToWideChar(kJapanese, MB_ERR_INVALID_CHARS, text.data() + at, static_cast<int>(length), character, 2);
    if (n > 0) {
      out.append(character, n);
      at += length;
    } else {
      out += L'\xFFFD';
      ++at;
    }
  }
  return out;
}

// A character beyond the Basic Multilingual Plane is one character, though UTF-16 holds it in
// two units; as U+FFFD it becomes a single "?" in code page 932.
std::wstring WithoutSurrogatePairs(std::wstring text) {
  for (size_t at = 0; at + 1 < text.size(); ++at)
    if (IS_HIGH_SURROGATE(text[at]) && IS_LOW_SURROGATE(text[at + 1])) text.replace(at, 2, 1, L'\xFFFD');
  return text;
}

}  // namespace

std::string Utf8ToCp932(const std::string& utf8) {
  return FromWide(kJapanese, WithoutSurrogatePairs(ToWide(CP_UTF8, utf8)));
}
std::string Cp932ToUtf8(const std::string& cp932) { return FromWide(CP_UTF8, Cp932ToWide(cp932)); }

std::u16string Utf8ToUtf16(const std::string& utf8) {
  std::wstring wide = ToWide(CP_UTF8, utf8);
  return std::u16string(wide.begin(), wide.end());
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
  return FromWide(CP_UTF8, std::wstring(utf16.begin(), utf16.end()));
}

}  // namespace vorn
