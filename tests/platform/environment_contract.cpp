#include "tests/platform/service_contracts.h"

namespace vorn {
namespace {

TEST_P(EnvironmentContract, VariablesAreFoundByNameWithoutRegardToCase) {
  GetParam().setVariable(*service, "VORN_TEST_VALUE", "デスクトップ");
  EXPECT_EQ(service->Variable("VORN_TEST_VALUE"), "デスクトップ");
  EXPECT_EQ(service->Variable("vorn_test_value"), "デスクトップ");
  EXPECT_FALSE(service->Variable("VORN_NEVER_SET").has_value());
}

TEST_P(EnvironmentContract, PathSearchFindsExactlyTheFilesThatExistAlsoWithJapaneseNames) {
  const std::string path = Path("受信トレイ.dbx");
  EXPECT_FALSE(service->PathSearchFinds(path));
  WriteText("受信トレイ.dbx", "x");
  EXPECT_TRUE(service->PathSearchFinds(path));
  EXPECT_FALSE(service->PathSearchFinds(Path("none.dbx")));
  ASSERT_EQ(files->DeleteFile(path), FsResult::Ok);
  EXPECT_FALSE(service->PathSearchFinds(path));
}

TEST_P(EnvironmentContract, TheProgramFolderHoldsTheProgramWhoseVersionIsRead) {
  EXPECT_TRUE(service->OsVersion().has_value());
  const std::string folder = service->ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  const std::string program = folder + "\\" + GetParam().programName;
  EXPECT_TRUE(service->PathSearchFinds(program));
  EXPECT_EQ(service->ExecutableVersion(program), GetParam().programVersion);
  EXPECT_FALSE(service->ExecutableVersion(folder + "\\none.exe").has_value());
}

TEST_P(EnvironmentContract, SpecialFoldersAreFoundByNameWithoutRegardToCase) {
  const std::string favorites = service->SpecialFolder("Favorites");
  EXPECT_FALSE(favorites.empty());
  EXPECT_EQ(service->SpecialFolder("favorites"), favorites);
  EXPECT_EQ(service->SpecialFolder("NoSuchFolder"), "");
}

}  // namespace
}  // namespace vorn
