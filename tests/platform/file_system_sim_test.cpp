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

std::filesystem::path HostPath(const std::string& windowsPath) {
  return SimFileSystem(HostRootPath()).HostPath(windowsPath);
}

bool MakeHostLink(const std::string& link, const std::string& target) {
  std::error_code ec;
  std::filesystem::create_symlink(HostPath(target), HostPath(link), ec);
  return !ec;
}

void RemoveHostLink(const std::string& link) {
  std::error_code ec;
  std::filesystem::remove(HostPath(link), ec);
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Simulated, FileSystemContract,
                         ::testing::Values(FileSystemUnderTest{
                             [] { return std::make_unique<SimFileSystem>(HostRootPath()); },
                             [] { return std::string("C:\\VornFsContract"); }, MakeHostLink, RemoveHostLink}),
                         [](const auto&) { return std::string("Sim"); });

}  // namespace vorn
