#include "ui/frm_bkpth.h"

#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"
#include "ui/form1.h"

namespace vorn {
namespace {

class FrmBkpthTest : public ::testing::Test {
 protected:
  FrmBkpthTest() {
    m.app->env.desktopFolder = m.profile + "\\デスクトップ";
    desktopDefault = m.app->env.desktopFolder + "\\Vorn_bkup";
    std::filesystem::create_directories(m.files.HostPath("D:\\Data"));
  }
  // Opens the dialog from the menu and drives it with the script.
  void Open(const std::function<void(FrmBkpth&)>& script) {
    m.host.Expect<FrmBkpth>(script);
    m.app->form1().MnChSave_Click();
  }
  SimMachine m;
  std::string desktopDefault;
};

TEST_F(FrmBkpthTest, FirstOpeningWritesTheDesktopDefault) {
  Open([&](FrmBkpth& d) {
    EXPECT_EQ(d.Option1.selected, FrmBkpth::kDesktop);
    EXPECT_EQ(d.Text1.text, "");
    d.CmdCancel_Click();
  });
  EXPECT_EQ(m.ReadSetting("BackUp Path"), desktopDefault);
}

TEST_F(FrmBkpthTest, PickedFoldersAlwaysEndInVornBkupWhichIsCreated) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"D:\\", "D:\\Vorn_bkup"},
      {"D:\\Data", "D:\\Data\\Vorn_bkup"},
      {"D:\\Data\\Vorn_bkup", "D:\\Data\\Vorn_bkup"},
      {"D:\\Data\\vorn_bkup", "D:\\Data\\vorn_bkup\\Vorn_bkup"},
  };
  for (const auto& [picked, expected] : cases) {
    m.ui.pickedFolders.push_back(picked);
    Open([&](FrmBkpth& d) {
      d.Option1_Click(FrmBkpth::kOther);
      d.CmdBrowse_Click();
      EXPECT_EQ(d.Text1.text, expected);
      EXPECT_FALSE(d.closed);
      d.CmdOk_Click();
      EXPECT_TRUE(d.closed);
    });
    EXPECT_TRUE(m.files.IsDirectory(expected)) << expected;
    EXPECT_EQ(m.ReadSetting("BackUp Path"), expected);
    EXPECT_EQ(m.ReadSetting("SV_Int"), "1");
  }
  ASSERT_FALSE(m.ui.folderRequests.empty());
  EXPECT_EQ(m.ui.folderRequests[0].title, "指定先にVorn_bkupフォルダが作成され、そこに保存します。");
  EXPECT_EQ(m.ui.folderRequests[0].flags, 0u);
}

TEST_F(FrmBkpthTest, AStoredFolderReopensAsOtherAndOkWithoutFolderStaysOpen) {
  m.app->reg.RegWriteValue(RegRoot::CurrentUser, "Software\\Vorn", "BackUp Path", std::string("D:\\Data\\Vorn_bkup"));
  Open([&](FrmBkpth& d) {
    EXPECT_EQ(d.Option1.selected, FrmBkpth::kOther);
    EXPECT_EQ(d.Text1.text, "D:\\Data\\Vorn_bkup");
    d.Text1.text.clear();
    d.CmdOk_Click();
    EXPECT_FALSE(d.closed);
    d.Option1_Click(FrmBkpth::kDesktop);
    EXPECT_FALSE(d.CmdBrowse.enabled);
    d.CmdOk_Click();
    EXPECT_TRUE(d.closed);
  });
  EXPECT_EQ(m.ReadSetting("BackUp Path"), desktopDefault);
  EXPECT_EQ(m.ReadSetting("SV_Int"), "0");
}

TEST_F(FrmBkpthTest, CancellingThePickerKeepsOrResetsTheChoice) {
  Open([&](FrmBkpth& d) {
    d.CmdBrowse_Click();  // cancelled with the desktop option selected
    EXPECT_EQ(d.Option1.selected, FrmBkpth::kDesktop);
    EXPECT_EQ(m.app->settings.backupPath, desktopDefault);
    d.Option1_Click(FrmBkpth::kOther);
    d.CmdBrowse_Click();  // cancelled with "other" selected
    EXPECT_EQ(d.Option1.selected, FrmBkpth::kOther);
    m.ui.pickedFolders.push_back("D:\\Data");
    d.CmdBrowse_Click();
    d.CmdCancel_Click();
  });
  EXPECT_EQ(m.app->settings.backupPath, "D:\\Data\\Vorn_bkup");  // in memory until the next load
  EXPECT_EQ(m.ReadSetting("BackUp Path"), desktopDefault);
}

}  // namespace
}  // namespace vorn
