#include "help/writer/help_compiler.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>

#include "help/writer/chm_container.h"
#include "help/writer/help_tables.h"
#include "platform/codepage.h"

namespace vorn::help {
namespace {

constexpr uint32_t kJapanese = 0x0411;

bool EndsWith(const std::string& name, const std::string& ending) {
  return name.size() >= ending.size() &&
         std::equal(ending.rbegin(), ending.rend(), name.rbegin(),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                std::tolower(static_cast<unsigned char>(b)); });
}

bool IsPage(const std::string& name) { return EndsWith(name, ".htm") || EndsWith(name, ".html"); }
bool IsText(const std::string& name) {
  return IsPage(name) || EndsWith(name, ".hhc") || EndsWith(name, ".hhk") || EndsWith(name, ".css");
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw HelpError(path.string() + ": cannot be read");
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// UTF-8 to code page 932, refusing what the code page cannot hold (it would show as "?").
std::string ToCodePage932(const std::string& utf8, const std::string& where) {
  std::istringstream lines(utf8);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number)
    if (Cp932ToUtf8(Utf8ToCp932(line)) != line)
      throw HelpError(where + ":" + std::to_string(number) + ": text that code page 932 cannot hold");
  return Utf8ToCp932(utf8);
}

std::string PageTitle(const std::string& page, const std::string& where) {
  static const std::regex title("<title>\\s*([^<]*?)\\s*</title>", std::regex::icase);
  std::smatch match;
  if (!std::regex_search(page, match, title) || match[1].length() == 0) throw HelpError(where + ": the page has no title");
  return match[1];
}

// The sources say they are UTF-8; the packed pages say what they have become.
std::string DeclareShiftJis(const std::string& page, const std::string& where) {
  static const std::regex charset("charset\\s*=\\s*utf-8", std::regex::icase);
  if (!std::regex_search(page, charset)) throw HelpError(where + ": the page does not declare charset=UTF-8");
  return std::regex_replace(page, charset, "charset=Shift_JIS");
}

// The pages a contents or index file links to.
std::vector<std::string> SitemapLinks(const std::string& sitemap) {
  static const std::regex local("<param\\s+name\\s*=\\s*\"Local\"\\s+value\\s*=\\s*\"([^\"#]*)", std::regex::icase);
  std::vector<std::string> links;
  for (std::sregex_iterator it(sitemap.begin(), sitemap.end(), local), end; it != end; ++it) links.push_back((*it)[1]);
  return links;
}

}  // namespace

std::string CompileHelpFile(const HelpProject& project, const std::string& compiledName) {
  std::vector<std::string> names = project.files;
  for (const auto& extra : {project.contentsFile, project.indexFile})
    if (std::find(names.begin(), names.end(), extra) == names.end()) names.push_back(extra);

  // The pages are converted to code page 932 only, so the help must be Japanese.
  if (project.language != kJapanese) throw HelpError("Language: only Japanese (0x411) help files are written");
  HelpBook book;
  book.language = project.language;
  const auto codePage = ToCodePage932;
  book.title = codePage(project.title, "Title");
  book.defaultFont = codePage(project.defaultFont, "Default Font");
  book.defaultTopic = project.defaultTopic;
  book.contentsFile = project.contentsFile;
  book.indexFile = project.indexFile;
  book.compiledName = compiledName;
  std::transform(book.compiledName.begin(), book.compiledName.end(), book.compiledName.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  book.contextMap = project.contextMap;

  std::vector<ContainerFile> packed;
  std::map<std::string, std::string> sitemaps;
  for (const auto& name : names) {
    const std::string where = (project.folder / name).string();
    std::string data = ReadFile(project.folder / name);
    if (IsPage(name)) {
      book.topics.push_back({name, codePage(PageTitle(data, where), where), false});
      data = DeclareShiftJis(data, where);
    }
    if (name == project.contentsFile || name == project.indexFile) sitemaps[name] = data;
    if (IsText(name)) data = codePage(data, where);
    packed.push_back({"/" + name, std::move(data), Section::Compressed});
  }

  const std::set<std::string> known(names.begin(), names.end());
  std::set<std::string> inContents;
  for (const auto& [sitemap, text] : sitemaps) {
    for (const auto& link : SitemapLinks(text)) {
      if (!known.count(link)) throw HelpError((project.folder / sitemap).string() + ": links to " + link + ", which is not in [FILES]");
      if (sitemap == project.contentsFile) inContents.insert(link);
    }
  }
  for (auto& topic : book.topics) topic.inContents = inContents.count(topic.file) > 0;

  for (auto& table : HelpTables(book)) packed.push_back(std::move(table));
  return WriteContainer(packed, project.language);
}

}  // namespace vorn::help
