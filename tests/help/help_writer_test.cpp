// The help-file writer: its container read back by chmlib, its tables' page rule, and the
// faults in help sources it must refuse with their place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "help/writer/chm_container.h"
#include "help/writer/help_compiler.h"
#include "help/writer/help_tables.h"
#include "tests/help/chm_reader.h"

namespace vorn::test {
namespace {

using help::ContainerFile;
using help::Section;

class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("vorn-help-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::filesystem::path Write(const std::string& name, const std::string& data) const {
    std::ofstream(path_ / name, std::ios::binary) << data;
    return path_ / name;
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string data(size, '\0');
  for (auto& c : data) c = static_cast<char>(random());
  return data;
}

TEST(ChmContainer, ChmlibReadsBackEveryFileWholeAndInParts) {
  // Sizes around the 32 KB frames and the 64 KB reset interval, names in both cases (the
  // directory's sort order), both sections.
  const std::vector<ContainerFile> files = {
      {"/empty.htm", "", Section::Compressed},
      {"/Zebra.htm", "<html>z</html>", Section::Compressed},
      {"/alpha.htm", RandomBytes(32768, 1), Section::Compressed},
      {"/big.bin", RandomBytes(200000, 2), Section::Compressed},
      {"/#SYSTEM", RandomBytes(300, 3), Section::Uncompressed},
      {"/#STRINGS", std::string("\0a\0b\0", 5), Section::Compressed},
      {"/images/Logo.gif", RandomBytes(70000, 4), Section::Compressed},
  };
  TempFolder folder;
  const auto path = folder.Write("t.chm", help::WriteContainer(files, 0x0411));
  ChmReader reader(path.string());
  ASSERT_TRUE(reader.IsOpen());
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    EXPECT_EQ(reader.Read(file.name), file.data);
  }
  const std::string& big = files[3].data;
  for (uint64_t offset : {0u, 32767u, 65536u, 98000u, 131071u, 199999u})
    EXPECT_EQ(reader.Read("/big.bin", offset, 1), big.substr(offset, 1)) << "byte " << offset;
  EXPECT_EQ(reader.Read("/big.bin", 30000, 110000), big.substr(30000, 110000));

  std::vector<std::string> names = reader.Names();
  std::sort(names.begin(), names.end());
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "::DataSpace/Storage/MSCompressed/ControlData"));
  EXPECT_EQ(names.size(), files.size() + 7);  // "/" and the six files of the compressed section
}

TEST(ChmContainer, TooManyFilesForItsDirectoryIsAnError) {
  std::vector<ContainerFile> files;
  for (int i = 0; i < 400; ++i) files.push_back({"/page-with-a-long-name-" + std::to_string(i) + ".htm", "x"});
  EXPECT_THROW(help::WriteContainer(files, 0x0411), std::runtime_error);
}

TEST(HelpTables, NoTextOrRecordStraddlesAPageOfTheTables) {
  // The viewer reads #STRINGS, #URLTBL and #URLSTR in 4 KB pages: a record across a page
  // boundary would be read cut.
  help::HelpBook book;
  book.title = "t";
  book.defaultTopic = "p0.htm";
  book.contentsFile = "a.hhc";
  book.indexFile = "a.hhk";
  book.language = 0x0411;
  for (int i = 0; i < 300; ++i) {
    const std::string file = "p" + std::to_string(i) + ".htm";
    book.topics.push_back({file, std::string(37 + i % 50, 'T') + std::to_string(i), true});
    book.contextMap[i + 1] = file;
  }
  std::map<std::string, std::string> tables;
  for (auto& file : help::HelpTables(book)) tables[file.name] = file.data;
  const std::string& strings = tables["/#STRINGS"];
  auto samePage = [](size_t first, size_t last) { return first / 4096 == last / 4096; };
  auto checkString = [&](uint32_t offset) {
    const size_t end = strings.find('\0', offset);
    ASSERT_NE(end, std::string::npos);
    EXPECT_TRUE(samePage(offset, end)) << "string at " << offset;
  };
  const std::string& topics = tables["/#TOPICS"];
  ASSERT_EQ(topics.size(), 16u * (book.topics.size() + 2));
  for (size_t i = 0; i < book.topics.size(); ++i) {
    checkString(U32At(topics, 16 * i + 4));
    EXPECT_EQ(strings.substr(U32At(topics, 16 * i + 4), book.topics[i].title.size()), book.topics[i].title);
  }
  const std::string& contextMap = tables["/#IVB"];
  ASSERT_EQ(U32At(contextMap, 0), 8u * book.contextMap.size());
  for (size_t at = 4; at < contextMap.size(); at += 8) checkString(U32At(contextMap, at + 4));
  const std::string& urlTable = tables["/#URLTBL"];
  const std::string& urlStrings = tables["/#URLSTR"];
  for (size_t i = 0; i < book.topics.size() + 2; ++i) {
    const uint32_t record = U32At(topics, 16 * i + 8);
    EXPECT_TRUE(samePage(record, record + 11));
    EXPECT_EQ(U32At(urlTable, record + 4), i) << "the URL record names its topic";
    const uint32_t local = U32At(urlTable, record + 8);
    EXPECT_TRUE(samePage(local, urlStrings.find('\0', local + 8)));
  }
}

