#include "help/writer/help_tables.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "help/writer/byte_builder.h"

namespace vorn::help {
namespace {

// The viewer reads these tables in pages of 4 KB; no record may straddle two pages.
constexpr uint32_t kPage = 4096;
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr char kWindowName[] = "main";
constexpr char kWriterName[] = "Vorn help writer 1";

void PadForRecord(ByteBuilder& out, size_t recordSize) {
  if (recordSize > kPage) throw std::runtime_error("a help table record is longer than a page");
  const size_t offsetInPage = out.size() % kPage;
  if (offsetInPage + recordSize > kPage) out.Zeros(kPage - offsetInPage);
}

// #STRINGS: NUL-terminated texts found by their offset; offset 0 is the empty text.
class StringTable {
 public:
  StringTable() { out_.U8(0); }
  uint32_t Add(const std::string& text) {
    if (text.empty()) return 0;
    auto [it, added] = offsets_.emplace(text, 0);
    if (added) {
      PadForRecord(out_, text.size() + 1);
      it->second = static_cast<uint32_t>(out_.size());
      out_.CString(text);
    }
    return it->second;
  }
  std::string Take() { return out_.Take(); }

 private:
  ByteBuilder out_;
  std::map<std::string, uint32_t> offsets_;
};

bool IsDoubleByteLanguage(uint32_t language) {
  const uint32_t primary = language & 0x3FF;
  return primary == 0x11 || primary == 0x04 || primary == 0x12;  // Japanese, Chinese, Korean
}

uint32_t Stamp(const HelpBook& book) {
  uint32_t hash = 2166136261u;
  for (const auto& topic : book.topics)
    for (unsigned char c : topic.file + topic.title) hash = (hash ^ c) * 16777619u;
  return hash;
}

void SystemEntry(ByteBuilder& out, uint16_t code, const std::string& data) {
  out.U16(code);
  out.U16(static_cast<uint16_t>(data.size()));
  out.Bytes(data);
}

std::string Text(const std::string& text) { return text + '\0'; }

std::string Number(uint32_t value) {
  ByteBuilder out;
  out.U32(value);
  return out.Take();
}

// The index header: counts and the look of the contents tree (all defaults).
std::string IndexHeader(const HelpBook& book, uint32_t topicCount) {
  ByteBuilder out;
  out.Bytes("T#SM");
  out.U32(Stamp(book));
  out.U32(1);
  out.U32(topicCount);
  out.U32(0);
  out.U32(kNone);  // no image list
  out.U32(0);
  out.U32(0);  // the contents tree is not drawn as folders
  for (int i = 0; i < 8; ++i) out.U32(kNone);  // colours, font, window styles, frame and window names
  out.U32(0);  // no information types
  out.U32(1);
  out.U32(0);  // no merged files
  out.U32(0);
  out.Zeros(kPage - out.size());
  return out.Take();
}

std::string SystemFile(const HelpBook& book, const std::string& indexHeader) {
  ByteBuilder out;
  out.U32(3);
  SystemEntry(out, 10, Number(Stamp(book)));
  SystemEntry(out, 9, Text(kWriterName));
  ByteBuilder locale;
  locale.U32(book.language);
  locale.U32(IsDoubleByteLanguage(book.language) ? 1 : 0);
  locale.U32(0);  // no full-text search
  locale.U32(0);  // no binary keyword index
  locale.U32(0);  // no associative links
  locale.Zeros(16);  // file time and two unknown fields
  SystemEntry(out, 4, locale.str());
  SystemEntry(out, 2, Text(book.defaultTopic));
  SystemEntry(out, 3, Text(book.title));
  if (!book.defaultFont.empty()) SystemEntry(out, 16, Text(book.defaultFont));
  SystemEntry(out, 6, Text(book.compiledName));
  SystemEntry(out, 5, Text(kWindowName));
  SystemEntry(out, 0, Text(book.contentsFile));
  SystemEntry(out, 1, Text(book.indexFile));
  SystemEntry(out, 12, Number(0));  // information types
  SystemEntry(out, 13, indexHeader);
  SystemEntry(out, 15, Number(0));  // their checksum
  return out.Take();
}

// The one window type, HH_WINTYPE as stored (196 bytes, texts as #STRINGS offsets): three
// panes with the contents and index tabs, the usual buttons.
std::string WindowsFile(const HelpBook& book, StringTable& strings) {
  constexpr uint32_t kParamProperties = 1 << 1, kParamToolbarFlags = 1 << 8;
  constexpr uint32_t kTriPane = 1 << 5, kAutoSync = 1 << 8, kUserPosition = 1 << 18;
  constexpr uint32_t kButtonExpand = 1 << 1, kButtonBack = 1 << 2, kButtonForward = 1 << 3, kButtonHome = 1 << 6,
                     kButtonOptions = 1 << 12, kButtonPrint = 1 << 13;
  ByteBuilder out;
  out.U32(1);    // window types
  out.U32(196);  // size of one
  out.U32(196);
  out.U32(0);  // texts are ANSI
  out.U32(strings.Add(kWindowName));
  out.U32(kParamProperties | kParamToolbarFlags);
  out.U32(kTriPane | kAutoSync | kUserPosition);
  out.U32(strings.Add(book.title));
  out.Zeros(4 * 2 + 16 + 4);  // styles, extended styles, position, show state
  out.Zeros(4 * 6);           // window handles and information types, set at run time
  out.Zeros(4 + 16);          // navigation pane width, topic pane position
  out.U32(strings.Add(book.contentsFile));
  out.U32(strings.Add(book.indexFile));
  out.U32(strings.Add(book.defaultTopic));  // the page shown first
  out.U32(strings.Add(book.defaultTopic));  // the Home button
  out.U32(kButtonExpand | kButtonBack | kButtonForward | kButtonHome | kButtonOptions | kButtonPrint);
  out.U32(0);     // navigation pane open
  out.U32(0);     // contents tab first
  out.U32(0);     // tabs at the top
  out.U32(0);     // notification id
  out.Zeros(20);  // tab order
  out.U32(0);     // history length
  out.Zeros(4 * 4 + 16 + 4 + 4);  // jump buttons, minimum size, information types, custom tabs
  if (out.size() != 8 + 196) throw std::logic_error("window type record has the wrong size");
  return out.Take();
}

}  // namespace

uint32_t UrlHash(const std::string& url) {
  uint32_t hash = 0;
  for (char ch : url) {
    const int c = static_cast<signed char>(ch);
    const int value = c == '/' ? 0x2C : c <= 'Z' ? c - 0x30 : c - 0x50;
    hash = hash * 43 + static_cast<uint32_t>(value);
  }
  return hash == 0 ? 1 : hash;
}

std::vector<ContainerFile> HelpTables(const HelpBook& book) {
  StringTable strings;
  // Topics: the pages, then the contents and index files, which are not pages of their own.
  std::vector<Topic> topics = book.topics;
  topics.push_back({book.contentsFile, "", false});
  topics.push_back({book.indexFile, "", false});

  ByteBuilder urlStrings;
  urlStrings.U8(0);
  struct UrlRecord {
    uint32_t hash, topic, urlString;
  };
  std::vector<UrlRecord> urls;
  for (uint32_t i = 0; i < topics.size(); ++i) {
    PadForRecord(urlStrings, 8 + topics[i].file.size() + 1);
    urls.push_back({UrlHash(topics[i].file), i, static_cast<uint32_t>(urlStrings.size())});
    urlStrings.U32(0);  // no URL outside the file
    urlStrings.U32(0);  // no frame name
    urlStrings.CString(topics[i].file);
  }
  std::sort(urls.begin(), urls.end(),
            [](const UrlRecord& a, const UrlRecord& b) { return std::tie(a.hash, a.topic) < std::tie(b.hash, b.topic); });
  ByteBuilder urlTable;
  std::vector<uint32_t> urlTableOffset(topics.size());
  for (const auto& url : urls) {
    PadForRecord(urlTable, 12);
    urlTableOffset[url.topic] = static_cast<uint32_t>(urlTable.size());
    urlTable.U32(url.hash);
    urlTable.U32(url.topic);
    urlTable.U32(url.urlString);
  }
  ByteBuilder topicTable;
  for (uint32_t i = 0; i < topics.size(); ++i) {
    topicTable.U32(0);  // no binary contents entry
    topicTable.U32(topics[i].title.empty() ? kNone : strings.Add(topics[i].title));
    topicTable.U32(urlTableOffset[i]);
    topicTable.U16(topics[i].inContents ? 6 : 2);
    topicTable.U16(0);
  }

  ByteBuilder contextMap;
  contextMap.U32(static_cast<uint32_t>(8 * book.contextMap.size()));
  for (const auto& [context, file] : book.contextMap) {
    contextMap.U32(context);
    contextMap.U32(strings.Add(file));
  }

  const std::string windows = WindowsFile(book, strings);
  const std::string indexHeader = IndexHeader(book, static_cast<uint32_t>(topics.size()));
  return {
      {"/#SYSTEM", SystemFile(book, indexHeader), Section::Uncompressed},
      {"/#ITBITS", "", Section::Uncompressed},
      {"/#IDXHDR", indexHeader, Section::Compressed},
      {"/#WINDOWS", windows, Section::Compressed},
      {"/#TOPICS", topicTable.Take(), Section::Compressed},
      {"/#URLTBL", urlTable.Take(), Section::Compressed},
      {"/#URLSTR", urlStrings.Take(), Section::Compressed},
      {"/#IVB", contextMap.Take(), Section::Compressed},
      {"/#STRINGS", strings.Take(), Section::Compressed},
  };
}

}  // namespace vorn::help
