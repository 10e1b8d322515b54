#pragma once
// What the mail-store tree shows: the fixed nodes of the mail program's folders, one node per
// news group and, on request, one per folder the user made.
#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct FolderTreeNode {
  std::string key;        // empty for the nodes of the scan
  std::string text;       // also the folder file's name without ".dbx"
  std::string parentKey;  // empty at the top level
  std::string imageKey;
  bool expanded = false;
  bool operator==(const FolderTreeNode&) const = default;
};

// "Outlook Express", "ローカルフォルダ" with the five standard folders, and "ニュース(NTTP)", in order.
const std::vector<FolderTreeNode>& FixedFolderTreeNodes();
// The texts of the nodes that group others and have no folder file.
bool IsFolderGroupText(const std::string& text);

// A news group below "ニュース(NTTP)".
FolderTreeNode NewsFolderNode(const std::string& newsFolderName);
// A folder the user made, below "ローカルフォルダ"; nothing for a standard folder's file.
std::optional<FolderTreeNode> UserFolderNode(const std::string& mailFolderFile);

}  // namespace vorn
