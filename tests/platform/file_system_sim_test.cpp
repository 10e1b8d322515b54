#include <unistd.h>

#include <filesystem>

#include "platform/sim/sim_file_system.h"
#include "tests/platform/file_system_contract.h"

namespace vorn {
namespace {

// One host folder per process, so parallel test processes never share files.
struct HostRoot {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vorn-fs-contract-" + std::to_string(getpid()));
  HostRoot() { std::filesystem::create_directories(path / "C"); }
  ~HostRoot() { std::filesystem::remove_all(path); }
};

const std::filesystem::path& HostRootPath() {
  static const HostRoot root;
  return root.path;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Simulated, FileSystemContract,
                         ::testing::Values(FileSystemUnderTest{
                             [] { return std::make_unique<SimFileSystem>(HostRootPath()); },
                             [] { return std::string("C:\\VornFsContract"); }}),
                         [](const auto&) { return std::string("Sim"); });

}  // namespace vorn
