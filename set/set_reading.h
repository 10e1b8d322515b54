#pragma once
// Reading a backup set: whether a folder holds one, where its mail data is, and the fields of
// its information file "Reg\VornInfo.dat".
#include <optional>
#include <string>
#include <vector>

#include "core/help_contexts.h"
#include "platform/file_system.h"

namespace vorn {

// The message for a folder that holds no set (the user picked another folder than a user's).
inline constexpr const char* kNoBackupFoundText =
    "指定先にバックアップファイルが見つかりません。\r\n"
    "リストアするユーザー名のフォルダを選択してください。\r\n"
    "             ~~~~~~~~~~~~~~~~~~~";
inline constexpr const char* kNoBackupFoundTitle = "Vorn";
inline constexpr int kNoBackupFoundHelpContext = help::IDH_BACKUP_NOT_FOUND;

inline constexpr size_t kBackupInfoFields = 8;

// A set's user folder holds "Reg\Account.reg".
bool HoldsBackupSet(const FileSystem& files, const std::string& userFolder);

enum class MailData { Archive, Copy, None };
// "Mail.lzh", or a "Mail" folder with its "Folders.dbx"; of a set holding both, the newer: the
// archive unless the folder or a folder file in it was written after it.
MailData FindMailData(const FileSystem& files, const std::string& userFolder);
bool HoldsBothMailForms(const FileSystem& files, const std::string& userFolder);

// Field i is line i of the file without its last character, after its first colon; at most
// kBackupInfoFields fields, by position. nullopt when the file cannot be read.
std::optional<std::vector<std::string>> ReadBackupInfoFields(const FileSystem& files, const std::string& infoPath);
}  // namespace vorn
