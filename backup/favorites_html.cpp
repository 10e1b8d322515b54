#include "backup/favorites_html.h"

#include "platform/codepage.h"
#include "platform/internet_shortcut.h"
#include "platform/text.h"
#include "platform/whole_file.h"

namespace vorn {
namespace {

constexpr size_t kShortcutReadLimit = 64 * 1024;
constexpr int kMaxFolderDepth = 64;  // a folder loop (a junction to a parent) ends here

bool EndsWithUrlExtension(const std::string& name) {
  return name.size() > 4 && AsciiLower(name.substr(name.size() - 4)) == ".url";
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
      const std::string url = InternetShortcutUrl(Cp932ToUtf8(ReadWholeFile(files_, folder + "\\" + entry.name, kShortcutReadLimit).value_or("")));
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

bool ExportFavoritesToHtml(FileSystem& files, const std::string& favoritesFolder, const std::string& htmlPath) {
  const std::string document = Utf8ToCp932(BookmarkWriter(files).Document(favoritesFolder));
  auto out = files.OpenWrite(htmlPath);
  if (!out) return false;
  const bool written = out->Write(document.data(), document.size());
  return out->Close() && written;
}

}  // namespace vorn
