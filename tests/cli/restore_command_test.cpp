#include "cli/restore_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/exit_codes.h"
#include "tests/backup/backup_machine.h"
#include "tests/cli/unattended_program.h"
#include "ui/form1.h"

namespace vorn::cli {
namespace {

std::string AsGiven(const std::string& path) { return path; }

// taro's plain set on the backup tests' machine, restored onto hanako without windows.
class RestoreCommandTest : public ::testing::Test {
 protected:
  RestoreCommandTest() {
    b.StartAndPick(0);
    b.PressOk();
    hanakoMail = b.StoreRoot(kHanakoGuid) + "\\受信トレイ.dbx";
    b.m.CreateFile(hanakoMail, "hanako's own mail");
  }
  int Run(const std::vector<std::string>& args) {
    err.str("");
    UnattendedProgram unattended(b.m, err);
    return RestoreCommand(unattended.program, unattended.ui, args, AsGiven, err);
  }
  bool Has(const std::string& text) const { return err.str().find(text) != std::string::npos; }
  BackupMachine b;
  std::string hanakoMail;
  std::ostringstream err;
};

TEST_F(RestoreCommandTest, RefusesWithoutYesOrWithAnUnknownUserAndChangesNothing) {
  const std::string set = b.UserFolder();
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{set, "hanako"}, "replaces the mail, settings, address book and Favorites of \"hanako\""},
      {{set, "nobody", "--yes"}, "no Outlook Express user named \"nobody\""},
      {{set}, "usage: vorn-cli restore SETFOLDER USER [--yes]"},
      {{set, "hanako", "--yes", "--yes"}, "usage:"},
      {{set, "hanako", "--force"}, "usage:"},
      {{"C:\\not a set", "hanako", "--yes"}, "指定先にバックアップファイルが見つかりません。"},
  };
  for (const auto& [args, message] : refused) {
    SCOPED_TRACE(message);
    EXPECT_EQ(Run(args), kExitUsage);
    EXPECT_TRUE(Has(message)) << err.str();
    EXPECT_EQ(b.m.ReadFile(hanakoMail), "hanako's own mail");
  }
}

TEST_F(RestoreCommandTest, WithYesEveryQuestionIsAnsweredAndTheExitStatusTellsWhetherAllWasDone) {
  EXPECT_EQ(Run({b.UserFolder(), "hanako", "--yes"}), kExitOk) << err.str();
  EXPECT_EQ(b.m.ReadFile(hanakoMail), "mail of 受信トレイ.dbx");
  EXPECT_TRUE(Has("リストア: 選択したユーザーにバックアップデータをリストアします。"));
  EXPECT_TRUE(Has("最終確認: "));  // the fake exports carry no account association
  EXPECT_TRUE(Has("restored onto \"hanako\""));
  // A mail archive that does not unpack: the mail stays, the run ends normally, the status fails.
  b.m.CreateFile(b.UserFolder() + "\\Mail.lzh", "damaged");
  b.m.CreateFile(hanakoMail, "hanako's own mail");
  b.m.archiver.result = 0x8003;
  EXPECT_EQ(Run({"--yes", b.UserFolder(), "hanako"}), kExitFailed);
  EXPECT_TRUE(Has("Failed: 解凍に失敗しました。Error Code:0x8003"));
  EXPECT_TRUE(Has("incomplete"));
  EXPECT_EQ(b.m.ReadFile(hanakoMail), "hanako's own mail");
  // A set without mail data ends the program after its message.
  b.m.files.DeleteFile(b.UserFolder() + "\\Mail.lzh");
  b.m.files.DeleteFile(b.UserFolder() + "\\Mail\\Folders.dbx");
  EXPECT_EQ(Run({b.UserFolder(), "hanako", "--yes"}), kExitFailed);
  EXPECT_TRUE(Has("ERROR: メールデータが見つかりません。"));
  EXPECT_TRUE(Has("stopped"));
}

TEST_F(RestoreCommandTest, KeysOutsideTheSetsExportsAreNamedOnStandardErrorAndFailTheStatus) {
  b.m.registryEditor.onImportWithin = [](const std::string& line, const std::vector<std::string>&) {
    ScopedImportResult result{true, {}, {}, {}, 0, 0};
    if (line.find("NewOE.reg") != std::string::npos) result.skippedKeys = {"HKEY_CURRENT_USER\\Software\\Run"};
    return result;
  };
  // A run that left anything out is not complete.
  EXPECT_EQ(Run({b.UserFolder(), "hanako", "--yes"}), kExitFailed);
  EXPECT_TRUE(Has("次のキーは取り込みませんでした:\nHKEY_CURRENT_USER\\Software\\Run\n"));
  EXPECT_TRUE(Has("incomplete"));
}

}  // namespace
}  // namespace vorn::cli
