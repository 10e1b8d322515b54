#include "dbx/folder_scan.h"

#include <algorithm>
#include <cctype>

#include "dbx/folder_classification.h"

namespace vorn {
namespace {

constexpr const char* kStandardFolderFiles[] = {"受信トレイ.dbx", "送信トレイ.dbx", "送信済みアイテム.dbx",
                                                "削除済みアイテム.dbx", "下書き.dbx"};

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
    if (!entry.isDirectory && IsFolderFileName(entry.name)) candidates.push_back(entry.name);
  }
  SortFolderNames(candidates);
  return candidates;
}

FolderScanLists ClassifyCandidates(const FileSystem& files, const std::string& storeRoot,
                                   const std::vector<std::string>& candidates, const FolderScanErrorHandler& onError,
                                   const FolderDamageHandler& onDamaged) {
  FolderScanLists lists;
  for (const auto& candidate : candidates) {
    if (!IsFolderFileName(candidate)) continue;
    const std::string path = storeRoot + "\\" + candidate;
    auto file = DbxFile::Open(files, path);
    FolderClassification folder;
    folder.error = DbxError::CannotOpen;
    if (file) folder = ClassifyFolderFile(*file, candidate);
    const FolderDamage damage = file && onDamaged ? InspectFolderFile(*file) : FolderDamage{};
    if (damage.damaged && !folder.newsEntry && !folder.mailEntry) {
      if (damage.recoverableNews * 2 > damage.recoverable)
        folder.newsEntry = candidate.substr(0, candidate.size() - 4);
      else
        folder.mailEntry = candidate;
    }
    if (folder.newsEntry) lists.news.push_back(*folder.newsEntry);
    if (folder.mailEntry) lists.mail.push_back(*folder.mailEntry);
    if (damage.damaged)
      onDamaged(path, damage);
    else if (folder.error != DbxError::None && onError)
      onError(path, folder.error);
  }
  return lists;
}

}  // namespace vorn
