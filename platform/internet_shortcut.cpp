#include "platform/internet_shortcut.h"

#include "platform/codepage.h"

namespace vorn {

std::string InternetShortcutText(const std::string& url) {
  return Utf8ToCp932("[InternetShortcut]\r\nURL=" + url + "\r\n");
}

bool WriteInternetShortcut(FileSystem& files, const std::string& path, const std::string& url) {
  auto file = files.OpenWrite(path);
  if (!file) return false;
  const std::string text = InternetShortcutText(url);
  const bool written = file->Write(text.data(), text.size());
  return file->Close() && written;
}

}  // namespace vorn
