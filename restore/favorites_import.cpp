#include "restore/favorites_import.h"

#include <map>

#include "platform/codepage.h"
#include "platform/folder_path.h"
#include "platform/internet_shortcut.h"
#include "platform/text.h"
#include "platform/whole_file.h"

namespace vorn {
namespace {

constexpr size_t kMaxNameCharacters = 120;
constexpr int kNameAttempts = 1000;

bool IsDeviceName(const std::string& name) {
  const std::string stem = AsciiLower(name.substr(0, name.find('.')));
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) && stem[3] >= '1' &&
         stem[3] <= '9';
}

// At most `limit` characters of a UTF-8 text, cut between characters.
std::string FirstCharacters(const std::string& text, size_t limit) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (count++ == limit) return text.substr(0, i);
  }
  return text;
}

// The address as the shortcut file stores it: code page 932, with what that cannot hold
// percent-encoded in UTF-8.
std::string ShortcutAddress(const std::string& url) {
  std::string out;
  for (size_t i = 0; i < url.size();) {
    const auto lead = static_cast<unsigned char>(url[i]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
    const std::string character = url.substr(i, length);
    i += length;
    if (lead < 0x80) {
      if (lead >= 0x20 && lead != 0x7F) out += character;
      continue;
    }
    const std::string ansi = Utf8ToCp932(character);
    if (ansi != "?" && Cp932ToUtf8(ansi) == character) {
      out += ansi;
      continue;
    }
    for (unsigned char byte : character) {
      static const char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

class FavoritesWriter {
 public:
  FavoritesWriter(FileSystem& files, std::string root) : files_(files), root_(std::move(root)) {}

  FavoritesImportResult Run(const std::vector<BookmarkItem>& items) {
    CreateFolderPath(files_, root_ + "\\");
    for (const auto& item : items) {
      const std::string* folder = FolderOf(item.folder);
      if (!folder) continue;
      if (item.IsFolder()) {
        auto path = item.folder;
        path.push_back(item.name);
        MakeFolder(path, *folder);
      } else {
        AddShortcut(*folder, item);
      }
    }
    return std::move(result_);
  }

 private:
  // The folder a bookmark path went to; the root for the outermost level, null when it failed.
  const std::string* FolderOf(const std::vector<std::string>& path) {
    if (path.empty()) return &root_;
    auto found = folders_.find(path);
    return found == folders_.end() ? nullptr : &found->second;
  }

  void MakeFolder(const std::vector<std::string>& path, const std::string& parent) {
    const std::string name = FavoriteFileName(path.back());
    for (int n = 1; n <= kNameAttempts; ++n) {
      const std::string candidate = parent + "\\" + name + (n == 1 ? "" : " (" + std::to_string(n) + ")");
      if (files_.IsDirectory(candidate) || files_.CreateDirectory(candidate) == FsResult::Ok) {
        folders_[path] = candidate;
        return;
      }
      if (!files_.Exists(candidate)) break;  // not a name clash: the folder cannot be made here
    }
    result_.failed.push_back(parent + "\\" + name);
  }

  void AddShortcut(const std::string& folder, const BookmarkItem& item) {
    const std::string address = ShortcutAddress(item.url);
    const std::string content = "[InternetShortcut]\r\nURL=" + address + "\r\n";
    const std::string name = FavoriteFileName(item.name);
    for (int n = 1; n <= kNameAttempts; ++n) {
      const std::string path = folder + "\\" + name + (n == 1 ? "" : " (" + std::to_string(n) + ")") + ".url";
      if (files_.Exists(path)) {
        auto existing = ReadWholeFile(files_, path);
        if (existing && InternetShortcutUrl(Cp932ToUtf8(*existing)) == Cp932ToUtf8(address)) {
          ++result_.present;
          return;
        }
        continue;
      }
      if (Write(path, content)) {
        if (item.added > 0) files_.SetModifiedTime(path, item.added);
        ++result_.added;
      } else {
        result_.failed.push_back(path);
      }
      return;
    }
    result_.failed.push_back(folder + "\\" + name + ".url");
  }

  bool Write(const std::string& path, const std::string& content) {
    auto out = files_.OpenWrite(path);
    if (!out) return false;
    const bool written = out->Write(content.data(), content.size());
    if (out->Close() && written) return true;
    files_.DeleteFile(path);
    return false;
  }

  FileSystem& files_;
  std::string root_;
  std::map<std::vector<std::string>, std::string> folders_;
  FavoritesImportResult result_;
};

}  // namespace

std::string FavoriteFileName(const std::string& title) {
  std::string name;
  for (char c : title) {
    const auto byte = static_cast<unsigned char>(c);
    name += byte < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos ? '_' : c;
  }
  name = FirstCharacters(name, kMaxNameCharacters);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  if (name.empty()) return "無題";
  if (IsDeviceName(name)) name += '_';
  return name;
}

FavoritesImportResult ImportBookmarks(FileSystem& files, const std::string& favoritesFolder,
                                      const std::vector<BookmarkItem>& items) {
  return FavoritesWriter(files, favoritesFolder).Run(items);
}

bool ImportFavoritesHtml(FileSystem& files, const std::string& htmlPath, const std::string& favoritesFolder,
                         FavoritesImportResult& result) {
  auto bytes = ReadWholeFile(files, htmlPath);
  if (!bytes) return false;
  result = ImportBookmarks(files, favoritesFolder, ReadBookmarkFile(*bytes));
  return true;
}

}  // namespace vorn
