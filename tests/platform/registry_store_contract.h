#pragma once
// The cases every RegistryStore must pass, simulated or real. Each instantiation supplies a
// factory for a store and a scratch key under HKEY_CURRENT_USER that the cases may fill.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

#include "platform/registry_store.h"

namespace vorn {

inline void PrintTo(const RegValue& value, std::ostream* out) {
  *out << "type " << value.type << " [";
  for (uint8_t byte : value.data) *out << ' ' << static_cast<int>(byte);
  *out << " ]";
}
inline void PrintTo(const RegNamedValue& value, std::ostream* out) {
  *out << '"' << value.name << "\" ";
  PrintTo(value.value, out);
}

struct RegistryStoreUnderTest {
  std::function<std::unique_ptr<RegistryStore>()> make;
  std::string scratchKey;  // removed before and after every case
};

inline void PrintTo(const RegistryStoreUnderTest& store, std::ostream* out) { *out << store.scratchKey; }

class RegistryStoreContract : public ::testing::TestWithParam<RegistryStoreUnderTest> {
 protected:
  void SetUp() override {
    store = GetParam().make();
    base = GetParam().scratchKey;
    store->DeleteKeyTree(RegRoot::CurrentUser, base);
  }
  void TearDown() override { store->DeleteKeyTree(RegRoot::CurrentUser, base); }
  std::string Key(const std::string& rest) const { return base + "\\" + rest; }

  std::unique_ptr<RegistryStore> store;
  std::string base;
};

}  // namespace vorn
