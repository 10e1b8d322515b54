#include "ui/form1.h"

#include <gtest/gtest.h>

#include "ui/startup.h"
#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

const std::string kMain = "BBBBBBBB-0000-0000-0000-000000000002";

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() {
    m.AddIdentity({kMain, "taro", "%UserProfile%\\Local Settings\\Application Data\\Identities\\{" + kMain +
                                      "}\\Microsoft\\Outlook Express\\"});
    m.AddIdentity({"CCCCCCCC-0000-0000-0000-000000000003", "hanako", ""});
    m.SetMainIdentity(kMain);
    Main(*m.app, false);
  }
  Form1& f() { return m.app->form1(); }
  SimMachine m;
};

TEST_F(Form1Test, PickingAUserNeedsAModeFirstThenShowsItsStoreRoot) {
  EXPECT_FALSE(f().List1.enabled);
  EXPECT_FALSE(f().Command1[Form1::kOk].enabled);
  f().List1_Click(0);
  EXPECT_EQ(f().Text1.text, "");
  EXPECT_EQ(m.app->env.selectedUserName, "");

  f().Option1_Click(Form1::kRestoreMode);
  EXPECT_TRUE(f().List1.enabled);
  f().List1_Click(0);
  const std::string root =
      m.profile + "\\Local Settings\\Application Data\\Identities\\{" + kMain + "}\\Microsoft\\Outlook Express";
  EXPECT_EQ(f().Text1.text, root);
  EXPECT_EQ(m.app->env.storeRootFolder, root);
  EXPECT_EQ(m.app->env.selectedUserName, "taro");
  EXPECT_EQ(m.app->env.selectedIdentityGuid, "{" + kMain + "}");
  EXPECT_TRUE(f().Command1[Form1::kOk].enabled);
}

TEST_F(Form1Test, AUserWithoutStoreRootEndsTheProgram) {
  f().Option1_Click(Form1::kBackupMode);
  EXPECT_TRUE(EndsProgram([&] { f().List1_Click(1); }));
  ASSERT_EQ(m.ui.messages.size(), 1u);
  EXPECT_EQ(m.ui.messages[0].text, "Store_Rootが見つかりません。");
  EXPECT_EQ(m.ui.messages[0].title, "警告 - Error.L1");
  EXPECT_EQ(m.ui.messages[0].helpContext, 2);
}

TEST_F(Form1Test, OkHandsOverByModeAndExitEnds) {
  std::vector<std::string> runs;
  f().runBackup = [&] { runs.push_back("backup"); };
  f().runRestore = [&] { runs.push_back("restore"); };
  f().Option1_Click(Form1::kBackupMode);
  f().Command1_Click(Form1::kOk);
  f().Option1_Click(Form1::kRestoreMode);
  f().Command1_Click(Form1::kOk);
  EXPECT_EQ(runs, (std::vector<std::string>{"backup", "restore"}));
  EXPECT_TRUE(EndsProgram([&] { f().Command1_Click(Form1::kExit); }));
  EXPECT_TRUE(EndsProgram([&] { f().MnEnd_Click(); }));
}

TEST_F(Form1Test, MenuTogglesSaveTheirSwitchForTheNextStart) {
  f().MnWab_Click();
  EXPECT_FALSE(f().MnWab.checked);
  EXPECT_EQ(m.ReadSetting("MnWab"), "0");
  f().MnLHA_Click();
  EXPECT_EQ(m.ReadSetting("UnLHA32"), "1");
  f().MnFavo_Click();
  f().MnFavo_Click();
  EXPECT_EQ(m.ReadSetting("MnFavo"), "1");

  Program next(m.platform, m.host);
  Main(next, false);
  EXPECT_FALSE(next.form1().MnWab.checked);
  EXPECT_TRUE(next.form1().MnLHA.checked);
}

TEST_F(Form1Test, HiddenToggleHelpAndSiblingTools) {
  f().Image1_DblClick();
  EXPECT_TRUE(m.app->extraListFlag);
  f().Image1_DblClick();
  EXPECT_FALSE(m.app->extraListFlag);

  f().MnMokuji_Click();
  EXPECT_EQ(m.ui.helpShown, (std::vector<SimUiServices::HelpRequest>{{"C:\\Program Files\\Vorn\\Vorn4.chm", 1060}}));

  f().MnChanger_Click();  // not installed: nothing happens
  m.CreateFile("C:\\Program Files\\Vorn\\Ruvelt.exe");
  f().MnChanger_Click();
  ASSERT_EQ(m.processes.started.size(), 1u);
  EXPECT_EQ(m.processes.started[0].commandLine, "C:\\Program Files\\Vorn\\Ruvelt.exe");
  EXPECT_EQ(m.processes.started[0].style, WindowStyle::Normal);

  f().Flash();
  EXPECT_EQ(m.ui.beeps, 1);
  EXPECT_EQ(m.ui.flashed.size(), 1u);
}

}  // namespace
}  // namespace vorn
