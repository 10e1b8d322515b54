#include "core/settings.h"

#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"
#include "ui/form1.h"

namespace vorn {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() {
    m.app->env.desktopFolder = m.profile + "\\デスクトップ";
  }
  void Store(const std::string& name, const std::string& text) {
    m.app->reg.RegWriteValue(RegRoot::CurrentUser, kSettingsKey, name, text);
  }
  void Store(const std::string& name, int16_t number) {
    m.app->reg.RegWriteValue(RegRoot::CurrentUser, kSettingsKey, name, number);
  }
  void Load() {
    MenuSwitches switches;
    LoadSettings(m.app->reg, m.app->settings, switches);
    m.app->form1().SetMenuSwitches(switches);
  }
  SimMachine m;
};

TEST_F(SettingsTest, FirstRunWritesEveryDefault) {
  LoadBackupPath(m.app->reg, m.app->env, m.app->settings);
  Load();
  EXPECT_EQ(m.app->settings.backupPath, m.profile + "\\デスクトップ\\Vorn_bkup");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"BackUp Path", m.profile + "\\デスクトップ\\Vorn_bkup"}, {"SV_Int", "0"}, {"UnLHA32", "0"},
      {"OpenFolder", "1"}, {"Message", "1"}, {"wfST", "0"}, {"FavoOrder", "1"}, {"Remote", "1"},
      {"IEexport", "1"}, {"MnWab", "1"}, {"MnFavo", "1"}};
  for (const auto& [name, value] : expected) EXPECT_EQ(m.ReadSetting(name), value) << name;
  EXPECT_FALSE(m.app->form1().MnLHA.checked);
  EXPECT_TRUE(m.app->form1().MnWab.checked);
}

TEST_F(SettingsTest, BackupPathKeepsAPickedFolderOnlyWhenSvIntSaysSo) {
  Store("BackUp Path", "D:\\Save\\Vorn_bkup");
  Store("SV_Int", int16_t{1});
  LoadBackupPath(m.app->reg, m.app->env, m.app->settings);
  EXPECT_EQ(m.app->settings.backupPath, "D:\\Save\\Vorn_bkup");
  EXPECT_EQ(m.ReadSetting("BackUp Path"), "D:\\Save\\Vorn_bkup");
  EXPECT_EQ(m.ReadSetting("SV_Int"), "1");

  Store("SV_Int", int16_t{0});
  LoadBackupPath(m.app->reg, m.app->env, m.app->settings);
  EXPECT_EQ(m.app->settings.backupPath, m.profile + "\\デスクトップ\\Vorn_bkup");
  EXPECT_EQ(m.ReadSetting("BackUp Path"), m.app->settings.backupPath);
}

TEST_F(SettingsTest, StoredValuesFollowEachSwitchsRule) {
  Store("UnLHA32", "yes");   // not a number: checked, rewritten as 1
  Store("OpenFolder", int16_t{5});
  Store("Message", "x");
  Store("wfST", int16_t{5});
  Store("FavoOrder", int16_t{0});
  Store("MnWab", int16_t{0});
  Store("MnFavo", "?");
  Load();
  const Settings& s = m.app->settings;
  EXPECT_TRUE(m.app->form1().MnLHA.checked);
  EXPECT_EQ(m.ReadSetting("UnLHA32"), "1");
  EXPECT_EQ(s.openFolderAfterBackup, 0);
  EXPECT_EQ(m.ReadSetting("OpenFolder"), "5");  // only a missing value is written back
  EXPECT_EQ(s.confirmCrossFamilyRestore, 1);
  EXPECT_EQ(s.mainUserOnly, 1);
  EXPECT_EQ(s.saveFavoritesOrder, 0);
  EXPECT_FALSE(m.app->form1().MnWab.checked);
  EXPECT_TRUE(m.app->form1().MnFavo.checked);

  Store("UnLHA32", int16_t{2});
  Store("wfST", "x");
  Load();
  EXPECT_FALSE(m.app->form1().MnLHA.checked);
  EXPECT_EQ(m.ReadSetting("UnLHA32"), "0");
  EXPECT_EQ(m.app->settings.mainUserOnly, 0);
}

TEST_F(SettingsTest, AStoredTextIsComparedAsTheNumberItReadsAs) {
  // Blanks, a sign and a decimal part still make the number; anything else is not a number.
  struct Case {
    const char* stored;
    int16_t openFolder;  // 1 unless another number is stored
    int16_t mainUserOnly;  // 0 unless another number is stored
  };
  for (const Case& c : {Case{"1.0", 1, 1}, Case{" 1 ", 1, 1}, Case{"+1", 1, 1}, Case{"5.0", 0, 1}, Case{" 5", 0, 1},
                        Case{"+3", 0, 1}, Case{"0.0", 0, 0}, Case{"-0", 0, 0}, Case{"4294967297", 0, 1},
                        Case{"1 0", 1, 0}}) {
    Store("OpenFolder", c.stored);
    Store("wfST", c.stored);
    Load();
    EXPECT_EQ(m.app->settings.openFolderAfterBackup, c.openFolder) << c.stored;
    EXPECT_EQ(m.app->settings.mainUserOnly, c.mainUserOnly) << c.stored;
  }
  // "SV_Int" read as 0 keeps the desktop; any other number keeps the picked folder.
  for (const auto& [svInt, picked] : {std::pair{"0.0", false}, {" 0", false}, {"1.0", true}, {"+2", true}}) {
    Store("BackUp Path", "D:\\Save\\Vorn_bkup");
    Store("SV_Int", svInt);
    LoadBackupPath(m.app->reg, m.app->env, m.app->settings);
    EXPECT_EQ(m.app->settings.backupPath, picked ? "D:\\Save\\Vorn_bkup" : m.profile + "\\デスクトップ\\Vorn_bkup") << svInt;
  }
}

}  // namespace
}  // namespace vorn
