#pragma once
// In-memory registry: a tree of keys with typed values. Names compare without regard to
// ASCII case; subkeys enumerate in upper-case name order and values in creation order,
// as the NT registry does.
#include <map>
#include <memory>

#include "platform/registry_store.h"

namespace vorn {

class SimRegistryStore : public RegistryStore {
 public:
  SimRegistryStore();
  ~SimRegistryStore() override;

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

  // Test helper: makes every write and delete below keyPath fail, as a key without write access does.
  void DenyWrites(RegRoot root, const std::string& keyPath);

 private:
  struct Key;
  Key* Find(RegRoot root, const std::string& keyPath) const;
  Key* FindOrCreate(RegRoot root, const std::string& keyPath);
  bool WriteDenied(RegRoot root, const std::string& keyPath) const;

  std::unique_ptr<Key> currentUser_;
  std::unique_ptr<Key> localMachine_;
  std::vector<std::pair<RegRoot, std::string>> denied_;
};

}  // namespace vorn
