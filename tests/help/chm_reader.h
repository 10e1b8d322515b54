#pragma once
// A compiled help file read with chmlib, the independent reader the tests trust.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace vorn::test {

class ChmReader {
 public:
  explicit ChmReader(const std::string& path);
  ~ChmReader();
  ChmReader(const ChmReader&) = delete;
  ChmReader& operator=(const ChmReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // The whole file, or part of it from `offset`; nullopt when it is not there or unreadable.
  std::optional<std::string> Read(const std::string& name, uint64_t offset = 0, std::optional<uint64_t> length = {});
  std::vector<std::string> Names();

  // The tables of the viewer, decoded. Texts stay in the file's code page.
  std::map<uint32_t, std::string> ContextMap();         // #IVB through #STRINGS
  std::map<std::string, std::string> TopicTitles();     // #TOPICS: file -> title
  std::map<uint16_t, std::string> SystemEntries();      // #SYSTEM: code -> data

 private:
  std::string String(uint32_t offset);
  chmFile* file_;
  std::optional<std::string> strings_;
};

uint32_t U32At(const std::string& data, size_t offset);
// The pages a contents or index file links to.
std::vector<std::string> SitemapLinks(const std::string& sitemap);
std::string PageTitle(const std::string& page);

}  // namespace vorn::test
