#include "platform/sim/sim_registry_store.h"
#include "tests/platform/registry_store_contract.h"

namespace vorn {

INSTANTIATE_TEST_SUITE_P(Simulated, RegistryStoreContract,
                         ::testing::Values(RegistryStoreUnderTest{
                             [] { return std::make_unique<SimRegistryStore>(); }, "Software\\VornContract"}),
                         [](const auto&) { return std::string("Sim"); });

}  // namespace vorn
