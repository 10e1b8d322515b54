#include "platform/internet_shortcut.h"

#include "platform/codepage.h"
#include "platform/text.h"

namespace vorn {
namespace {

std::string Trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

}  // namespace

std::string InternetShortcutText(const std::string& url) {
  return Utf8ToCp932("[InternetShortcut]\r\nURL=" + url + "\r\n");
}

std::string InternetShortcutUrl(const std::string& shortcutText) {
  bool inSection = false;
  size_t at = 0;
  while (at < shortcutText.size()) {
    size_t end = shortcutText.find('\n', at);
    if (end == std::string::npos) end = shortcutText.size();
    const std::string line = Trimmed(shortcutText.substr(at, end - at));
    at = end + 1;
    if (!line.empty() && line.front() == '[') {
      inSection = AsciiLower(line) == "[internetshortcut]";
    } else if (inSection && AsciiLower(line.substr(0, 4)) == "url=") {
      return Trimmed(line.substr(4));
    }
  }
  return {};
}

bool WriteInternetShortcut(FileSystem& files, const std::string& path, const std::string& url) {
  auto file = files.OpenWrite(path);
  if (!file) return false;
  const std::string text = InternetShortcutText(url);
  const bool written = file->Write(text.data(), text.size());
  return file->Close() && written;
}

}  // namespace vorn
