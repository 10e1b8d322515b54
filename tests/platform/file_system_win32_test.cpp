#include "platform/win32/win32_file_system.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "tests/platform/file_system_contract.h"
#include "tests/platform/wine_links.h"

namespace vorn {
namespace {

std::string ScratchFolder() {
  wchar_t temp[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, temp);
  return Narrow(std::wstring(temp, n)) + "VornFsContract";
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract,
                         ::testing::Values(FileSystemUnderTest{[] { return std::make_unique<Win32FileSystem>(); },
                                                               ScratchFolder, MakeWineLink, RemoveWineLink}),
                         [](const auto&) { return std::string("Files"); });

}  // namespace vorn
