#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "regedit/reg_editor_command.h"
#include "regedit/reg_file_editor.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_registry_store.h"
#include "tests/regedit/reg_test_support.h"

namespace vorn {
namespace {
namespace fs = std::filesystem;

using Action = RegEditorCommand::Action;

TEST(RegEditorCommandTest, ReadsTheCommandTextsTheProgramBuilds) {
  EXPECT_EQ(ParseRegEditorCommand("Regedit.exe /e C:\\Temp\\OE.reg HKEY_CURRENT_USER\\Identities\\{A}\\Software\\Microsoft"),
            (RegEditorCommand{Action::Export, "C:\\Temp\\OE.reg", "HKEY_CURRENT_USER\\Identities\\{A}\\Software\\Microsoft"}));
  EXPECT_EQ(ParseRegEditorCommand("Regedit.exe /e C:\\Temp\\Account.reg \"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
                                  "Account Manager\""),
            (RegEditorCommand{Action::Export, "C:\\Temp\\Account.reg",
                              "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager"}));
  EXPECT_EQ(ParseRegEditorCommand("regedit.exe /s \"C:\\Vorn bkup\\taro\\Reg\\NewOE.reg\""),
            (RegEditorCommand{Action::Import, "C:\\Vorn bkup\\taro\\Reg\\NewOE.reg", {}}));
}

TEST(RegEditorCommandTest, CopesWithBlanksInThePathAndOtherSpellings) {
  EXPECT_EQ(ParseRegEditorCommand("Regedit.exe /e C:\\Documents and Settings\\t\\OE.reg HKEY_LOCAL_MACHINE\\SOFTWARE\\X"),
            (RegEditorCommand{Action::Export, "C:\\Documents and Settings\\t\\OE.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\X"}));
  EXPECT_EQ(ParseRegEditorCommand("Regedit.exe /e C:\\Documents and Settings\\t\\S.reg \"HKEY_CURRENT_USER\\a b\""),
            (RegEditorCommand{Action::Export, "C:\\Documents and Settings\\t\\S.reg", "HKEY_CURRENT_USER\\a b"}));
  EXPECT_EQ(ParseRegEditorCommand("\"C:\\WINDOWS\\REGEDIT.EXE\"  /S  C:\\x.reg"),
            (RegEditorCommand{Action::Import, "C:\\x.reg", {}}));
  for (const char* wrong : {"", "notepad.exe /s \"C:\\x.reg\"", "regedit.exe", "regedit.exe /s", "regedit.exe /s \"C:\\x.reg",
                            "regedit.exe /x C:\\x.reg", "Regedit.exe /e C:\\x.reg", "myregedit.exe /s C:\\x.reg"})
    EXPECT_FALSE(ParseRegEditorCommand(wrong)) << wrong;
}

class RegFileEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = fs::temp_directory_path() / ("vorn-regedit-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(host_);
    fs::create_directories(host_ / "C" / "Temp");
    store_.WriteValue(RegRoot::CurrentUser, "Software\\Vorn", "BackupPath", regtest::Sz("C:\\Backup"));
  }
  void TearDown() override { fs::remove_all(host_); }
  std::string HostFile(const std::string& name) {
    std::ifstream in(host_ / "C" / "Temp" / name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  void WriteHostFile(const std::string& name, const std::string& bytes) {
    std::ofstream(host_ / "C" / "Temp" / name, std::ios::binary) << bytes;
  }

  fs::path host_;
  SimRegistryStore store_;
  std::unique_ptr<SimFileSystem> files_;
  RegDialect dialect_ = RegDialect::Version5;
  std::unique_ptr<RegFileEditor> MakeEditor() {
    files_ = std::make_unique<SimFileSystem>(host_);
    return std::make_unique<RegFileEditor>(store_, *files_, [this] { return dialect_; });
  }
};

TEST_F(RegFileEditorTest, ExportsInTheDialectOfTheRunningFamily) {
  auto editor = MakeEditor();
  editor->Run("Regedit.exe /e C:\\Temp\\Vorn.reg \"HKEY_CURRENT_USER\\Software\\Vorn\"");
  EXPECT_TRUE(editor->LastOutcome().succeeded);
  EXPECT_EQ(HostFile("Vorn.reg"), regtest::Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                                                     "[HKEY_CURRENT_USER\\Software\\Vorn]\r\n"
                                                     "\"BackupPath\"=\"C:\\\\Backup\"\r\n\r\n"));
  dialect_ = DialectForOsFamily("Windows98");
  editor->Run("Regedit.exe /e C:\\Temp\\Vorn.reg HKEY_CURRENT_USER\\Software\\Vorn\\");
  EXPECT_EQ(HostFile("Vorn.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Vorn]\r\n\"BackupPath\"=\"C:\\\\Backup\"\r\n\r\n");
}

// The second account export must leave the first one's file when its key is missing.
TEST_F(RegFileEditorTest, AMissingOrRefusedKeyLeavesAnEarlierFileAlone) {
  WriteHostFile("Account.reg", "earlier");
  auto editor = MakeEditor();
  editor->Run("Regedit.exe /e C:\\Temp\\Account.reg \"HKEY_CURRENT_USER\\Identities\\{A}\\Software\\Microsoft\\Internet Account Manager\"");
  EXPECT_FALSE(editor->LastOutcome().succeeded);
  editor->Run("Regedit.exe /e C:\\Temp\\Account.reg HKEY_CLASSES_ROOT\\.reg");
  EXPECT_FALSE(editor->LastOutcome().succeeded);
  EXPECT_EQ(HostFile("Account.reg"), "earlier");
}

TEST_F(RegFileEditorTest, ImportsAndReportsTheFirstBadLine) {
  WriteHostFile("In.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\In]\r\n\"a\"=dword:1\r\n\"b\"=dword:xyz\r\n");
  auto editor = MakeEditor();
  editor->Run("regedit.exe /s \"C:\\Temp\\In.reg\"");
  EXPECT_FALSE(editor->LastOutcome().succeeded);
  EXPECT_EQ(editor->LastOutcome().import.badLine->line, 5);
  EXPECT_EQ(editor->LastOutcome().problem, "C:\\Temp\\In.reg line 5: dword data is not 1 to 8 hexadecimal digits");
  EXPECT_FALSE(store_.KeyExists(RegRoot::CurrentUser, "Software\\In"));

  editor->Run("regedit.exe /s \"C:\\Temp\\Missing.reg\"");
  EXPECT_FALSE(editor->LastOutcome().succeeded);
}

TEST_F(RegFileEditorTest, AScopedImportReportsTheKeysItSkipped) {
  WriteHostFile("In.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\In]\r\n\"a\"=dword:1\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Out]\r\n\"b\"=dword:1\r\n");
  auto editor = MakeEditor();
  auto result = editor->RunImportWithin("regedit.exe /s \"C:\\Temp\\In.reg\"", {"HKEY_CURRENT_USER\\Software\\In"});
  EXPECT_EQ(result.skippedKeys, std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Out"});
  EXPECT_TRUE(result.complete);
  EXPECT_TRUE(store_.ReadValue(RegRoot::CurrentUser, "Software\\In", "a"));
  EXPECT_FALSE(store_.KeyExists(RegRoot::CurrentUser, "Software\\Out"));
  // An export command is no import: nothing is run.
  result = editor->RunImportWithin("Regedit.exe /e C:\\Temp\\x.reg HKEY_CURRENT_USER\\Software", {});
  EXPECT_FALSE(result.complete);
  EXPECT_EQ(result.problem, "not a registry editor import: Regedit.exe /e C:\\Temp\\x.reg HKEY_CURRENT_USER\\Software");
}

}  // namespace
}  // namespace vorn
