#include "set/set_layout.h"

#include <gtest/gtest.h>

#include "set/set_reading.h"
#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

TEST(SetFolderName, ReplacesExactlyTheEightForbiddenCharacters) {
  EXPECT_EQ(MakeSetFolderName("a/b?c"), "a_b_c");
  EXPECT_EQ(MakeSetFolderName("/<>?\\*;'"), "________");
  EXPECT_EQ(MakeSetFolderName("x:y|z\"太郎"), "x:y|z\"太郎");
}

TEST(SetFolderName, NeverLeadsOutOfTheDestination) {
  const std::pair<std::string, std::string> names[] = {
      {"..", "__"}, {".", "_"}, {"", "_"}, {". .", "___"}, {"..\\..", ".._.."}, {"a..", "a.."}, {"taro", "taro"}};
  for (const auto& [name, folder] : names) EXPECT_EQ(MakeSetFolderName(name), folder) << name;
}

TEST(SetReading, ASetIsMarkedByItsAccountFileAndItsMailByTheArchiveFirst) {
  SimMachine m;
  const std::string set = "C:\\Sets\\taro";
  EXPECT_FALSE(HoldsBackupSet(m.files, set));
  EXPECT_EQ(FindMailData(m.files, set), MailData::None);
  m.CreateFile(set + "\\Mail\\Folders.dbx");
  EXPECT_FALSE(HoldsBackupSet(m.files, set));
  EXPECT_EQ(FindMailData(m.files, set), MailData::Copy);
  m.CreateFile(set + "\\MAIL.LZH");
  m.CreateFile(set + "\\Reg\\Account.reg");
  EXPECT_TRUE(HoldsBackupSet(m.files, set));
  EXPECT_EQ(FindMailData(m.files, set), MailData::Archive);
  EXPECT_EQ(SetLayout(set).InfoFile(), set + "\\Reg\\VornInfo.dat");
}

}  // namespace
}  // namespace vorn
