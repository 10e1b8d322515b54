#include "tools/temp_file_cleanup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/tools/tool_machine.h"

namespace vorn::test {
namespace {

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(TemporaryFiles, OnlyEmptyFilesDirectlyInTheCachesSubFoldersGo) {
  ToolMachine t;
  const std::string cache = t.m.profile + "\\Local Settings\\Temporary Internet Files";
  const std::string ie5 = cache + "\\Content.IE5";
  t.m.app->reg.RegWriteValue(RegRoot::CurrentUser, kShellFolders, "Cache", cache);
  for (const char* gone : {"\\AB12CD34\\a[1].gif", "\\AB12CD34\\b[1].htm", "\\ZZ99YY88\\c[1].css"})
    t.m.CreateFile(ie5 + gone, "");
  const std::vector<std::string> kept = {"\\AB12CD34\\full[1].htm", "\\index.dat", "\\AB12CD34\\deeper\\empty.txt",
                                         "\\ZZ99YY88\\locked[1].gif"};
  t.m.CreateFile(ie5 + kept[0], "<html>");
  for (size_t i = 1; i < kept.size(); ++i) t.m.CreateFile(ie5 + kept[i], "");
  t.files.SetAttributes(ie5 + kept[3], fileattr::kReadOnly);
  // A link out of the cache: neither the linked folder's files nor a linked empty file are touched.
  t.m.CreateFile("C:\\Elsewhere\\precious.txt", "");
  namespace fs = std::filesystem;
  fs::create_directory_symlink(t.files.HostPath("C:\\Elsewhere"), t.files.HostPath(ie5) / "LINKED00");
  fs::create_symlink(t.files.HostPath("C:\\Elsewhere\\precious.txt"), t.files.HostPath(ie5 + "\\AB12CD34") / "l.txt");

  RunContext context = t.Context();
  EXPECT_EQ(DeleteEmptyTemporaryFiles(context), 3);
  for (const char* gone : {"\\AB12CD34\\a[1].gif", "\\AB12CD34\\b[1].htm", "\\ZZ99YY88\\c[1].css"})
    EXPECT_FALSE(t.files.Exists(ie5 + gone)) << gone;
  for (const auto& path : kept) EXPECT_TRUE(t.files.Exists(ie5 + path)) << path;
  EXPECT_TRUE(t.files.Exists("C:\\Elsewhere\\precious.txt"));
  EXPECT_TRUE(fs::is_symlink(t.files.HostPath(ie5 + "\\AB12CD34") / "l.txt"));
  EXPECT_EQ(t.m.ui.messages.back(), (MessageSpec{"3 個のファイルを削除しました。", "一時ファイルの削除", MsgIcon::Information,
                                                 MsgButtons::Ok, false, "", 0, 0x1234}));
  EXPECT_EQ(t.m.ui.waitCursor, (std::vector<bool>{true, false}));

  EXPECT_EQ(DeleteEmptyTemporaryFiles(context), 0);  // only non-empty files are left
  EXPECT_EQ(t.m.ui.messages.back().text, "0 個のファイルを削除しました。");
}

TEST(TemporaryFiles, ALinkAtAnyLevelKeepsTheFilesItPointsAt) {
  namespace fs = std::filesystem;
  const std::string cache = "C:\\Profile\\Local Settings\\Temporary Internet Files";
  const std::string ie5 = cache + "\\Content.IE5";
  const std::string empty = ie5 + "\\AB12CD34\\e[1].gif";
  const struct {
    std::string level;
    bool refused;  // on the way to the cache: nothing is looked at, and the message says why
  } levels[] = {{"C:\\Profile\\Local Settings", true}, {cache, true}, {ie5, true}, {ie5 + "\\AB12CD34", false},
                {empty, false}};
  for (const auto& [level, refused] : levels) {
    ToolMachine t;
    t.m.app->reg.RegWriteValue(RegRoot::CurrentUser, kShellFolders, "Cache", cache);
    t.m.CreateFile(empty, "");
    // The level moves into a project folder and a link takes its place.
    const fs::path moved = t.files.HostPath("C:\\Project") / "moved";
    fs::create_directories(moved.parent_path());
    fs::rename(t.files.HostPath(level), moved);
    fs::create_symlink(moved, t.files.HostPath(level));

    RunContext context = t.Context();
    EXPECT_EQ(DeleteEmptyTemporaryFiles(context), 0) << level;
    EXPECT_TRUE(t.files.Exists(empty)) << level;
    const MessageSpec& said = t.m.ui.messages.back();
    EXPECT_EQ(said.icon, refused ? MsgIcon::Warning : MsgIcon::Information) << level;
    EXPECT_EQ(said.text.find(level) != std::string::npos, refused) << said.text;
    EXPECT_EQ(said.text.rfind("0 個のファイルを削除しました。", 0), 0u) << said.text;
  }
}

TEST(TemporaryFiles, NoCacheValueOrFolderReportsZero) {
  ToolMachine t;
  RunContext context = t.Context();
  EXPECT_EQ(DeleteEmptyTemporaryFiles(context), 0);
  t.m.app->reg.RegWriteValue(RegRoot::CurrentUser, kShellFolders, "Cache", "C:\\Gone");
  EXPECT_EQ(DeleteEmptyTemporaryFiles(context), 0);
  ASSERT_EQ(t.m.ui.messages.size(), 2u);
  EXPECT_EQ(t.m.ui.messages[1].text, "0 個のファイルを削除しました。");
  EXPECT_TRUE(t.m.ui.waitCursor.empty());
}

}  // namespace
}  // namespace vorn::test
