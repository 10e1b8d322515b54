#include "dbx/folder_scan.h"

#include <algorithm>
#include <cctype>

#include "dbx/folder_classification.h"

namespace vorn {
namespace {

constexpr const char* kStandardFolderFiles[] = {"受信トレイ.dbx", "送信トレイ.dbx", "送信済みアイテム.dbx",
                                                "削除済みアイテム.dbx", "下書き.dbx"};
constexpr const char* kExcludedFiles[] = {"Folders.dbx", "Pop3uidl.dbx", "Offline.dbx"};

bool EndsWithDbx(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".dbx";
}

}  // namespace

bool IsStandardFolderFile(const std::string& fileName) {
  return std::find(std::begin(kStandardFolderFiles), std::end(kStandardFolderFiles), fileName) !=
         std::end(kStandardFolderFiles);
}

void SortFolderNames(std::vector<std::string>& names) {
  auto upper = [](unsigned char c) { return std::toupper(c); };
  std::stable_sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
      return upper(static_cast<unsigned char>(x)) < upper(static_cast<unsigned char>(y));
    });
  });
}

std::vector<std::string> ListCandidateFiles(const FileSystem& files, const std::string& storeRoot) {
  std::vector<std::string> candidates;
  for (const auto& entry : files.List(storeRoot, "*.dbx")) {
    if (entry.isDirectory) continue;
    if (std::find(std::begin(kExcludedFiles), std::end(kExcludedFiles), entry.name) != std::end(kExcludedFiles))
      continue;
    candidates.push_back(entry.name);
  }
  SortFolderNames(candidates);
  return candidates;
}

FolderScanLists ClassifyCandidates(const FileSystem& files, const std::string& storeRoot,
                                   const std::vector<std::string>& candidates, const FolderScanErrorHandler& onError) {
  FolderScanLists lists;
  for (const auto& candidate : candidates) {
    const std::string path = storeRoot + "\\" + candidate;
    if (!EndsWithDbx(path)) continue;
    FolderClassification folder = ClassifyFolderFile(files, path);
    if (folder.newsEntry) lists.news.push_back(*folder.newsEntry);
    if (folder.mailEntry) lists.mail.push_back(*folder.mailEntry);
    if (folder.error != DbxError::None && onError) onError(path, folder.error);
  }
  return lists;
}

}  // namespace vorn
