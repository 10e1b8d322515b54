#include "dbx/mail_folder_tree.h"

#include "dbx/folder_scan.h"

namespace vorn {

const std::vector<FolderTreeNode>& FixedFolderTreeNodes() {
  static const std::vector<FolderTreeNode> nodes = {
      {"ROOT", "Outlook Express", "", "ROOT", true},
      {"BOX", "ローカルフォルダ", "ROOT", "BOX", true},
      {"T_Recv", "受信トレイ", "BOX", "T_Recv", false},
      {"SEND", "送信トレイ", "BOX", "SEND", false},
      {"SENDED", "送信済みアイテム", "BOX", "SENDED", false},
      {"DEL", "削除済みアイテム", "BOX", "DEL", false},
      {"MEMO", "下書き", "BOX", "MEMO", true},
      {"T_NWS", "ニュース(NTTP)", "ROOT", "T_NWS", true},
  };
  return nodes;
}

bool IsFolderGroupText(const std::string& text) {
  return text == "ニュース(NTTP)" || text == "Outlook Express" || text == "ローカルフォルダ";
}

FolderTreeNode NewsFolderNode(const std::string& newsFolderName) { return {"", newsFolderName, "T_NWS", "C_NWS", true}; }

std::optional<FolderTreeNode> UserFolderNode(const std::string& mailFolderFile) {
  if (IsStandardFolderFile(mailFolderFile) || mailFolderFile.size() < 4) return std::nullopt;
  return FolderTreeNode{"", mailFolderFile.substr(0, mailFolderFile.size() - 4), "BOX", "T_Recv", true};
}

}  // namespace vorn
