// The service contracts against the Win32 services, run under Wine.
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_archiver.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/windows_api.h"
#include "tests/platform/file_system_contract.h"
#include "tests/platform/service_contracts.h"
#include "tests/platform/wine_links.h"

namespace vorn {
namespace {

std::string ScratchFolder() {
  wchar_t temp[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, temp);
  return Narrow(std::wstring(temp, n)) + "VornContract";
}

const FileSystemUnderTest kWin32Files{[] { return std::make_unique<Win32FileSystem>(); }, ScratchFolder, MakeWineLink,
                                      RemoveWineLink};

const auto Name = [](const auto&) { return std::string("Win32"); };

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values(FileSystemContractCase{kWin32Files}), Name);

// Unattended, as the contract's copies must not ask before replacing a file.
INSTANTIATE_TEST_SUITE_P(Win32, ShellContract,
                         ::testing::Values(ShellUnderTest{kWin32Files,
                                                          [](FileSystem&) { return std::make_unique<Win32Shell>(true); }}),
                         Name);

// This test program carries the version resource of test_version.rc.
INSTANTIATE_TEST_SUITE_P(Win32, EnvironmentContract,
                         ::testing::Values(EnvironmentUnderTest{
                             kWin32Files, [](FileSystem&) { return std::make_unique<Win32Environment>(); },
                             [](Environment&, const std::string& name, const std::string& value) {
                               SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
                             },
                             "platform_win32_tests.exe", FileVersion{6, 0, 2900, 5512}}),
                         Name);

INSTANTIATE_TEST_SUITE_P(Win32, ProcessesContract,
                         ::testing::Values(ProcessesUnderTest{[] { return std::make_unique<Win32Processes>(); },
                                                              "platform_win32_tests.exe"}),
                         Name);

// The archiver library unlha32.dll, copied next to this program, on real files.
INSTANTIATE_TEST_SUITE_P(Win32, ArchiverContract,
                         ::testing::Values(ArchiverUnderTest{
                             kWin32Files, [](FileSystem&) { return std::make_unique<Win32Archiver>(); }}),
                         Name);

}  // namespace vorn
