#include "tests/help/chm_reader.h"

#include <chm_lib.h>

#include <regex>

namespace vorn::test {

uint32_t U32At(const std::string& data, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data.at(offset + i));
  return value;
}

ChmReader::ChmReader(const std::string& path) : file_(chm_open(path.c_str())) {}
ChmReader::~ChmReader() {
  if (file_) chm_close(file_);
}

std::optional<std::string> ChmReader::Read(const std::string& name, uint64_t offset, std::optional<uint64_t> length) {
  chmUnitInfo unit{};
  if (!file_ || chm_resolve_object(file_, name.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  if (offset > unit.length) return std::nullopt;
  const uint64_t wanted = length.value_or(unit.length - offset);
  std::string data(wanted, '\0');
  if (wanted > 0 && chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(data.data()), offset,
                                        static_cast<LONGINT64>(wanted)) != static_cast<LONGINT64>(wanted))
    return std::nullopt;
  return data;
}

std::vector<std::string> ChmReader::Names() {
  std::vector<std::string> names;
  auto collect = [](chmFile*, chmUnitInfo* unit, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(unit->path);
    return CHM_ENUMERATOR_CONTINUE;
  };
  if (file_) chm_enumerate(file_, CHM_ENUMERATE_ALL, collect, &names);
  return names;
}

std::string ChmReader::String(uint32_t offset) {
  if (!strings_) strings_ = Read("/#STRINGS").value_or("");
  if (offset >= strings_->size()) return "";
  return strings_->substr(offset, strings_->find('\0', offset) - offset);
}

std::map<uint32_t, std::string> ChmReader::ContextMap() {
  std::map<uint32_t, std::string> map;
  const std::string ivb = Read("/#IVB").value_or("");
  if (ivb.size() < 4) return map;
  const uint32_t size = U32At(ivb, 0);
  for (size_t at = 4; at + 8 <= 4 + size && at + 8 <= ivb.size(); at += 8) map[U32At(ivb, at)] = String(U32At(ivb, at + 4));
  return map;
}

std::map<std::string, std::string> ChmReader::TopicTitles() {
  std::map<std::string, std::string> titles;
  const std::string topics = Read("/#TOPICS").value_or("");
  const std::string urlTable = Read("/#URLTBL").value_or("");
  const std::string urlStrings = Read("/#URLSTR").value_or("");
  for (size_t at = 0; at + 16 <= topics.size(); at += 16) {
    const uint32_t title = U32At(topics, at + 4);
    const uint32_t urlRecord = U32At(topics, at + 8);
    if (title == 0xFFFFFFFF || urlRecord + 12 > urlTable.size()) continue;
    const size_t local = U32At(urlTable, urlRecord + 8) + 8;
    if (local >= urlStrings.size()) continue;
    titles[urlStrings.substr(local, urlStrings.find('\0', local) - local)] = String(title);
  }
  return titles;
}

std::map<uint16_t, std::string> ChmReader::SystemEntries() {
  std::map<uint16_t, std::string> entries;
  const std::string system = Read("/#SYSTEM").value_or("");
  for (size_t at = 4; at + 4 <= system.size();) {
    const uint16_t code = static_cast<uint16_t>(U32At(system, at) & 0xFFFF);
    const uint16_t length = static_cast<uint16_t>(U32At(system, at) >> 16);
    entries[code] = system.substr(at + 4, length);
    at += 4 + length;
  }
  return entries;
}

std::vector<std::string> SitemapLinks(const std::string& sitemap) {
  static const std::regex local("<param\\s+name=\"Local\"\\s+value=\"([^\"]*)\"", std::regex::icase);
  std::vector<std::string> links;
  for (std::sregex_iterator it(sitemap.begin(), sitemap.end(), local), end; it != end; ++it) links.push_back((*it)[1]);
  return links;
}

std::string PageTitle(const std::string& page) {
  static const std::regex title("<title>([^<]*)</title>", std::regex::icase);
  std::smatch match;
  return std::regex_search(page, match, title) ? std::string(match[1]) : "";
}

}  // namespace vorn::test
