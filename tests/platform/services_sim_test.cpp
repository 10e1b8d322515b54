// The service contracts against the simulated platform.
#include <unistd.h>

#include <filesystem>

#include "platform/folder_path.h"
#include "platform/sim/sim_archiver.h"
#include "platform/sim/sim_environment.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_shell.h"
#include "tests/platform/file_system_contract.h"
#include "tests/platform/service_contracts.h"

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

const FileSystemUnderTest kSimFiles{[] { return std::make_unique<SimFileSystem>(HostRootPath()); },
                                    [] { return std::string("C:\\VornContract"); }, MakeHostLink, RemoveHostLink};

const auto Name = [](const auto&) { return std::string("Sim"); };

// A Windows XP machine whose program folder holds a program with a version resource.
std::unique_ptr<Environment> MakeEnvironment(FileSystem& files) {
  auto environment = std::make_unique<SimEnvironment>(files);
  environment->SetUpWindowsXp();
  const std::string program = environment->programFolder + "\\vorn.exe";
  CreateFolderPath(files, program);
  files.OpenWrite(program)->Close();
  environment->executableVersions[program] = {4, 0, 1, 2};
  return environment;
}

std::unique_ptr<Processes> MakeProcesses() {
  auto processes = std::make_unique<SimProcesses>();
  processes->running = {"explorer.exe", "vorn.exe"};
  processes->exitCodes = {{"cmd.exe /c exit 3", 3}, {"no-such-program-here.exe", std::nullopt}};
  return processes;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Simulated, FileSystemContract, ::testing::Values(FileSystemContractCase{kSimFiles}), Name);

INSTANTIATE_TEST_SUITE_P(Simulated, ShellContract,
                         ::testing::Values(ShellUnderTest{
                             kSimFiles, [](FileSystem& files) { return std::make_unique<SimShell>(files); }}),
                         Name);

INSTANTIATE_TEST_SUITE_P(Simulated, EnvironmentContract,
                         ::testing::Values(EnvironmentUnderTest{
                             kSimFiles, MakeEnvironment,
                             [](Environment& environment, const std::string& name, const std::string& value) {
                               static_cast<SimEnvironment&>(environment).variables[name] = value;
                             },
                             "vorn.exe", FileVersion{4, 0, 1, 2}}),
                         Name);

INSTANTIATE_TEST_SUITE_P(Simulated, ProcessesContract, ::testing::Values(ProcessesUnderTest{MakeProcesses, "vorn.exe"}),
                         Name);

INSTANTIATE_TEST_SUITE_P(Simulated, ArchiverContract,
                         ::testing::Values(ArchiverUnderTest{
                             kSimFiles, [](FileSystem& files) { return std::make_unique<SimArchiver>(files); }}),
                         Name);

}  // namespace vorn
