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

}  // namespace

std::string Utf8ToCp932(const std::string& utf8) { return FromWide(kJapanese, ToWide(CP_UTF8, utf8)); }
std::string Cp932ToUtf8(const std::string& cp932) { return FromWide(CP_UTF8, ToWide(kJapanese, cp932)); }

std::u16string Utf8ToUtf16(const std::string& utf8) {
  std::wstring wide = ToWide(CP_UTF8, utf8);
  return std::u16string(wide.begin(), wide.end());
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
  return FromWide(CP_UTF8, std::wstring(utf16.begin(), utf16.end()));
}

}  // namespace vorn
