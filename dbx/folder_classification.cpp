#include "dbx/folder_classification.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <vector>

#include "core/help_contexts.h"
#include "dbx/dbx_file.h"
#include "dbx/dbx_reader.h"
#include "platform/text.h"

namespace vorn {

namespace {

constexpr int kFolderScanHelpContext = help::IDH_FOLDER_SCAN_ERROR;

DbxError Classify(DbxFile& file, const std::string& name, FolderClassification& result) {
  int32_t count = 0;
  if (DbxError error = ReadMessageCount(file, count); error != DbxError::None) return error;
  if (count < 1) {
    result.mailEntry = name;
    return DbxError::None;
  }
  std::vector<int32_t> records;
  int32_t root = 0;
  if (DbxError error = ReadIndexRoot(file, root); error != DbxError::None) return error;
  if (DbxError error = CollectMessageInfoOffsets(file, root, records); error != DbxError::None) return error;
  if (records.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max())) return DbxError::CounterOverflow;

  for (int32_t record : records) {
    MessageInfo info;
    if (DbxError error = ClassifyMessageInfo(file, record, info); error != DbxError::None) return error;
    if (info.kind == MessageKind::News && info.direct) {
      result.newsEntry = name.substr(0, name.size() - 4);
      return DbxError::None;
    }
    if (info.kind == MessageKind::Mail) {
      result.mailEntry = name;
      if (info.direct) return DbxError::None;
    }
  }
  return DbxError::None;
}

}  // namespace

bool IsFolderFileName(const std::string& fileName) {
  static const char* const kStoreFiles[] = {"Folders.dbx", "Pop3uidl.dbx", "Offline.dbx"};
  if (fileName.size() < 4 || AsciiLower(fileName.substr(fileName.size() - 4)) != ".dbx") return false;
  return std::find(std::begin(kStoreFiles), std::end(kStoreFiles), fileName) == std::end(kStoreFiles);
}

FolderClassification ClassifyFolderFile(const FileSystem& files, const std::string& path) {
  auto file = DbxFile::Open(files, path);
  if (file) return ClassifyFolderFile(*file, path.substr(path.rfind('\\') + 1));
  FolderClassification result;
  result.error = DbxError::CannotOpen;
  return result;
}

FolderClassification ClassifyFolderFile(DbxFile& file, const std::string& name) {
  FolderClassification result;
  result.error = Classify(file, name, result);
  return result;
}

const char* FolderKindName(const FolderClassification& folder) {
  if (folder.newsEntry && folder.mailEntry) return "news and mail";
  if (folder.newsEntry) return "news";
  if (folder.mailEntry) return "mail";
  return "neither";
}

Message FolderScanErrorMessage(const std::string& path, DbxError error) {
  return {path.substr(path.rfind('\\') + 1) + ": " + DbxErrorDescription(error) +
              "\r\n１グループに30,000通以上のメッセージは処理できません。",
          "エラー番号:" + std::to_string(DbxErrorNumber(error)), MsgIcon::Critical, MsgButtons::Ok,
          kFolderScanHelpContext};
}

Message FolderDamageMessage(const std::string& path, const FolderDamage& damage) {
  return {path.substr(path.rfind('\\') + 1) + ": フォルダ ファイルが壊れています。" + DbxErrorDescription(damage.error) +
              "\r\n" + RecoverableText(damage) + "\r\n回復できるﾒｯｾｰｼﾞは「変換」で取り出せます。",
          "警告 - <dbx>", MsgIcon::Warning, MsgButtons::Ok, kFolderScanHelpContext};
}

}  // namespace vorn
