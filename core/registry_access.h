#pragma once
// The five registry operations everything else goes through. They never fail loudly:
// a failed read is status 99 with an empty text, a failed write or delete is false.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/registry_store.h"

namespace vorn {

constexpr int32_t kRegNoValue = 99;

struct RegReadResult {
  int32_t status = kRegNoValue;  // 99 or the type code of the value read
  // Text for string types and binary (as hex-byte text), a number for DWORDs, raw bytes otherwise.
  std::variant<std::string, int32_t, std::vector<uint8_t>> value = std::string();
  // The value as a text variable holds it: a DWORD as its decimal text.
  std::string Text() const;
};

// What RegWriteValue stores depends on the kind of value given.
using RegWriteData = std::variant<std::string, int16_t, int32_t, bool, std::vector<uint8_t>>;

std::string TrimAtNul(const std::string& text);

class RegistryAccess {
 public:
  explicit RegistryAccess(RegistryStore& store) : store_(store) {}

  RegReadResult RegReadValue(RegRoot root, const std::string& keyPath, const std::string& valueName) const;
  // The text form of a read, cut at its first NUL: what most callers want.
  std::string RegReadText(RegRoot root, const std::string& keyPath, const std::string& valueName) const;
  bool RegWriteValue(RegRoot root, const std::string& keyPath, const std::string& valueName,
                     const RegWriteData& value);
  bool RegDeleteValue(RegRoot root, const std::string& keyPath, const std::string& valueName);
  std::vector<std::string> RegEnumSubkeys(RegRoot root, const std::string& keyPath) const;
  // The key's value names in the order the registry lists them; nullopt when the key cannot be opened.
  std::optional<std::vector<std::string>> RegEnumValueNames(RegRoot root, const std::string& keyPath) const;
  // Deletes the key with all its subkeys and values; false when it does not exist or stays.
  bool RegDeleteKeyTree(RegRoot root, const std::string& keyPath);

  // While on, texts are written as REG_MULTI_SZ (the signature rewriting uses it).
  void SetMultiStringMode(bool on) { multiStringMode_ = on; }
  bool MultiStringMode() const { return multiStringMode_; }

  RegistryStore& Store() { return store_; }

 private:
  RegistryStore& store_;
  bool multiStringMode_ = false;
};

}  // namespace vorn
