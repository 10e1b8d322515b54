// The help file the build made, read with chmlib, against the help contexts the program's code
// names: every one must open an existing page with a title, and every page must be reachable
// from the table of contents.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "platform/codepage.h"
#include "tests/help/chm_reader.h"
#include "tests/help/help_context_names.h"

namespace vorn::test {
namespace {

bool IsPage(const std::string& name) { return name.size() > 4 && name.ends_with(".htm"); }

std::string SourcePage(const std::string& name) {
  std::ifstream in(std::string(VORN_SOURCE_DIR) + "/help/pages/" + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class HelpFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(help.IsOpen()) << "chmlib cannot open " << VORN_HELP_FILE; }
  ChmReader help{VORN_HELP_FILE};
};

TEST(HelpContexts, TheCodeNamesTheContextsOfTheHelpProject) {
  const auto contexts = CodeHelpContexts(VORN_SOURCE_DIR);
  EXPECT_FALSE(contexts.empty());
  EXPECT_EQ(contexts, ProjectHelpContexts(VORN_SOURCE_DIR));
}

TEST_F(HelpFileTest, EveryContextTheCodeNamesOpensATitledTopic) {
  const auto contextMap = help.ContextMap();
  const auto topicTitles = help.TopicTitles();
  for (const auto& [name, context] : CodeHelpContexts(VORN_SOURCE_DIR)) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(contextMap.count(static_cast<uint32_t>(context))) << "the help file has no topic for it";
    const std::string topic = contextMap.at(static_cast<uint32_t>(context));
    const auto page = help.Read("/" + topic);
    ASSERT_TRUE(page) << topic << " is not in the help file";
    const std::string title = PageTitle(*page);
    EXPECT_FALSE(title.empty()) << topic << " has no title";
    EXPECT_EQ(Cp932ToUtf8(title).find("\xEF\xBF\xBD"), std::string::npos) << "the title is not code page 932";
    EXPECT_EQ(topicTitles.count(topic) ? topicTitles.at(topic) : "", title)
        << "the topic table does not give the page's title";
  }
}

TEST_F(HelpFileTest, EveryPageIsInTheContentsAndTheContentsAndIndexLinkOnlyToPages) {
  const auto system = help.SystemEntries();
  ASSERT_TRUE(system.count(0) && system.count(1)) << "#SYSTEM names no contents or no index file";
  const auto contents = help.Read("/" + std::string(system.at(0).c_str()));
  const auto index = help.Read("/" + std::string(system.at(1).c_str()));
  ASSERT_TRUE(contents && index);
  std::set<std::string> pages;
  for (const auto& name : help.Names())
    if (IsPage(name)) pages.insert(name.substr(1));
  ASSERT_FALSE(pages.empty());

  const auto inContents = SitemapLinks(*contents);
  const auto inIndex = SitemapLinks(*index);
  for (const auto& page : pages)
    EXPECT_NE(std::find(inContents.begin(), inContents.end(), page), inContents.end()) << page << " is not in the contents";
  EXPECT_FALSE(inIndex.empty());
  for (const auto& links : {inContents, inIndex})
    for (const auto& link : links) EXPECT_TRUE(pages.count(link)) << link << " is linked but not a page of the file";
}

TEST_F(HelpFileTest, TheBookIsJapaneseAndOpensAtAPageOfIt) {
  const auto system = help.SystemEntries();
  ASSERT_EQ(system.count(4), 1u);
  EXPECT_EQ(U32At(system.at(4), 0), 0x0411u) << "language";
  EXPECT_EQ(U32At(system.at(4), 4), 1u) << "double-byte text";
  const std::string defaultTopic = system.count(2) ? system.at(2).c_str() : "";
  EXPECT_TRUE(help.Read("/" + defaultTopic)) << "the default topic " << defaultTopic << " is missing";
  EXPECT_FALSE(Cp932ToUtf8(system.count(3) ? system.at(3).c_str() : "").empty()) << "no title";
  EXPECT_STREQ(system.count(6) ? system.at(6).c_str() : "", "vorn4") << "the compiled file's name";

  std::ifstream file(VORN_HELP_FILE, std::ios::binary);
  std::string header(0x60, '\0');
  file.read(header.data(), static_cast<std::streamsize>(header.size()));
  EXPECT_EQ(U32At(header, 0x14), 0x0411u) << "the container's language";
}

TEST_F(HelpFileTest, PagesAreTheSourcesInCodePage932AndSaySo) {
  for (const auto& name : help.Names()) {
    if (!IsPage(name)) continue;
    SCOPED_TRACE(name);
    const std::string packed = help.Read(name).value_or("");
    const std::string decoded = Cp932ToUtf8(packed);
    EXPECT_EQ(decoded.find("\xEF\xBF\xBD"), std::string::npos) << "not code page 932";
    EXPECT_NE(packed.find("charset=Shift_JIS"), std::string::npos);
    const std::string source = std::regex_replace(SourcePage(name.substr(1)), std::regex("charset=UTF-8"), "charset=Shift_JIS");
    EXPECT_EQ(decoded, source);
  }
}

}  // namespace
}  // namespace vorn::test
