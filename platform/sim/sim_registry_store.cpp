#include "platform/sim/sim_registry_store.h"

#include <algorithm>

#include "platform/registry_path.h"

namespace vorn {

struct SimRegistryStore::Key {
  std::string name;
  std::vector<std::unique_ptr<Key>> subkeys;  // kept in enumeration order
  std::vector<RegNamedValue> values;          // in creation order

  Key* Child(const std::string& childName) const {
    for (const auto& k : subkeys)
      if (RegNameEquals(k->name, childName)) return k.get();
    return nullptr;
  }
  Key* AddChild(const std::string& childName) {
    auto key = std::make_unique<Key>();
    key->name = childName;
    auto at = std::find_if(subkeys.begin(), subkeys.end(),
                           [&](const auto& k) { return RegNameLess(childName, k->name); });
    return subkeys.insert(at, std::move(key))->get();
  }
  RegNamedValue* Value(const std::string& valueName) {
    for (auto& v : values)
      if (RegNameEquals(v.name, valueName)) return &v;
    return nullptr;
  }
};

SimRegistryStore::SimRegistryStore() : currentUser_(std::make_unique<Key>()), localMachine_(std::make_unique<Key>()) {}
SimRegistryStore::~SimRegistryStore() = default;

SimRegistryStore::Key* SimRegistryStore::Find(RegRoot root, const std::string& keyPath) const {
  Key* key = root == RegRoot::CurrentUser ? currentUser_.get() : localMachine_.get();
  for (const auto& part : SplitKeyPath(keyPath)) {
    key = key->Child(part);
    if (!key) return nullptr;
  }
  return key;
}

SimRegistryStore::Key* SimRegistryStore::FindOrCreate(RegRoot root, const std::string& keyPath) {
  Key* key = root == RegRoot::CurrentUser ? currentUser_.get() : localMachine_.get();
  for (const auto& part : SplitKeyPath(keyPath)) {
    Key* child = key->Child(part);
    key = child ? child : key->AddChild(part);
  }
  return key;
}

bool SimRegistryStore::WriteDenied(RegRoot root, const std::string& keyPath) const {
  for (const auto& [deniedRoot, deniedPath] : denied_)
    if (deniedRoot == root && KeyPathIsWithin(keyPath, deniedPath)) return true;
  return false;
}

bool SimRegistryStore::KeyExists(RegRoot root, const std::string& keyPath) const {
  return Find(root, keyPath) != nullptr;
}

std::optional<RegValue> SimRegistryStore::ReadValue(RegRoot root, const std::string& keyPath,
                                                    const std::string& valueName) const {
  Key* key = Find(root, keyPath);
  if (!key) return std::nullopt;
  RegNamedValue* value = key->Value(valueName);
  if (!value) return std::nullopt;
  return value->value;
}

bool SimRegistryStore::WriteValue(RegRoot root, const std::string& keyPath, const std::string& valueName,
                                  const RegValue& value) {
  if (!IsValidKeyPath(keyPath) || WriteDenied(root, keyPath)) return false;
  Key* key = FindOrCreate(root, keyPath);
  if (RegNamedValue* existing = key->Value(valueName)) {
    existing->value = value;
  } else {
    key->values.push_back({valueName, value});
  }
  return true;
}

bool SimRegistryStore::DeleteValue(RegRoot root, const std::string& keyPath, const std::string& valueName) {
  Key* key = Find(root, keyPath);
  if (!key || WriteDenied(root, keyPath)) return false;
  auto at = std::find_if(key->values.begin(), key->values.end(),
                         [&](const RegNamedValue& v) { return RegNameEquals(v.name, valueName); });
  if (at == key->values.end()) return false;
  key->values.erase(at);
  return true;
}

bool SimRegistryStore::CreateKey(RegRoot root, const std::string& keyPath) {
  if (!IsValidKeyPath(keyPath) || WriteDenied(root, keyPath)) return false;
  FindOrCreate(root, keyPath);
  return true;
}

bool SimRegistryStore::DeleteKeyTree(RegRoot root, const std::string& keyPath) {
  auto parts = SplitKeyPath(keyPath);
  if (parts.empty() || WriteDenied(root, keyPath)) return false;
  std::string leaf = parts.back();
  parts.pop_back();
  Key* parent = Find(root, JoinKeyPath(parts));
  if (!parent) return false;
  auto at = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                         [&](const auto& k) { return RegNameEquals(k->name, leaf); });
  if (at == parent->subkeys.end()) return false;
  parent->subkeys.erase(at);
  return true;
}

std::optional<std::vector<std::string>> SimRegistryStore::EnumSubkeys(RegRoot root, const std::string& keyPath) const {
  Key* key = Find(root, keyPath);
  if (!key) return std::nullopt;
  std::vector<std::string> names;
  for (const auto& k : key->subkeys) names.push_back(k->name);
  return names;
}

std::optional<std::vector<RegNamedValue>> SimRegistryStore::EnumValues(RegRoot root,
                                                                       const std::string& keyPath) const {
  Key* key = Find(root, keyPath);
  if (!key) return std::nullopt;
  return key->values;
}

void SimRegistryStore::DenyWrites(RegRoot root, const std::string& keyPath) { denied_.emplace_back(root, keyPath); }

}  // namespace vorn
