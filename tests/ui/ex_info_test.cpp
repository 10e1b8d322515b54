#include "ui/ex_info.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(ExInfo, LoadsInTheNormalSizeAndTogglesTheDetailsWithItsSecondButton) {
  ExInfo dialog({"2004/05/12 9:05:03", "Windows98", "5.50.4807.1700", "C:\\x", "taro", "{A}", "D:\\Vorn_bkup"},
                "WindowsXP", "6.0.2900.5512");
  dialog.Form_Load();
  EXPECT_EQ(dialog.caption, "Vorn Info ");
  EXPECT_EQ(dialog.width, 8325);
  EXPECT_EQ(dialog.height, 3225);
  EXPECT_FALSE(dialog.Detailed());
  EXPECT_EQ(dialog.Label3, "OS : WindowsXP  Outlook Express : 6.0.2900.5512");
  EXPECT_EQ(dialog.Text1[1].text, "Windows98");
  EXPECT_EQ(dialog.Text1[6].text, "D:\\Vorn_bkup");
  EXPECT_EQ(dialog.Text1[7].text, "");
  dialog.Command1_Click(ExInfo::kDetail);
  EXPECT_EQ(dialog.height, 5505);
  EXPECT_EQ(dialog.width, 8325);
  EXPECT_EQ(dialog.Command1[ExInfo::kDetail].caption, "通常表示(&U)");
  dialog.Command1_Click(ExInfo::kDetail);
  EXPECT_EQ(dialog.height, 3225);
  EXPECT_EQ(dialog.Command1[ExInfo::kDetail].caption, "詳細表示(&D)");
  EXPECT_FALSE(dialog.closed);
  dialog.Command1_Click(ExInfo::kOk);
  EXPECT_TRUE(dialog.closed);
  // Each load starts in the normal size.
  dialog.Command1_Click(ExInfo::kDetail);
  dialog.Form_Load();
  EXPECT_EQ(dialog.height, 3225);
  EXPECT_EQ(dialog.Command1[ExInfo::kDetail].caption, "詳細表示(&D)");
}

}  // namespace
}  // namespace vorn
