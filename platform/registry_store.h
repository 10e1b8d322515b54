#pragma once
// Registry store: the registry as the ANSI registry functions see it.
// Key paths and value names are UTF-8 texts; value data is raw bytes, and
// string data (types 1, 2, 7) is code page 932 with its terminating NUL(s),
// exactly as RegQueryValueExA hands it out.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

enum class RegRoot { CurrentUser, LocalMachine };

namespace regtype {
constexpr uint32_t kNone = 0;
constexpr uint32_t kSz = 1;
constexpr uint32_t kExpandSz = 2;
constexpr uint32_t kBinary = 3;
constexpr uint32_t kDword = 4;
constexpr uint32_t kDwordBigEndian = 5;
constexpr uint32_t kMultiSz = 7;
constexpr uint32_t kFullResourceDescriptor = 9;
}  // namespace regtype

struct RegValue {
  uint32_t type = regtype::kNone;
  std::vector<uint8_t> data;
  bool operator==(const RegValue&) const = default;
};

struct RegNamedValue {
  std::string name;  // empty = the key's default value
  RegValue value;
  bool operator==(const RegNamedValue&) const = default;
};

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;
  virtual bool KeyExists(RegRoot root, const std::string& keyPath) const = 0;
  // nullopt when the key cannot be opened or the value does not exist.
  virtual std::optional<RegValue> ReadValue(RegRoot root, const std::string& keyPath,
                                            const std::string& valueName) const = 0;
  // Creates the key and every missing intermediate key first.
  virtual bool WriteValue(RegRoot root, const std::string& keyPath, const std::string& valueName,
                          const RegValue& value) = 0;
  virtual bool DeleteValue(RegRoot root, const std::string& keyPath, const std::string& valueName) = 0;
  virtual bool CreateKey(RegRoot root, const std::string& keyPath) = 0;
  // Deletes the key with all its subkeys; false when it does not exist.
  virtual bool DeleteKeyTree(RegRoot root, const std::string& keyPath) = 0;
  // Direct subkeys in the order the registry enumerates them; nullopt when the key cannot be opened.
  virtual std::optional<std::vector<std::string>> EnumSubkeys(RegRoot root, const std::string& keyPath) const = 0;
  // Values in the order the registry enumerates them; nullopt when the key cannot be opened.
  virtual std::optional<std::vector<RegNamedValue>> EnumValues(RegRoot root, const std::string& keyPath) const = 0;
};

}  // namespace vorn
