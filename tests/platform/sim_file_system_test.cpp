#include "platform/sim/sim_file_system.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/folder_path.h"
#include "platform/whole_file.h"
#include "platform/wildcard.h"

namespace vorn {
namespace {
namespace fs = std::filesystem;

class SimFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = fs::temp_directory_path() / ("vorn-simfs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(host);
    fs::create_directories(host / "C" / "Mail");
    std::ofstream(host / "C" / "Mail" / "Inbox.dbx") << "inbox";
  }
  void TearDown() override { fs::remove_all(host); }
  fs::path host;
};

TEST_F(SimFileSystemTest, WindowsPathsResolveWithoutRegardToCaseAndStayInsideTheRoot) {
  SimFileSystem files(host);
  EXPECT_TRUE(files.Exists("c:\\MAIL\\inbox.DBX"));
  EXPECT_EQ(files.HostPath("C:\\Mail\\Inbox.dbx"), host / "C" / "Mail" / "Inbox.dbx");
  EXPECT_EQ(files.HostPath("C:\\..\\..\\etc"), host / "C" / "etc");
  EXPECT_TRUE(files.HostPath("Mail\\Inbox.dbx").empty());
  EXPECT_FALSE(files.Exists("\\Mail"));
}

TEST_F(SimFileSystemTest, NamesResolveWithoutRegardToCaseAfterOwnAndOutsideChanges) {
  SimFileSystem files(host);
  EXPECT_FALSE(files.Exists("C:\\Mail\\NEW.eml"));  // builds the folder's name index
  ASSERT_NE(files.OpenWrite("C:\\Mail\\new.eml"), nullptr);
  EXPECT_TRUE(files.Exists("C:\\Mail\\NEW.eml"));
  ASSERT_EQ(files.DeleteFile("C:\\MAIL\\New.EML"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Mail\\new.eml"));
  std::ofstream(host / "C" / "Mail" / "Outside.dbx") << "made by another program";
  // Another program's change shows in the folder's time (set apart here: the clock may not have ticked).
  fs::last_write_time(host / "C" / "Mail", fs::last_write_time(host / "C" / "Mail") + std::chrono::seconds(1));
  EXPECT_TRUE(files.Exists("C:\\Mail\\OUTSIDE.DBX"));
}

TEST_F(SimFileSystemTest, ReadOnlyAndInUseFilesRefuseChanges) {
  SimFileSystem files(host);
  ASSERT_TRUE(files.SetAttributes("C:\\Mail\\Inbox.dbx", fileattr::kReadOnly));
  EXPECT_EQ(files.DeleteFile("C:\\Mail\\Inbox.dbx"), FsResult::AccessDenied);
  EXPECT_EQ(files.OpenWrite("C:\\Mail\\Inbox.dbx"), nullptr);
  EXPECT_EQ(files.MoveFile("C:\\Mail\\Inbox.dbx", "C:\\Mail\\In.dbx"), FsResult::Ok);
  EXPECT_EQ(*files.Attributes("C:\\Mail\\In.dbx"), fileattr::kReadOnly);
  files.MarkInUse("C:\\Mail\\In.dbx");
  EXPECT_EQ(files.MoveFile("C:\\Mail\\In.dbx", "C:\\Mail\\Inbox.dbx"), FsResult::AccessDenied);
}

TEST_F(SimFileSystemTest, DrivesAreVolumesOfTheirOwnAndLinksAreReparsePoints) {
  SimFileSystem files(host);
  fs::create_directories(host / "D");
  EXPECT_EQ(files.MoveFile("C:\\Mail\\Inbox.dbx", "D:\\Inbox.dbx"), FsResult::Failed);
  EXPECT_TRUE(files.Exists("C:\\Mail\\Inbox.dbx"));
  EXPECT_EQ(files.CopyFile("C:\\Mail\\Inbox.dbx", "D:\\Inbox.dbx", false), FsResult::Ok);

  fs::create_directory_symlink(host / "D", host / "C" / "Mail" / "Linked");
  fs::create_symlink(host / "C" / "Mail" / "Inbox.dbx", host / "C" / "Mail" / "link.dbx");
  for (const auto& entry : files.List("C:\\Mail", "*"))
    EXPECT_EQ((entry.attributes & fileattr::kReparsePoint) != 0, entry.name != "Inbox.dbx") << entry.name;
  EXPECT_TRUE(*files.Attributes("C:\\Mail\\Linked") & fileattr::kDirectory);
  EXPECT_FALSE(*files.Attributes("C:\\Mail\\Inbox.dbx") & fileattr::kReparsePoint);
  // Removing a whole folder removes the links in it, not what they point at.
  EXPECT_TRUE(DeleteTree(files, "C:\\Mail"));
  EXPECT_FALSE(files.Exists("C:\\Mail"));
  EXPECT_TRUE(files.Exists("D:\\Inbox.dbx"));
}

TEST(Wildcard, MatchesAsWindowsDoes) {
  EXPECT_TRUE(WildcardMatch("*.dbx", "Inbox.DBX"));
  EXPECT_TRUE(WildcardMatch("*.*", "README"));
  EXPECT_TRUE(WildcardMatch("a?c*", "abcdef"));
  EXPECT_FALSE(WildcardMatch("*.dbx", "Inbox.dbx.bak"));
  EXPECT_FALSE(WildcardMatch("*.reg", "x.re"));
  EXPECT_TRUE(WildcardMatch("In?ox.*", "inbox.dbx"));
  EXPECT_FALSE(WildcardMatch("a?", "a"));
}

// Not a contract case: Wine shows a Unix link to a file as that file, so deleting it there
// deletes the target; on Windows the link itself goes, as here.
TEST_F(SimFileSystemTest, DeletingALinkToAFileOrToNothingLeavesTheTarget) {
  SimFileSystem files(host);
  fs::create_symlink(host / "C" / "Mail" / "Inbox.dbx", host / "C" / "Mail" / "link.dbx");
  fs::create_symlink(host / "C" / "Mail" / "none.dbx", host / "C" / "Mail" / "dangling.dbx");
  for (const char* link : {"C:\\Mail\\link.dbx", "C:\\Mail\\dangling.dbx"}) {
    EXPECT_EQ(files.DeleteFile(link), FsResult::Ok) << link;
    EXPECT_FALSE(files.Attributes(link).has_value()) << link;
  }
  EXPECT_EQ(ReadWholeFile(files, "C:\\Mail\\Inbox.dbx"), "inbox");
  EXPECT_FALSE(fs::exists(host / "C" / "Mail" / "none.dbx"));
}

}  // namespace
}  // namespace vorn
