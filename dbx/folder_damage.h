#pragma once
// Whether the index reader reads a folder file whole and, where it does not, what recovery still
// finds in it: for the folder scan, the mail-store tab, vorn-cli and a backup's information file.
#include <cstdint>
#include <string>

#include "dbx/dbx_error.h"
#include "dbx/dbx_file.h"
#include "platform/file_system.h"

namespace vorn {

struct FolderDamage {
  bool damaged = false;
  DbxError error = DbxError::None;  // where the index reader stopped; CannotOpen is no damage
  int32_t recoverable = 0;          // live messages recovery finds, whole or cut
  int32_t cut = 0;                  // of those, the ones whose chain broke
  int32_t recoverableNews = 0;      // of those, news messages
  int32_t deleted = 0;              // freed messages recovery finds in the free space
};

// "回復できるﾒｯｾｰｼﾞ 28" and, with freed messages found, "、削除済み 2".
std::string RecoverableText(const FolderDamage& damage);

// The index reader's verdict from the header, the index and the message-info records, reading no
// message text: the count and the index are readable, the index leads to as many records as the
// header counts, and each record is readable and points inside the file.
DbxError IndexReadError(DbxFile& file);

// The verdict and, for a damaged file, recovery's count: one pass over the file, nothing written.
FolderDamage InspectFolderFile(DbxFile& file);
FolderDamage InspectFolderFile(const FileSystem& files, const std::string& path);

}  // namespace vorn
