#include "setread/export_names.h"

#include <algorithm>
#include <string_view>

#include "platform/text.h"

namespace vorn {
namespace {

bool IsDeviceStem(const std::string& name) {
  const std::string stem = AsciiLower(name.substr(0, name.find('.')));
  for (const char* device : {"con", "prn", "aux", "nul", "clock$"})
    if (stem == device) return true;
  return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) && stem[3] >= '1' &&
         stem[3] <= '9';
}

}  // namespace

std::string ValidFolderName(const std::string& name) {
  std::string valid = name.empty() ? "_" : name;
  for (char& c : valid)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  for (size_t end = valid.size(); end > 0 && (valid[end - 1] == '.' || valid[end - 1] == ' '); --end)
    valid[end - 1] = '_';
  if (IsDeviceStem(valid)) {
    const size_t stemEnd = std::min(valid.find('.'), valid.size());
    valid = valid.substr(0, stemEnd) + "_" + valid.substr(stemEnd);
  }
  return valid;
}

// A drive's root keeps its backslash in the path given; the names follow it directly.
ExportNames::ExportNames(FileSystem& files, const std::string& outputFolder)
    : files_(files), outputFolder_(!outputFolder.empty() && outputFolder.back() == '\\'
                                       ? outputFolder.substr(0, outputFolder.size() - 1)
                                       : outputFolder) {}

std::string ExportNames::Candidate(const std::string& name, int attempt, const std::string& extension) const {
  return outputFolder_ + "\\" + name + (attempt == 1 ? "" : " (" + std::to_string(attempt) + ")") + extension;
}

std::optional<std::string> ExportNames::CreateFolder(const std::string& name) {
  for (int attempt = 1; attempt <= kMaxTries; ++attempt) {
    const std::string path = Candidate(name, attempt, "");
    if (files_.Attributes(path)) continue;  // anything, a link to nowhere included
    const FsResult made = files_.CreateDirectory(path);
    if (made == FsResult::Ok) return path;
    if (made != FsResult::AlreadyExists) return std::nullopt;
  }
  return std::nullopt;
}

std::unique_ptr<OutputFile> ExportNames::CreateFile(const std::string& name, const std::string& extension,
                                                    std::string& path) {
  for (int attempt = 1; attempt <= kMaxTries; ++attempt) {
    path = Candidate(name, attempt, extension);
    FsResult created = FsResult::Ok;
    auto file = files_.CreateNewFile(path, created);
    if (file || created != FsResult::AlreadyExists) return file;
  }
  return nullptr;
}

}  // namespace vorn
