#include "core/registry_access.h"

#include <cstdio>

#include "platform/codepage.h"

namespace vorn {
namespace {

constexpr size_t kReadBufferBytes = 1024;

std::string HexByteText(const std::vector<uint8_t>& bytes) {
  std::string text;
  char pair[4];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02X ", b);
    text += pair;
  }
  return text;
}

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& utf8, size_t count) {
  size_t at = 0;
  for (size_t n = 0; n < count && at < utf8.size(); ++n) {
    ++at;
    while (at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80) ++at;
  }
  return utf8.substr(0, at);
}

// The stored bytes as text, cut to (byte count - 1) characters: with double-byte characters
// that keeps trailing NULs, which TrimAtNul removes. Data stored without its terminating NUL
// by another program keeps its last character.
std::string StringValueText(const std::vector<uint8_t>& data) {
  std::string text = Cp932ToUtf8(std::string(data.begin(), data.end()));
  if (data.empty() || data.back() != 0) return text;
  return FirstCharacters(text, data.size() - 1);
}

int32_t LittleEndian32(const std::vector<uint8_t>& d) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4 && i < d.size(); ++i) v |= static_cast<uint32_t>(d[i]) << (8 * i);
  return static_cast<int32_t>(v);
}

int32_t BigEndian32(const std::vector<uint8_t>& d) {
  uint32_t v = 0;
  for (size_t i = 0; i < d.size() && i < 4; ++i) v = (v << 8) | d[i];
  return static_cast<int32_t>(v);
}

std::vector<uint8_t> Dword(int32_t value) {
  auto v = static_cast<uint32_t>(value);
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

}  // namespace

std::string RegReadResult::Text() const {
  if (auto* text = std::get_if<std::string>(&value)) return *text;
  if (auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
  const auto& bytes = std::get<std::vector<uint8_t>>(value);
  return std::string(bytes.begin(), bytes.end());
}

std::string TrimAtNul(const std::string& text) {
  size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

RegReadResult RegistryAccess::RegReadValue(RegRoot root, const std::string& keyPath,
                                           const std::string& valueName) const {
  auto stored = store_.ReadValue(root, keyPath, valueName);
  if (!stored || stored->data.size() > kReadBufferBytes) return {};
  RegReadResult result;
  result.status = static_cast<int32_t>(stored->type);
  switch (stored->type) {
    case regtype::kSz:
    case regtype::kExpandSz:
    case regtype::kMultiSz:
      result.value = StringValueText(stored->data);
      break;
    case regtype::kBinary:
    case regtype::kFullResourceDescriptor:
      result.value = HexByteText(stored->data);
      break;
    case regtype::kDword:
      result.value = LittleEndian32(stored->data);
      break;
    case regtype::kDwordBigEndian:
      result.value = BigEndian32(stored->data);
      break;
    default: {
      std::vector<uint8_t> buffer(kReadBufferBytes, 0);
      std::copy(stored->data.begin(), stored->data.end(), buffer.begin());
      result.value = buffer;
    }
  }
  return result;
}

std::string RegistryAccess::RegReadText(RegRoot root, const std::string& keyPath,
                                        const std::string& valueName) const {
  return TrimAtNul(RegReadValue(root, keyPath, valueName).Text());
}

bool RegistryAccess::RegWriteValue(RegRoot root, const std::string& keyPath, const std::string& valueName,
                                   const RegWriteData& value) {
  RegValue stored;
  if (auto* text = std::get_if<std::string>(&value)) {
    // The terminating NUL is stored with the text, as the registry functions require; without
    // it the read rule above would cut the last character of every text written here.
    std::string ansi = Utf8ToCp932(*text);
    stored.type = multiStringMode_ ? regtype::kMultiSz : regtype::kSz;
    stored.data.assign(ansi.begin(), ansi.end());
    stored.data.push_back(0);
  } else if (auto* bytes = std::get_if<std::vector<uint8_t>>(&value)) {
    stored = {regtype::kBinary, *bytes};
  } else if (auto* flag = std::get_if<bool>(&value)) {
    stored = {regtype::kDword, Dword(*flag ? -1 : 0)};
  } else if (auto* small = std::get_if<int16_t>(&value)) {
    stored = {regtype::kDword, Dword(*small)};
  } else {
    stored = {regtype::kDword, Dword(std::get<int32_t>(value))};
  }
  return store_.WriteValue(root, keyPath, valueName, stored);
}

bool RegistryAccess::RegDeleteValue(RegRoot root, const std::string& keyPath, const std::string& valueName) {
  return store_.DeleteValue(root, keyPath, valueName);
}

std::vector<std::string> RegistryAccess::RegEnumSubkeys(RegRoot root, const std::string& keyPath) const {
  std::vector<std::string> names = store_.EnumSubkeys(root, keyPath).value_or(std::vector<std::string>{});
  for (auto& name : names) name = TrimAtNul(name);
  return names;
}

std::optional<std::vector<std::string>> RegistryAccess::RegEnumValueNames(RegRoot root,
                                                                          const std::string& keyPath) const {
  auto values = store_.EnumValues(root, keyPath);
  if (!values) return std::nullopt;
  std::vector<std::string> names;
  names.reserve(values->size());
  for (const auto& value : *values) names.push_back(value.name);
  return names;
}

bool RegistryAccess::RegDeleteKeyTree(RegRoot root, const std::string& keyPath) {
  return store_.DeleteKeyTree(root, keyPath);
}

}  // namespace vorn
