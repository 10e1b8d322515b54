#include "platform/win32/win32_registry_store.h"
#include "tests/platform/registry_store_contract.h"

namespace vorn {

INSTANTIATE_TEST_SUITE_P(Win32, RegistryStoreContract,
                         ::testing::Values(RegistryStoreUnderTest{
                             [] { return std::make_unique<Win32RegistryStore>(); }, "Software\\VornContract"}),
                         [](const auto&) { return std::string("Registry"); });

}  // namespace vorn