struct FaultCase {
  const char* what;
  std::string project;                         // the .hhp, after the common options
  std::map<std::string, std::string> files;    // pages etc.
  std::string message;                         // part of the error
};

const std::string kOptions =
    "[OPTIONS]\nContents file=a.hhc\nIndex file=a.hhk\nDefault topic=p.htm\nLanguage=0x411\nTitle=テスト\n";
const std::string kPage = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
                          "<title>ページ</title></head><body>本文</body></html>";
const std::string kContents = "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"p.htm\"></OBJECT></UL>";

std::map<std::string, std::string> GoodFiles() { return {{"p.htm", kPage}, {"a.hhc", kContents}, {"a.hhk", kContents}}; }

std::map<std::string, std::string> With(std::map<std::string, std::string> files, const std::string& name,
                                        const std::string& data) {
  files[name] = data;
  return files;
}

TEST(HelpCompiler, FaultsInTheSourcesAreRefusedWithTheirPlace) {
  const std::string files = "[FILES]\np.htm\n";
  const std::vector<FaultCase> cases = {
      {"alias to an unlisted page", kOptions + files + "[ALIAS]\nIDH_X=q.htm\n[MAP]\n#define IDH_X 5\n", GoodFiles(),
       "names q.htm, which is not in [FILES]"},
      {"context without alias", kOptions + files + "[MAP]\n#define IDH_X 5\n", GoodFiles(), "IDH_X, which has no [ALIAS]"},
      {"alias without context", kOptions + files + "[ALIAS]\nIDH_X=p.htm\n", GoodFiles(), "IDH_X has no context number"},
      {"context mapped twice", kOptions + files + "[ALIAS]\nA=p.htm\nB=p.htm\n[MAP]\n#define A 5\n#define B 5\n",
       GoodFiles(), ".hhp:14: context 5 is mapped twice"},
      {"unsupported option", kOptions + "Full-text search=Yes\n" + files, GoodFiles(), "\"full-text search\" is not supported"},
      {"missing option", "[OPTIONS]\nTitle=t\n" + files, GoodFiles(), "needs Title, Default topic"},
      {"not Japanese", "[OPTIONS]\nContents file=a.hhc\nIndex file=a.hhk\nDefault topic=p.htm\nLanguage=0x409\nTitle=t\n" + files,
       GoodFiles(), "only Japanese"},
      {"missing page", kOptions + files + "q.htm\n", GoodFiles(), "q.htm: cannot be read"},
      {"page without title", kOptions + files, With(GoodFiles(), "p.htm", "<html><meta charset=UTF-8><body>x</body></html>"),
       "p.htm: the page has no title"},
      {"page not declared UTF-8", kOptions + files, With(GoodFiles(), "p.htm", "<html><title>t</title></html>"),
       "p.htm: the page does not declare charset=UTF-8"},
      {"text outside code page 932", kOptions + files, With(GoodFiles(), "p.htm", kPage + "\n<p>ok</p>\n<p>\xF0\x9F\x98\x80</p>\n"),
       "p.htm:3: text that code page 932 cannot hold"},
      {"contents links to an unlisted page", kOptions + files,
       With(GoodFiles(), "a.hhc", "<param name=\"Local\" value=\"gone.htm\">"), "a.hhc: links to gone.htm"},
  };
  for (const auto& fault : cases) {
    SCOPED_TRACE(fault.what);
    TempFolder folder;
    for (const auto& [name, data] : fault.files) folder.Write(name, data);
    const auto project = folder.Write("t.hhp", fault.project);
    try {
      help::CompileHelpFile(help::ReadHelpProject(project), "t");
      ADD_FAILURE() << "accepted";
    } catch (const help::HelpError& error) {
      EXPECT_NE(std::string(error.what()).find(fault.message), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace vorn::test
