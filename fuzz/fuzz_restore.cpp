// Feeds arbitrary bytes to the restore's readers of a set's texts: the bookmark file reader,
// and the joining and reading of signature texts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "restore/bookmark_file.h"
#include "restore/signature_lines.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", at)) {
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  if (at < text.size()) lines.push_back(text.substr(at));
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const auto& item : vorn::ReadBookmarkFile(bytes))
    if (item.folder.size() > 64) std::abort();
  std::string text;
  for (const auto& line : Lines(bytes)) text += line + "\r\n";
  vorn::ReadSignatureTexts(Lines(text));
  vorn::ReadSignatureTexts(Lines(vorn::JoinSignatureLines(text)));
  return 0;
}
