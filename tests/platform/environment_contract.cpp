#include "tests/platform/service_contracts.h"

namespace vorn {
namespace {

TEST_P(EnvironmentContract, VariablesAreFoundByNameWithoutRegardToCase) {
  GetParam().setVariable(*environment, "VORN_TEST_VALUE", "デスクトップ");
  EXPECT_EQ(environment->Variable("VORN_TEST_VALUE"), "デスクトップ");
  EXPECT_EQ(environment->Variable("vorn_test_value"), "デスクトップ");
  EXPECT_FALSE(environment->Variable("VORN_NEVER_SET").has_value());
}

TEST_P(EnvironmentContract, PathSearchFindsExactlyTheFilesThatExistAlsoWithJapaneseNames) {
  const std::string path = Path("受信トレイ.dbx");
  EXPECT_FALSE(environment->PathSearchFinds(path));
  WriteText("受信トレイ.dbx", "x");
  EXPECT_TRUE(environment->PathSearchFinds(path));
  EXPECT_FALSE(environment->PathSearchFinds(Path("none.dbx")));
  ASSERT_EQ(files->DeleteFile(path), FsResult::Ok);
  EXPECT_FALSE(environment->PathSearchFinds(path));
}

TEST_P(EnvironmentContract, TheProgramFolderHoldsTheProgramWhoseVersionIsRead) {
  EXPECT_TRUE(environment->OsVersion().has_value());
  const std::string folder = environment->ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  const std::string program = folder + "\\" + GetParam().programName;
  EXPECT_TRUE(environment->PathSearchFinds(program));
  EXPECT_EQ(environment->ExecutableVersion(program), GetParam().programVersion);
  EXPECT_FALSE(environment->ExecutableVersion(folder + "\\none.exe").has_value());
}

TEST_P(EnvironmentContract, SpecialFoldersAreFoundByNameWithoutRegardToCase) {
  const std::string favorites = environment->SpecialFolder("Favorites");
  EXPECT_FALSE(favorites.empty());
  EXPECT_EQ(environment->SpecialFolder("favorites"), favorites);
  EXPECT_EQ(environment->SpecialFolder("NoSuchFolder"), "");
}

}  // namespace
}  // namespace vorn
