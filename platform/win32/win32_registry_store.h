#pragma once
// The real registry through the ANSI registry functions: names go out in code page 932 and
// value data is handed through as the A functions store and return it.
#include "platform/registry_store.h"

namespace vorn {

class Win32RegistryStore : public RegistryStore {
 public:
  bool KeyExists(RegRoot root, const std::string& keyPath) const override;
  std::optional<RegValue> ReadValue(RegRoot root, const std::string& keyPath,
                                    const std::string& valueName) const override;
  bool WriteValue(RegRoot root, const std::string& keyPath, const std::string& valueName,
                  const RegValue& value) override;
  bool DeleteValue(RegRoot root, const std::string& keyPath, const std::string& valueName) override;
  bool CreateKey(RegRoot root, const std::string& keyPath) override;
  bool DeleteKeyTree(RegRoot root, const std::string& keyPath) override;
  std::optional<std::vector<std::string>> EnumSubkeys(RegRoot root, const std::string& keyPath) const override;
  std::optional<std::vector<RegNamedValue>> EnumValues(RegRoot root, const std::string& keyPath) const override;
};

}  // namespace vorn
