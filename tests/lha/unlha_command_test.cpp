#include <gtest/gtest.h>

#include "lha/unlha_command.h"

namespace vorn::unlha {
namespace {

TEST(UnlhaCommand, TheArchiveLineOfABackup) {
  auto command = ParseCommand(
      "a -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 \"D:\\Bk\\taro\\Mail.lzh\" \"C:\\Program Files\\Vorn\\\" "
      "\"C:\\Store Root\\\" \"*.*\" \"\"");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->verb, 'a');
  EXPECT_EQ(command->archive, "D:\\Bk\\taro\\Mail.lzh");
  ASSERT_EQ(command->selections.size(), 1u);
  // The program folder is a base folder without patterns; the files come from the Store Root.
  EXPECT_EQ(command->selections[0].baseFolder, "C:\\Store Root\\");
  EXPECT_EQ(command->selections[0].pattern, "*.*");
  EXPECT_TRUE(command->recurse && command->keepPaths && command->allAttributes);
}

TEST(UnlhaCommand, TheExtractLineOfARestore) {
  auto command = ParseCommand("x -d1 -y1 \"D:\\B u\\Mail.lzh\" \"C:\\S r\"\\ *.*");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->verb, 'x');
  EXPECT_EQ(command->archive, "D:\\B u\\Mail.lzh");
  EXPECT_EQ(command->destination, "C:\\S r\\");
  EXPECT_EQ(command->patterns, std::vector<std::string>{"*.*"});
  EXPECT_TRUE(command->overwrite);
}

TEST(UnlhaCommand, ListAndTestTakeAnArchiveAndOptionalPatterns) {
  auto list = ParseCommand("l \"C:\\a.lzh\"");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->patterns, std::vector<std::string>{"*.*"});
  auto test = ParseCommand("t C:\\a.lzh *.dbx");
  ASSERT_TRUE(test);
  EXPECT_EQ(test->patterns, std::vector<std::string>{"*.dbx"});
}

TEST(UnlhaCommand, RefusesWhatItDoesNotKnow) {
  for (const char* line : {
           "", "   ", "q \"C:\\a.lzh\"", "ax \"C:\\a.lzh\"",
           "a -r1 \"C:\\a.lzh\" \"C:\\s\\\" *.*",        // a switch value not accepted
           "x -y1 -a1 \"C:\\a.lzh\" \"C:\\s\"\\ *.*",    // a switch of the other command
           "l -y1 \"C:\\a.lzh\"",                        // no switches for l
           "x -y1 \"C:\\a.lzh\" *.*",                    // no destination
           "x -y1 \"C:\\a.lzh\" \"C:\\s\\\" \"D:\\t\\\"",  // two destinations
           "a \"C:\\a.lzh\" *.*",                        // a pattern without a base folder
           "a \"C:\\a.lzh\" \"C:\\s\\\" sub\\*.*",       // folder parts in a pattern
           "a -r2",                                      // no archive
       })
    EXPECT_FALSE(ParseCommand(line)) << line;
}

TEST(UnlhaCommand, QuotesJoinAndEmptyItemsVanish) {
  auto items = SplitCommandLine("x \"a b\"c \"\" -y1 \"-q\"");
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[1].text, "a bc");
  EXPECT_EQ(items[2].text, "");
  EXPECT_TRUE(items[3].isSwitch);
  EXPECT_FALSE(items[4].isSwitch);  // a quoted item is a name even when it starts with "-"
}

}  // namespace
}  // namespace vorn::unlha
