// vorn-cli lha as a user runs it: exit status, listing, and a one-line reason on failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "tests/lha/lha_test_support.h"

namespace vorn::lha::test {
namespace {

namespace fs = std::filesystem;

struct Ran {
  int status;
  std::string out, err;
};

Ran RunCli(const fs::path& folder, const std::string& arguments) {
  const fs::path out = folder / "stdout.txt", err = folder / "stderr.txt";
  std::string command = "cd '" + folder.string() + "' && '" VORN_CLI "' " + arguments + " >'" + out.string() +
                        "' 2>'" + err.string() + "'";
  int status = std::system(command.c_str());
  Ran ran{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadHostFile(out), ReadHostFile(err)};
  fs::remove(out);
  fs::remove(err);
  return ran;
}

TEST(VornCliLha, PacksListsTestsAndUnpacksAFolderTree) {
  TempFolder temp;
  WriteHostFile(temp.path() / "src" / "Inbox.dbx", MailLikeText(100000, 1));
  WriteHostFile(temp.path() / "src" / "フォルダ" / "受信.dbx", RandomBytes(5000, 2));
  ASSERT_EQ(RunCli(temp.path(), "lha a mail.lzh src").status, 0);

  Ran list = RunCli(temp.path(), "lha l mail.lzh");
  EXPECT_EQ(list.status, 0);
  EXPECT_NE(list.out.find("-lh5-"), std::string::npos);
  EXPECT_NE(list.out.find("フォルダ\\受信.dbx"), std::string::npos);
  EXPECT_EQ(RunCli(temp.path(), "lha t mail.lzh").status, 0);

  ASSERT_EQ(RunCli(temp.path(), "lha x mail.lzh out").status, 0);
  EXPECT_TRUE(ReadHostFile(temp.path() / "out" / "Inbox.dbx") == ReadHostFile(temp.path() / "src" / "Inbox.dbx"));
  EXPECT_TRUE(ReadHostFile(temp.path() / "out" / "フォルダ" / "受信.dbx") ==
              ReadHostFile(temp.path() / "src" / "フォルダ" / "受信.dbx"));
}

TEST(VornCliLha, FailuresExitNonZeroWithOneLineOfReason) {
  TempFolder temp;
  WriteHostFile(temp.path() / "broken.lzh", "-lh5- this is no archive");
  for (const char* arguments : {"lha x missing.lzh out", "lha t broken.lzh", "lha a new.lzh no-such-folder"}) {
    Ran ran = RunCli(temp.path(), arguments);
    EXPECT_NE(ran.status, 0) << arguments;
    EXPECT_EQ(ran.err.rfind("vorn-cli lha: ", 0), 0u) << ran.err;
    EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
  }
  EXPECT_NE(RunCli(temp.path(), "lha q x").status, 0);
  EXPECT_NE(RunCli(temp.path(), "").status, 0);
}

TEST(VornCliLha, MemberNamesCannotSteerTheTerminalAndFailuresNameTheMember) {
  TempFolder temp;
  WriteHostFile(temp.path() / "evil.lzh", PackFiles({{{"evil\x1b]0;owned\x07.txt"}, "x"}, {{"bell\xc2\x9b.txt"}, "y"}}));
  for (const char* arguments : {"lha l evil.lzh", "lha t evil.lzh", "lha x evil.lzh out"}) {
    Ran ran = RunCli(temp.path(), arguments);
    const std::string shown = ran.out + ran.err;
    EXPECT_EQ(shown.find_first_of("\x1b\x07"), std::string::npos) << arguments;
    EXPECT_EQ(shown.find("\xc2\x9b"), std::string::npos) << arguments;
    EXPECT_NE(shown.find("evil\\x1B]0;owned\\x07.txt"), std::string::npos) << arguments << ": " << shown;
  }

  std::string archive = PackFiles({{{"good.txt"}, "fine"}, {{"broken.txt"}, MailLikeText(20000, 3)}});
  archive[archive.size() - 200] = static_cast<char>(archive[archive.size() - 200] ^ 0x55);
  WriteHostFile(temp.path() / "damaged.lzh", archive);
  Ran ran = RunCli(temp.path(), "lha x damaged.lzh out");
  EXPECT_NE(ran.status, 0);
  EXPECT_EQ(ran.err.rfind("vorn-cli lha: ", 0), 0u) << ran.err;
  EXPECT_NE(ran.err.find("broken.txt"), std::string::npos) << ran.err;
  EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1) << ran.err;
}

}  // namespace
}  // namespace vorn::lha::test
