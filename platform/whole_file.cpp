#include "platform/whole_file.h"

namespace vorn {

std::optional<std::string> ReadWholeFile(const FileSystem& files, const std::string& path, size_t limit) {
  auto input = files.OpenRead(path);
  if (!input) return std::nullopt;
  std::string bytes;
  char buffer[64 * 1024];
  while (bytes.size() < limit) {
    auto count = input->Read(buffer, sizeof buffer);
    if (!count) return std::nullopt;
    if (*count == 0) break;
    bytes.append(buffer, *count);
  }
  return bytes;
}

}  // namespace vorn
