#include "dbx/folder_damage.h"

#include <vector>

#include "dbx/dbx_reader.h"
#include "dbx/message_recovery.h"

namespace vorn {

namespace {

constexpr int64_t kBlockHeader = 0x10;

}  // namespace

std::string RecoverableText(const FolderDamage& damage) {
  std::string text = "回復できるﾒｯｾｰｼﾞ " + std::to_string(damage.recoverable);
  if (damage.deleted > 0) text += "、削除済み " + std::to_string(damage.deleted);
  return text;
}

DbxError IndexReadError(DbxFile& file) {
  int32_t count = 0;
  int32_t root = 0;
  std::vector<int32_t> records;
  if (DbxError error = ReadMessageCount(file, count); error != DbxError::None) return error;
  if (count < 0) return DbxError::NegativeCount;
  if (count == 0) return DbxError::None;
  if (DbxError error = ReadIndexRoot(file, root); error != DbxError::None) return error;
  if (DbxError error = CollectMessageInfoOffsets(file, root, records); error != DbxError::None) return error;
  if (records.size() < static_cast<size_t>(count)) return DbxError::IndexShort;
  for (int32_t record : records) {
    MessageInfo info;
    if (DbxError error = ClassifyMessageInfo(file, record, info); error != DbxError::None) return error;
    if (info.pointer < 0) return DbxError::BadPosition;
    if (info.pointer != 0 && info.pointer + kBlockHeader > file.Size()) return DbxError::PastEndOfFile;
  }
  return DbxError::None;
}

FolderDamage InspectFolderFile(DbxFile& file) {
  FolderDamage damage;
  damage.error = IndexReadError(file);
  damage.damaged = IsReadDamage(damage.error);
  if (!damage.damaged) return damage;
  const RecoveryReport report = CountRecoverableMessages(file.Reopener());
  damage.recoverable = report.whole + report.cut;
  damage.cut = report.cut;
  damage.recoverableNews = report.news;
  damage.deleted = report.deleted;
  return damage;
}

FolderDamage InspectFolderFile(const FileSystem& files, const std::string& path) {
  if (auto file = DbxFile::Open(files, path)) return InspectFolderFile(*file);
  FolderDamage damage;
  damage.error = DbxError::CannotOpen;
  return damage;
}

}  // namespace vorn
