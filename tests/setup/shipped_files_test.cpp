// The shipped files as the file browser and the installer see them: each carries Vorn's version
// in a Japanese version resource that names the file, and vorn.exe carries Vorn's icon.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace vorn {
namespace {

// A file of the build, as Wine sees its host path. VORN_SHIPPED_BUILD names another build folder
// of the same version whose files are read instead: the 32-bit build's on a machine that cannot
// run its test.
std::wstring BuildFile(std::string path) {
  const char* other = std::getenv("VORN_SHIPPED_BUILD");
  if (other && *other) path = other + path.substr(std::string(VORN_BUILD_DIR).size());
  for (char& c : path)
    if (c == '/') c = '\\';
  return Wide("Z:" + path);
}

std::string VersionString(const std::vector<char>& info, const std::string& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = Wide("\\StringFileInfo\\041104B0\\" + name);
  if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || length == 0) return "";
  return NarrowZ(static_cast<const wchar_t*>(value));
}

TEST(ShippedFilesTest, EachCarriesVornsVersionAndItsOwnName) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {VORN_EXE, "vorn.exe"}, {VORN_CLI_EXE, "vorn-cli.exe"}, {UNLHA32_DLL, "unlha32.dll"}};
  for (const auto& [path, name] : files) {
    SCOPED_TRACE(name);
    const std::wstring file = BuildFile(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(VORN_VERSION_MINOR, VORN_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(VORN_VERSION_TWEAK, VORN_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(name.ends_with(".dll") ? VFT_DLL : VFT_APP));
    EXPECT_EQ(VersionString(info, "OriginalFilename"), name);
    EXPECT_EQ(VersionString(info, "FileVersion"), VORN_VERSION);
    EXPECT_EQ(VersionString(info, "ProductName"), "Vorn");
    EXPECT_NE(VersionString(info, "FileDescription").find("Vorn"), std::string::npos);
  }
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(ShippedFilesTest, VornExeCarriesItsIconInThreeSizesForOldAndNewDisplays) {
  HMODULE program = LoadLibraryExW(BuildFile(VORN_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* header = static_cast<const WORD*>(LockResource(LoadResource(program, group)));
  ASSERT_NE(header, nullptr);
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 3);
  std::set<std::pair<int, int>> sizes;
  for (int i = 0; i < header[2]; ++i) sizes.insert({entries[i].width, entries[i].bitCount});
  EXPECT_EQ(sizes, (std::set<std::pair<int, int>>{{16, 4}, {16, 32}, {32, 4}, {32, 32}, {48, 4}, {48, 32}}));
  FreeLibrary(program);
}

}  // namespace
}  // namespace vorn
