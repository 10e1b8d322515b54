#include "regedit/codec/reg_string_data.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/registry_store.h"

namespace vorn {
namespace {

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
std::vector<uint8_t> AsBytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Utf16LeBytes(const std::u16string& text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

std::u16string Utf16LeText(const std::vector<uint8_t>& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

}  // namespace

bool IsStringType(uint32_t type) {
  return type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz;
}

bool IsSingleString(const std::vector<uint8_t>& data) {
  auto nul = std::find(data.begin(), data.end(), 0);
  return std::all_of(nul, data.end(), [](uint8_t b) { return b == 0; });
}

std::string StoredStringText(const std::vector<uint8_t>& data) {
  auto nul = std::find(data.begin(), data.end(), 0);
  return Cp932ToUtf8(std::string(data.begin(), nul));
}

std::vector<uint8_t> StoredStringData(const std::string& utf8) {
  auto data = AsBytes(Utf8ToCp932(utf8));
  data.push_back(0);
  return data;
}

std::vector<uint8_t> StoredToFileBytes(const std::vector<uint8_t>& stored, RegDialect dialect) {
  if (dialect == RegDialect::Regedit4) return stored;
  return Utf16LeBytes(Utf8ToUtf16(Cp932ToUtf8(AsText(stored))));
}

std::vector<uint8_t> FileBytesToStored(const std::vector<uint8_t>& fileBytes, RegDialect dialect) {
  std::string utf8 = dialect == RegDialect::Regedit4 ? Cp932ToUtf8(AsText(fileBytes)) : Utf16ToUtf8(Utf16LeText(fileBytes));
  return AsBytes(Utf8ToCp932(utf8));
}

}  // namespace vorn
