#include "restore/environment_check.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "set/set_reading.h"
#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

const std::string kInfo = "C:\\Sets\\taro\\Reg\\VornInfo.dat";

std::string InfoFile(const std::string& os, const std::string& oe, bool withWab = true) {
  std::string text = "\"Date       :2004/05/12 9:05:03\"\r\n\"OS         :" + os + "\"\r\n\"OE         :" + oe +
                     "\"\r\n\"StoreRoot  :C:\\x\"\r\n\"UserName   :山田 太郎\"\r\n\"UserID     :{A-1}\"\r\n";
  if (withWab) text += "\"WabPath    :C:\\WINDOWS\\taro.wab\"\r\n";
  return Utf8ToCp932(text + "\"BackupPath :D:\\Vorn_bkup\"\r\n");
}

struct Comparison {
  std::string family, os, oe;
  bool match, sameFamily;
};

TEST(CheckBackupEnvironment, TheFamilyDecidesSameOsFamilyAndTheExactOeTextTheMatch) {
  SimMachine m;
  const std::string running = "6.00.2800.1123";
  const Comparison cases[] = {
      {kFamilyNt, "WindowsXP", running, true, true},       {kFamilyNt, "Windows2000", running, true, true},
      {kFamilyNt, "WindowsXP", "6.00.2800.1106", false, true}, {kFamilyNt, "WindowsXP", "6.00.2800.1123 ", false, true},
      {kFamilyNt, "WindowsMe", running, false, false},     {kFamilyNt, "", running, false, false},
      {kFamily9x, "WindowsMe", running, true, true},       {kFamily9x, "Windows98", running, true, true},
      {kFamily9x, "windows98", running, false, false},     {kFamily9x, "WindowsXP", running, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.family + " " + c.os + " " + c.oe);
    m.CreateFile(kInfo, InfoFile(c.os, c.oe));
    bool sameFamily = !c.sameFamily;
    const auto check = CheckBackupEnvironment(m.files, kInfo, c.family, running, sameFamily);
    EXPECT_EQ(check.match, c.match);
    EXPECT_EQ(sameFamily, c.sameFamily);
    ASSERT_TRUE(check.fields);
    EXPECT_EQ((*check.fields)[1], c.os);
  }
  // Another family value, or no information file: a difference that leaves the flag alone.
  bool sameFamily = true;
  EXPECT_FALSE(CheckBackupEnvironment(m.files, kInfo, "", running, sameFamily).match);
  const auto missing = CheckBackupEnvironment(m.files, "C:\\none\\VornInfo.dat", kFamilyNt, running, sameFamily);
  EXPECT_FALSE(missing.match);
  EXPECT_FALSE(missing.fields);
  EXPECT_TRUE(sameFamily);
}

TEST(BackupInfoFields, FieldsArePositionalAndKeepEverythingAfterTheFirstColon) {
  SimMachine m;
  m.CreateFile(kInfo, InfoFile("WindowsXP", "6.0.2900.5512"));
  EXPECT_EQ(ReadBackupInfoFields(m.files, kInfo),
            (std::vector<std::string>{"2004/05/12 9:05:03", "WindowsXP", "6.0.2900.5512", "C:\\x", "山田 太郎", "{A-1}",
                                      "C:\\WINDOWS\\taro.wab", "D:\\Vorn_bkup"}));
  // Without the address book line the backup path is the seventh field and the eighth is empty.
  m.CreateFile(kInfo, InfoFile("WindowsXP", "6.0.2900.5512", false));
  bool same = false;
  auto check = CheckBackupEnvironment(m.files, kInfo, kFamilyNt, "6.0.2900.5512", same);
  EXPECT_EQ((*check.fields)[6], "D:\\Vorn_bkup");
  EXPECT_EQ((*check.fields)[7], "");
  // Longer files, lines without a colon, a last line without a line end, a lone LF.
  m.CreateFile(kInfo, "\"a:1\"\n\"no colon\"\r\n\"\"\r\n\"4\"\r\n\"5\"\r\n\"6\"\r\n\"7\"\r\n\"8\"\r\n\"9\"\r\n");
  EXPECT_EQ(ReadBackupInfoFields(m.files, kInfo),
            (std::vector<std::string>{"1", "\"no colon", "\"", "\"4", "\"5", "\"6", "\"7", "\"8"}));
  m.CreateFile(kInfo, "\"OS:x\"");
  EXPECT_EQ(ReadBackupInfoFields(m.files, kInfo), std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace vorn
