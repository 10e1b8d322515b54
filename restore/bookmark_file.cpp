#include "restore/bookmark_file.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/codepage.h"
#include "platform/text.h"

namespace vorn {
namespace {

constexpr size_t kMaxFolderDepth = 64;
constexpr size_t kCharsetSearchLimit = 4096;

bool IsValidUtf8(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > bytes.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

// The document as UTF-8, by its byte-order mark, its META charset or its bytes.
std::string DecodeDocument(const std::string& bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
  const std::string head = AsciiLower(bytes.substr(0, kCharsetSearchLimit));
  const size_t charset = head.find("charset=");
  if (charset != std::string::npos) {
    size_t begin = charset + 8;
    while (begin < head.size() && (head[begin] == '"' || head[begin] == '\'' || head[begin] == ' ')) ++begin;
    size_t end = begin;
    while (end < head.size() && (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' ||
                                 head[end] == '_'))
      ++end;
    const std::string name = head.substr(begin, end - begin);
    if (name == "utf-8" || name == "utf8") return bytes;
    if (name == "shift_jis" || name == "shift-jis" || name == "x-sjis" || name == "windows-31j" || name == "cp932" ||
        name == "ms932" || name == "sjis")
      return Cp932ToUtf8(bytes);
  }
  return IsValidUtf8(bytes) ? bytes : Cp932ToUtf8(bytes);
}

void AppendUtf8(std::string& out, uint32_t code) {
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::optional<uint32_t> CharacterReference(const std::string& entity) {
  static const std::pair<const char*, uint32_t> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
  if (entity.size() > 1 && entity[0] == '#') {
    const bool hex = entity[1] == 'x' || entity[1] == 'X';
    const std::string digits = entity.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 7 ||
        !std::all_of(digits.begin(), digits.end(),
                     [hex](unsigned char c) { return hex ? std::isxdigit(c) != 0 : std::isdigit(c) != 0; }))
      return std::nullopt;
    return static_cast<uint32_t>(std::stoul(digits, nullptr, hex ? 16 : 10));
  }
  for (const auto& [name, code] : kNamed)
    if (AsciiLower(entity) == name) return code;
  return std::nullopt;
}

// Character references decoded, runs of white space made one blank, the ends trimmed.
std::string PlainText(const std::string& html) {
  std::string out;
  for (size_t i = 0; i < html.size(); ++i) {
    const char c = html[i];
    if (c == '&') {
      const size_t end = html.find(';', i);
      if (end != std::string::npos && end - i <= 10) {
        if (auto code = CharacterReference(html.substr(i + 1, end - i - 1))) {
          AppendUtf8(out, *code);
          i = end;
          continue;
        }
      }
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

struct Tag {
  std::string name;  // lower case, "/dl" for a closing tag
  std::string attributes;
};

// The value of an attribute of a tag, entities decoded; empty when absent.
std::string Attribute(const Tag& tag, const std::string& wanted) {
  const std::string& text = tag.attributes;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    size_t nameEnd = i;
    while (nameEnd < text.size() && !std::isspace(static_cast<unsigned char>(text[nameEnd])) && text[nameEnd] != '=')
      ++nameEnd;
    if (nameEnd == i) break;
    const std::string name = AsciiLower(text.substr(i, nameEnd - i));
    i = nameEnd;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::string value;
    if (i < text.size() && text[i] == '=') {
      ++i;
      while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
        const size_t close = text.find(text[i], i + 1);
        const size_t end = close == std::string::npos ? text.size() : close;
        value = text.substr(i + 1, end - i - 1);
        i = end + 1;
      } else {
        const size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        value = text.substr(start, i - start);
      }
    }
    if (name == wanted) return PlainText(value);
  }
  return {};
}

int64_t Seconds(const std::string& digits) {
  if (digits.empty() || digits.size() > 12 ||
      !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
    return 0;
  return std::stoll(digits);
}

class BookmarkReader {
 public:
  explicit BookmarkReader(std::string text) : text_(std::move(text)) {}

  std::vector<BookmarkItem> Read() {
    while (auto tag = NextTag()) {
      if (tag->name == "h3") {
        pending_ = BookmarkItem{folder_, PlainText(TextUntil("/h3")), {}, Seconds(Attribute(*tag, "add_date"))};
      } else if (tag->name == "dl") {
        OpenList();
      } else if (tag->name == "/dl") {
        CloseList();
      } else if (tag->name == "a") {
        pending_.reset();
        AddLink(*tag);
      }
    }
    return std::move(items_);
  }

 private:
  std::optional<Tag> NextTag() {
    for (;;) {
      const size_t open = text_.find('<', at_);
      if (open == std::string::npos) return std::nullopt;
      if (text_.compare(open, 4, "<!--") == 0) {
        const size_t close = text_.find("-->", open + 4);
        at_ = close == std::string::npos ? text_.size() : close + 3;
        continue;
      }
      const size_t close = text_.find('>', open + 1);
      if (close == std::string::npos) return std::nullopt;
      at_ = close + 1;
      const std::string inside = text_.substr(open + 1, close - open - 1);
      size_t nameEnd = 0;
      while (nameEnd < inside.size() && !std::isspace(static_cast<unsigned char>(inside[nameEnd]))) ++nameEnd;
      return Tag{AsciiLower(inside.substr(0, nameEnd)), inside.substr(nameEnd)};
    }
  }

  // The text up to the closing tag (or the next tag of any other kind), which is consumed.
  std::string TextUntil(const std::string& closing) {
    std::string text;
    for (;;) {
      const size_t open = text_.find('<', at_);
      text += text_.substr(at_, open == std::string::npos ? std::string::npos : open - at_);
      if (open == std::string::npos) {
        at_ = text_.size();
        return text;
      }
      const size_t close = text_.find('>', open);
      std::string name = AsciiLower(text_.substr(open + 1, close == std::string::npos ? 0 : close - open - 1));
      name = name.substr(0, name.find_first_of(" \t\r\n"));
      if (name == closing) {
        at_ = close + 1;
        return text;
      }
      // Markup inside a title (rare) is dropped; a new list or entry ends the title.
      if (name == "dl" || name == "/dl" || name == "dt" || name == "a" || name == "h3" || close == std::string::npos) {
        at_ = open;
        return text;
      }
      at_ = close + 1;
    }
  }

  void OpenList() {
    // A list right after a folder's title holds that folder; any other one (the outermost
    // list) is no folder of its own.
    bool opensFolder = pending_.has_value() && folder_.size() < kMaxFolderDepth;
    if (opensFolder) {
      items_.push_back(*pending_);
      folder_.push_back(pending_->name);
    }
    opened_.push_back(opensFolder);
    pending_.reset();
  }

  void CloseList() {
    pending_.reset();
    if (opened_.empty()) return;
    if (opened_.back()) folder_.pop_back();
    opened_.pop_back();
  }

  void AddLink(const Tag& tag) {
    const std::string url = Attribute(tag, "href");
    const std::string name = PlainText(TextUntil("/a"));
    if (url.empty() || AsciiLower(url.substr(0, 6)) == "place:") return;
    items_.push_back(BookmarkItem{folder_, name, url, Seconds(Attribute(tag, "add_date"))});
  }

  std::string text_;
  size_t at_ = 0;
  std::vector<std::string> folder_;
  std::vector<bool> opened_;
  std::optional<BookmarkItem> pending_;
  std::vector<BookmarkItem> items_;
};

}  // namespace

std::vector<BookmarkItem> ReadBookmarkFile(const std::string& fileBytes) {
  return BookmarkReader(DecodeDocument(fileBytes)).Read();
}

}  // namespace vorn
