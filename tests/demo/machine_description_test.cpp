#include "demo/machine_description.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/codepage.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_registry_store.h"

namespace vorn::demo {
namespace {
namespace fs = std::filesystem;

std::string Variable(const std::string& name) {
  if (name == "UserProfile") return "C:\\Documents and Settings\\taro";
  if (name == "APPDATA") return "C:\\Documents and Settings\\taro\\Application Data";
  if (name == "USERNAME") return "taro";
  if (name == "ProgramFiles") return "C:\\Program Files";
  if (name == "SystemDrive") return "C:";
  if (name == "SystemRoot" || name == "Windir") return "C:\\WINDOWS";
  return "";
}

std::vector<uint8_t> Sz(const std::string& utf8) {
  std::string ansi = Utf8ToCp932(utf8);
  std::vector<uint8_t> bytes(ansi.begin(), ansi.end());
  bytes.push_back(0);
  return bytes;
}

TEST(MachineDescription, ParsesEveryKindOfStep) {
  auto machine = ParseMachineDescription(
      "# comment\n"
      "[HKLM\\Software\\X]\r\n"
      "@=\"${UserProfile}\\a \"quoted\"\"\n"
      "\"n 1\"=expand:\"%UserProfile%\\b\"\n"
      "\"d\"=dword:0000010a\n"
      "\"h\"=hex:01, 0a,ff\n"
      "\"g\"=guid:{00112233-4455-6677-8899-AABBCCDDEEFF}\n"
      "\"sig\"=lines:\"--|山田|\"\n"
      "folder C:\\F\n"
      "file C:\\F\\x.url\n"
      "| [InternetShortcut]\n"
      "|URL=${USERNAME}\n"
      "copy msimn.exe -> C:\\P\\msimn.exe\n",
      Variable);
  ASSERT_TRUE(machine.errors.empty()) << machine.errors[0];
  ASSERT_EQ(machine.steps.size(), 9u);
  auto value = [&](size_t i) { return std::get<RegistryWrite>(machine.steps[i]); };
  EXPECT_EQ(value(0).root, RegRoot::LocalMachine);
  EXPECT_EQ(value(0).keyPath, "Software\\X");
  EXPECT_EQ(value(0).valueName, "");
  EXPECT_EQ(value(0).value, (RegValue{regtype::kSz, Sz("C:\\Documents and Settings\\taro\\a \"quoted\"")}));
  EXPECT_EQ(value(1).valueName, "n 1");
  EXPECT_EQ(value(1).value, (RegValue{regtype::kExpandSz, Sz("%UserProfile%\\b")}));
  EXPECT_EQ(value(2).value, (RegValue{regtype::kDword, {0x0a, 0x01, 0, 0}}));
  EXPECT_EQ(value(3).value, (RegValue{regtype::kBinary, {0x01, 0x0a, 0xff}}));
  EXPECT_EQ(value(4).value, (RegValue{regtype::kBinary, {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99,
                                                         0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}}));
  EXPECT_EQ(value(5).value, (RegValue{regtype::kSz, Sz("--\r\n山田\r\n")}));
  EXPECT_EQ(std::get<FolderCreate>(machine.steps[6]).path, "C:\\F");
  auto file = std::get<TextFileWrite>(machine.steps[7]);
  EXPECT_EQ(file.path, "C:\\F\\x.url");
  EXPECT_EQ(file.lines, (std::vector<std::string>{"[InternetShortcut]", "URL=taro"}));
  auto copy = std::get<FileCopy>(machine.steps[8]);
  EXPECT_EQ(copy.sourceName, "msimn.exe");
  EXPECT_EQ(copy.targetPath, "C:\\P\\msimn.exe");
}

TEST(MachineDescription, ReportsEachBadLineByNumber) {
  auto machine = ParseMachineDescription(
      "\"v\"=\"value before any key\"\n"
      "[HKXX\\Software]\n"
      "[HKCU\\Software]\n"
      "\"d\"=dword:xyz\n"
      "\"g\"=guid:{not-a-guid}\n"
      "| content without a file\n"
      "unknown words\n"
      "\"ok\"=\"${unclosed\"\n",
      Variable);
  EXPECT_EQ(machine.errors,
            (std::vector<std::string>{"line 1: value outside a key", "line 2: unknown root HKXX",
                                      "line 4: bad value data", "line 5: bad value data",
                                      "line 6: content line outside a file", "line 7: not understood: unknown words",
                                      "line 8: unclosed ${"}));
}

TEST(MachineDescription, KeepsTaggedLinesToTheirFamilyWithTheContentOfTheirFiles) {
  const std::string text =
      "[HKCU\\K]\n"
      "nt: \"v\"=\"nt\"\n"
      "9x:   \"v\"=\"9x\"\n"
      "9x: file C:\\98.txt\n"
      "| only 98\n"
      "nt: copy C:\\W\\a.dll -> C:\\S\\a.dll\n"
      "folder C:\\Both\n";
  auto nt = ParseMachineDescription(text, Variable, MachineFamily::Nt);
  auto nine = ParseMachineDescription(text, Variable, MachineFamily::Windows9x);
  ASSERT_TRUE(nt.errors.empty()) << nt.errors[0];
  ASSERT_TRUE(nine.errors.empty()) << nine.errors[0];
  ASSERT_EQ(nt.steps.size(), 3u);
  ASSERT_EQ(nine.steps.size(), 3u);
  EXPECT_EQ(std::get<RegistryWrite>(nt.steps[0]).value, (RegValue{regtype::kSz, Sz("nt")}));
  EXPECT_EQ(std::get<FileCopy>(nt.steps[1]).sourceName, "C:\\W\\a.dll");
  EXPECT_EQ(std::get<RegistryWrite>(nine.steps[0]).value, (RegValue{regtype::kSz, Sz("9x")}));
  EXPECT_EQ(std::get<TextFileWrite>(nine.steps[1]).lines, std::vector<std::string>{"only 98"});
  EXPECT_EQ(std::get<FolderCreate>(nt.steps[2]).path, std::get<FolderCreate>(nine.steps[2]).path);
}

// The demo machine itself, applied to the simulated platform.
class DemoMachine : public ::testing::Test {
 protected:
  void SetUp() override {
    host = fs::temp_directory_path() / ("vorn-demo-" + std::to_string(getpid()));
    fs::create_directories(host / "C" / "build");
    std::ofstream(host / "C" / "build" / "msimn.exe") << "MZ";
    std::ofstream(host / "C" / "build" / "wab.exe") << "MZ";
    std::ofstream(host / "C" / "build" / "unlha32.dll") << "MZ";
    fs::copy(fs::path(VORN_SOURCE_DIR) / "demo" / "files", host / "C" / "files");
    std::ifstream in(fs::path(VORN_SOURCE_DIR) / "demo" / "machine.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    machine = ParseMachineDescription(text.str(), Variable);
  }
  void TearDown() override { fs::remove_all(host); }

  std::string Read(const std::string& key, const std::string& name) {
    auto value = registry.ReadValue(RegRoot::CurrentUser, key, name);
    if (!value) return "";
    return Cp932ToUtf8(std::string(value->data.begin(), value->data.end() - 1));
  }

  fs::path host;
  MachineDescription machine;
  SimRegistryStore registry;
};

TEST_F(DemoMachine, AppliesCleanlyAndShowsThreeUsersWithTheMainOneSecond) {
  ASSERT_TRUE(machine.errors.empty()) << machine.errors[0];
  SimFileSystem files(host);
  auto failures = ApplyMachine(machine, registry, files, {"C:\\build", "C:\\files"});
  ASSERT_TRUE(failures.empty()) << failures[0];

  auto identities = *registry.EnumSubkeys(RegRoot::CurrentUser, "Identities");
  ASSERT_EQ(identities.size(), 3u);
  auto associated = *registry.ReadValue(RegRoot::CurrentUser,
                                        "Software\\Microsoft\\Internet Account Manager\\Accounts", "AssociatedID");
  EXPECT_EQ(associated.type, regtype::kBinary);
  EXPECT_EQ(associated.data, std::get<RegistryWrite>(ParseMachineDescription("[HKCU\\K]\n\"g\"=guid:" + identities[1],
                                                                             Variable).steps[0])
                                 .value.data);
  EXPECT_EQ(Read("Identities\\" + identities[1], "Username"), "山田 太郎");

  for (const auto& identity : identities) {
    std::string storeRoot =
        Read("Identities\\" + identity + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root");
    ASSERT_EQ(storeRoot.rfind("%UserProfile%\\", 0), 0u) << storeRoot;
    EXPECT_TRUE(files.IsDirectory(Variable("UserProfile") + storeRoot.substr(13))) << storeRoot;
  }

  std::string wab = Read("Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "");
  EXPECT_TRUE(files.Exists(wab)) << wab;
  EXPECT_EQ(files.List("C:\\Documents and Settings\\taro\\Favorites", "*.url").size(), 2u);
  EXPECT_TRUE(files.Exists("C:\\Program Files\\Outlook Express\\msimn.exe"));
  EXPECT_TRUE(files.Exists("C:\\Program Files\\Outlook Express\\wab.exe"));
  EXPECT_TRUE(files.IsDirectory("C:\\Documents and Settings\\taro\\デスクトップ"));
  EXPECT_TRUE(files.Exists("C:\\WINDOWS\\system32\\unlha32.dll"));
}

TEST_F(DemoMachine, OnThe98FamilyHasPlainPathsTheHalfWidthDesktopAndItsLibrariesBelowWindirSystem) {
  std::ifstream in(fs::path(VORN_SOURCE_DIR) / "demo" / "machine.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  machine = ParseMachineDescription(text.str(), Variable, MachineFamily::Windows9x);
  ASSERT_TRUE(machine.errors.empty()) << machine.errors[0];
  fs::create_directories(host / "C" / "WINDOWS" / "system32");
  std::ofstream(host / "C" / "WINDOWS" / "system32" / "imagehlp.dll") << "MZ";
  SimFileSystem files(host);
  auto failures = ApplyMachine(machine, registry, files, {"C:\\build", "C:\\files"});
  ASSERT_TRUE(failures.empty()) << failures[0];

  auto identities = *registry.EnumSubkeys(RegRoot::CurrentUser, "Identities");
  for (const auto& identity : identities) {
    auto storeRoot = *registry.ReadValue(
        RegRoot::CurrentUser, "Identities\\" + identity + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root");
    EXPECT_EQ(storeRoot.type, regtype::kSz);
    std::string path = Cp932ToUtf8(std::string(storeRoot.data.begin(), storeRoot.data.end() - 1));
    EXPECT_TRUE(files.IsDirectory(path.back() == '\\' ? path.substr(0, path.size() - 1) : path)) << path;
  }
  auto oe = *registry.ReadValue(RegRoot::LocalMachine,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msimn.exe", "");
  EXPECT_EQ(oe.type, regtype::kSz);
  EXPECT_TRUE(files.Exists(Cp932ToUtf8(std::string(oe.data.begin(), oe.data.end() - 1))));
  EXPECT_TRUE(files.IsDirectory("C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ"));
  EXPECT_FALSE(files.Exists("C:\\Documents and Settings\\taro\\デスクトップ"));
  EXPECT_TRUE(files.Exists("C:\\WINDOWS\\system\\unlha32.dll"));
  EXPECT_TRUE(files.Exists("C:\\WINDOWS\\system\\Imagehlp.dll"));
  EXPECT_FALSE(files.Exists("C:\\WINDOWS\\system32\\unlha32.dll"));
}

TEST_F(DemoMachine, NamesAMissingSourceFile) {
  SimFileSystem files(host);
  fs::remove(host / "C" / "build" / "wab.exe");
  EXPECT_EQ(ApplyMachine(machine, registry, files, {"C:\\build", "C:\\files"}),
            std::vector<std::string>{"no source file wab.exe"});
}

}  // namespace
}  // namespace vorn::demo
