#include "core/environment_discovery.h"

#include <gtest/gtest.h>

#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

TEST(EnvironmentDiscovery, FamilyKindAndFoldersFollowTheVersion) {
  SimMachine m;
  EnvironmentRecord r;
  DetectOsFamily(m.environment, r);
  DetectDesktop(m.environment, r);
  EXPECT_EQ(r.osFamily, "Windows2000");
  EXPECT_EQ(DetectOsKind(m.environment, r), "WindowsXP");
  EXPECT_EQ(r.systemFolder, "C:\\WINDOWS\\system32");
  EXPECT_EQ(r.desktopFolder, m.profile + "\\デスクトップ");

  m.environment.SetUpWindows98();
  m.environment.osVersion = OsVersionInfo{1, 4, 90};
  EnvironmentRecord me;
  DetectOsFamily(m.environment, me);
  DetectDesktop(m.environment, me);
  EXPECT_EQ(me.osFamily, "Windows98");
  EXPECT_EQ(DetectOsKind(m.environment, me), "WindowsMe");
  EXPECT_EQ(me.systemFolder, "C:\\WINDOWS");
  EXPECT_EQ(me.desktopFolder, "C:\\WINDOWS\\ﾃﾞｽｸﾄｯﾌﾟ");
  EXPECT_EQ(me.userProfileFolder, "");

  m.environment.osVersion = OsVersionInfo{2, 5, 2};
  EnvironmentRecord server;
  DetectOsFamily(m.environment, server);
  EXPECT_EQ(server.osFamily, "Windows2000");
  EXPECT_EQ(DetectOsKind(m.environment, server), "");
  m.environment.osVersion = OsVersionInfo{2, 5, 0};
  EXPECT_EQ(DetectOsKind(m.environment, server), "Windows2000");
  m.environment.osVersion = OsVersionInfo{1, 4, 10};
  EXPECT_EQ(DetectOsKind(m.environment, server), "Windows98");
}

TEST(EnvironmentDiscovery, GuidFromAssociatedIdReordersTheFirstThreeGroups) {
  EXPECT_EQ(GuidTextFromBytes("01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 "),
            "04030201-0605-0807-090A-0B0C0D0E0F10");
  EXPECT_EQ(GuidTextFromBytes(std::string("{1a2b3c4d-0000-0000-0000-000000000000}")),
            "4D3C2B1A-0000-0000-0000-000000000000");
}

TEST(EnvironmentDiscovery, OnlyALeadingVariableIsExpanded) {
  SimMachine m;
  EXPECT_EQ(ExpandLeadingVariable(m.environment, "%ProgramFiles%\\Outlook Express\\msimn.exe"),
            "C:\\Program Files\\Outlook Express\\msimn.exe");
  EXPECT_EQ(ExpandLeadingVariable(m.environment, "C:\\%ProgramFiles%\\x.exe"), "C:\\%ProgramFiles%\\x.exe");
  EXPECT_EQ(ExpandLeadingVariable(m.environment, "%Unset%\\x.exe"), "\\x.exe");
}

TEST(EnvironmentDiscovery, LoadEnvironmentFindsAddressBookFavoritesAndOutlookExpress) {
  SimMachine m;
  EnvironmentRecord r;
  DetectOsFamily(m.environment, r);
  DetectDesktop(m.environment, r);
  m.registry.WriteValue(RegRoot::CurrentUser,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Favorites",
                        {regtype::kExpandSz, {'%', 'U', 'S', 'E', 'R', 'P', 'R', 'O', 'F', 'I', 'L', 'E', '%', '\\',
                                              'F', 'a', 'v', 0}});
  LoadEnvironment(m.environment, m.app->reg, r);
  EXPECT_FALSE(r.addressBookMissing);
  EXPECT_EQ(r.wabFilePath, m.profile + "\\Application Data\\Microsoft\\Address Book\\taro.wab");
  EXPECT_EQ(r.favoritesFolder, m.profile + "\\Fav");
  EXPECT_EQ(r.oeExePath, "C:\\Program Files\\Outlook Express\\msimn.exe");
  EXPECT_EQ(r.oeVersion, "6.0.2900.5512");

  // On the 98 family nothing is expanded and a missing Favorites value asks the shell.
  r.osFamily = kFamily9x;
  LoadEnvironment(m.environment, m.app->reg, r);
  EXPECT_EQ(r.favoritesFolder, "%USERPROFILE%\\Fav");
  EXPECT_EQ(r.oeExePath, "%ProgramFiles%\\Outlook Express\\msimn.exe");
  EXPECT_EQ(r.oeVersion, "");  // no such file: the version is unknown
  m.registry.DeleteKeyTree(RegRoot::CurrentUser, "Software\\Microsoft");
  LoadEnvironment(m.environment, m.app->reg, r);
  EXPECT_TRUE(r.addressBookMissing);
  EXPECT_EQ(r.favoritesFolder, m.profile + "\\Favorites");
}

TEST(EnvironmentDiscovery, IdentitiesListMainFirstAndResolveTheirStoreRoots) {
  SimMachine m;
  m.AddIdentity({"AAAAAAAA-0000-0000-0000-000000000001", "一郎", "C:\\Mail\\A\\"});
  m.AddIdentity({"BBBBBBBB-0000-0000-0000-000000000002", "次郎", "%UserProfile%\\Local Settings\\B\\"});
  m.AddIdentity({"CCCCCCCC-0000-0000-0000-000000000003", "三郎", "%USERPROFILE%\\C"});
  auto subkeys = ListIdentities(m.app->reg);
  ASSERT_EQ(subkeys.size(), 3u);
  EXPECT_EQ(OrderIdentities(subkeys, "BBBBBBBB-0000-0000-0000-000000000002"),
            (std::vector<std::string>{"{BBBBBBBB-0000-0000-0000-000000000002}", "{AAAAAAAA-0000-0000-0000-000000000001}",
                                      "{CCCCCCCC-0000-0000-0000-000000000003}"}));
  EXPECT_EQ(OrderIdentities(subkeys, ""), subkeys);
  EXPECT_FALSE(MainIdentityPresent(subkeys, ""));
  EXPECT_TRUE(MainIdentityPresent(subkeys, "CCCCCCCC-0000-0000-0000-000000000003"));
  EXPECT_EQ(ReadUserName(m.app->reg, subkeys[1]), "次郎");

  EnvironmentRecord r;
  r.userProfileFolder = m.profile;
  EXPECT_EQ(ResolveStoreRoot(m.app->reg, r, subkeys[0]), "C:\\Mail\\A");
  EXPECT_EQ(ResolveStoreRoot(m.app->reg, r, subkeys[1]), m.profile + "\\Local Settings\\B");
  EXPECT_EQ(ResolveStoreRoot(m.app->reg, r, subkeys[2]), "%USERPROFILE%\\C");
  EXPECT_EQ(ResolveStoreRoot(m.app->reg, r, "{missing}"), "");
}

TEST(EnvironmentDiscovery, OeVersionNumberReadsTheFirstFiveDigits) {
  EXPECT_EQ(OeVersionNumber("6.0.2800.1106"), 60280);
  EXPECT_EQ(OeVersionNumber("5.50.4807.1700"), 55048);
  EXPECT_EQ(OeVersionNumber("4.72.3110.0"), 47231);
  EXPECT_EQ(OeVersionNumber("5.0.2314.1300"), 50231);
  EXPECT_EQ(OeVersionNumber(""), 0);
  EXPECT_EQ(OeVersionNumber("5.0.x"), 50);
}

}  // namespace
}  // namespace vorn
