#include "backup/favorites_html.h"

#include <cctype>

#include "platform/codepage.h"

namespace vorn {
namespace {

constexpr size_t kShortcutReadLimit = 64 * 1024;
constexpr int kMaxFolderDepth = 64;  // a folder loop (a junction to a parent) ends here

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

bool EndsWithUrlExtension(const std::string& name) {
  return name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".url";
}

std::string ReadSmallFile(const FileSystem& files, const std::string& path) {
  auto in = files.OpenRead(path);
  if (!in) return {};
  std::string text;
  char buffer[4096];
  while (text.size() < kShortcutReadLimit) {
    auto n = in->Read(buffer, sizeof buffer);
    if (!n || *n == 0) break;
    text.append(buffer, *n);
  }
  return text;
}

class BookmarkWriter {
 public:
  explicit BookmarkWriter(const FileSystem& files) : files_(files) {}

  std::string Document(const std::string& favoritesFolder) {
    out_ =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
        "<!-- This is an automatically generated file.\r\n"
        "It will be read and overwritten.\r\n"
        "Do Not Edit! -->\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">\r\n"
        "<TITLE>Bookmarks</TITLE>\r\n"
        "<H1>Bookmarks</H1>\r\n"
        "<DL><p>\r\n";
    Folder(favoritesFolder, 1);
    out_ += "</DL><p>\r\n";
    return out_;
  }

 private:
  void Folder(const std::string& folder, int depth) {
    const auto entries = files_.List(folder, "*");
    const std::string indent(4 * depth, ' ');
    for (const auto& entry : entries) {
      if (!entry.isDirectory || depth > kMaxFolderDepth) continue;
      out_ += indent + "<DT><H3 FOLDED ADD_DATE=\"" + std::to_string(entry.modified) + "\">" +
              HtmlEscape(entry.name) + "</H3>\r\n" + indent + "<DL><p>\r\n";
      Folder(folder + "\\" + entry.name, depth + 1);
      out_ += indent + "</DL><p>\r\n";
    }
    for (const auto& entry : entries) {
      if (entry.isDirectory || !EndsWithUrlExtension(entry.name)) continue;
      const std::string url = InternetShortcutUrl(Cp932ToUtf8(ReadSmallFile(files_, folder + "\\" + entry.name)));
      if (url.empty()) continue;
      const std::string time = std::to_string(entry.modified);
      out_ += indent + "<DT><A HREF=\"" + HtmlEscape(url) + "\" ADD_DATE=\"" + time + "\" LAST_VISIT=\"" + time +
              "\" LAST_MODIFIED=\"" + time + "\">" + HtmlEscape(entry.name.substr(0, entry.name.size() - 4)) +
              "</A>\r\n";
    }
  }

  const FileSystem& files_;
  std::string out_;
};

}  // namespace

std::string InternetShortcutUrl(const std::string& shortcutText) {
  bool inSection = false;
  size_t at = 0;
  while (at < shortcutText.size()) {
    size_t end = shortcutText.find('\n', at);
    if (end == std::string::npos) end = shortcutText.size();
    const std::string line = Trimmed(shortcutText.substr(at, end - at));
    at = end + 1;
    if (!line.empty() && line.front() == '[') {
      inSection = Lower(line) == "[internetshortcut]";
    } else if (inSection && Lower(line.substr(0, 4)) == "url=") {
      return Trimmed(line.substr(4));
    }
  }
  return {};
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

bool WriteFavoritesHtml(FileSystem& files, const std::string& favoritesFolder, const std::string& htmlPath) {
  const std::string document = Utf8ToCp932(BookmarkWriter(files).Document(favoritesFolder));
  auto out = files.OpenWrite(htmlPath);
  if (!out) return false;
  const bool written = out->Write(document.data(), document.size());
  return out->Close() && written;
}

}  // namespace vorn
