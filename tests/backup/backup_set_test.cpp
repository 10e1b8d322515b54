#include "backup/backup_set.h"

#include <gtest/gtest.h>

#include "backup/backup_run.h"
#include "platform/codepage.h"
#include "tests/backup/backup_machine.h"

namespace vorn {
namespace {

// The machine's folder files are no folder files: the index reader reads neither, so both are marked.
TEST(BackupInfo, HoldsEightQuotedLinesThenTheDamagedFoldersInCodePage932WithCrLf) {
  BackupMachine b;
  RegistryAccess(b.m.registry)
      .RegWriteValue(RegRoot::CurrentUser, "Identities\\{" + kTaroGuid + "}", "Username", std::string("太郎\"x"));
  b.StartAndPick();
  b.PressOk();
  const std::string user = "太郎\"x";
  const std::string expected =
      "\"Date       :2004/05/12 9:05:03\"\r\n"
      "\"OS         :WindowsXP\"\r\n"
      "\"OE         :6.0.2900.5512\"\r\n"
      "\"StoreRoot  :" + b.StoreRoot(kTaroGuid) + "\"\r\n"
      "\"UserName   :" + user + "\"\r\n"
      "\"UserID     :{" + kTaroGuid + "}\"\r\n"
      "\"WabPath    :" + b.m.profile + "\\Application Data\\Microsoft\\Address Book\\taro.wab\"\r\n"
      "\"BackupPath :" + b.desktop + "\\Vorn_bkup\"\r\n"
      "\"Damaged    :Sent Items.dbx (回復できるﾒｯｾｰｼﾞ 0)\"\r\n"
      "\"Damaged    :受信トレイ.dbx (回復できるﾒｯｾｰｼﾞ 0)\"\r\n";
  EXPECT_EQ(b.m.ReadFile(b.UserFolder(user) + "\\Reg\\VornInfo.dat"), Utf8ToCp932(expected));
}

TEST(BackupInfo, ASecondRunReplacesTheFileAndMidnightPrintsOnlyTheDate) {
  BackupMachine b;
  b.StartAndPick();
  b.PressOk();
  b.m.clock.now = {2004, 5, 13, 0, 0, 0};
  b.PressOk();
  const std::string info = b.SetFile("Reg\\VornInfo.dat");
  EXPECT_EQ(info.rfind("\"Date       :2004/05/13\"\r\n", 0), 0u);
  EXPECT_EQ(std::count(info.begin(), info.end(), '\n'), 8 + 2);
}

}  // namespace
}  // namespace vorn
