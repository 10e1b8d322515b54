#include "cli/backup_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/exit_codes.h"
#include "platform/sim/sim_archiver.h"
#include "tests/backup/backup_machine.h"
#include "tests/cli/unattended_program.h"

namespace vorn::cli {
namespace {

// The machine of the backup tests, driven without windows.
class BackupCommandTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    UnattendedProgram unattended(b.m, err);
    return BackupCommand(unattended.program, args, err);
  }
  void UseRealArchiver() {
    b.m.archiver.onRun = [this](WindowHandle window, const std::string& line, std::string* output, uint32_t size) {
      return archiver.Unlha(window, line, output, size);
    };
  }
  BackupMachine b;
  SimArchiver archiver{b.m.files};
  std::ostringstream err;
};

TEST_F(BackupCommandTest, WritesACompleteSetWithTheStoredSwitchesAndReportsMessages) {
  EXPECT_EQ(Run({"hanako"}), kExitOk);
  const std::string set = b.UserFolder("hanako");
  EXPECT_TRUE(b.m.files.Exists(set + "\\Reg\\VornInfo.dat"));
  EXPECT_TRUE(b.m.files.Exists(set + "\\Mail\\Folders.dbx"));
  EXPECT_FALSE(b.m.files.Exists(set + "\\Mail.lzh"));
  EXPECT_NE(err.str().find("ERROR: ダイアルアップの設定を保存できませんでした。\n"), std::string::npos);
}

TEST_F(BackupCommandTest, FlagsOverrideTheStoredCompressionSwitch) {
  UseRealArchiver();
  EXPECT_EQ(Run({"taro", "--compress"}), kExitOk);
  EXPECT_TRUE(b.SetHas("Mail.lzh"));
  EXPECT_FALSE(b.SetHas("Mail"));
  b.WriteSetting("UnLHA32", 1);
  EXPECT_EQ(Run({"--plain", "hanako"}), kExitOk);
  EXPECT_TRUE(b.m.files.Exists(b.UserFolder("hanako") + "\\Mail"));
  EXPECT_EQ(b.m.ReadSetting("UnLHA32"), "1");
}

TEST_F(BackupCommandTest, AnIncompleteSetFailsTheCommand) {
  b.keysWithoutExport = {"HKEY_CURRENT_USER\\Identities\\{" + kTaroGuid + "}\\Software\\Microsoft"};
  EXPECT_EQ(Run({"taro"}), kExitFailed);
  EXPECT_NE(err.str().find("missing " + b.UserFolder() + "\\Reg\\OE.reg"), std::string::npos);
}

TEST_F(BackupCommandTest, AnEndedRunFailsTheCommand) {
  b.m.archiver.result = 5;
  EXPECT_EQ(Run({"taro", "--compress"}), kExitFailed);
  EXPECT_NE(err.str().find("Vorn: 正常に処理を完了できませんでした。"), std::string::npos);
  EXPECT_FALSE(b.SetHas("Reg\\VornInfo.dat"));
}

TEST_F(BackupCommandTest, RefusesUnknownUsersAndArguments) {
  EXPECT_EQ(Run({"jiro"}), kExitUsage);
  EXPECT_EQ(Run({}), kExitUsage);
  EXPECT_EQ(Run({"taro", "--compress", "--plain"}), kExitUsage);
  EXPECT_EQ(Run({"taro", "hanako"}), kExitUsage);
  EXPECT_FALSE(b.m.files.Exists(b.UserFolder()));
}

TEST_F(BackupCommandTest, CompressionWithoutTheArchiverIsRefused) {
  b.m.files.DeleteFile("C:\\WINDOWS\\system32\\unlha32.dll");
  EXPECT_EQ(Run({"taro", "--compress"}), kExitFailed);
  EXPECT_FALSE(b.SetHas("Reg"));
}

}  // namespace
}  // namespace vorn::cli
