#include "set/set_reading.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/whole_file.h"
#include "set/set_layout.h"

namespace vorn {
namespace {

std::string WithoutLastCharacter(const std::string& utf8) {
  if (utf8.empty()) return utf8;
  size_t last = utf8.size() - 1;
  while (last > 0 && (static_cast<unsigned char>(utf8[last]) & 0xC0) == 0x80) --last;
  return utf8.substr(0, last);
}

std::string FieldOfLine(const std::string& line) {
  const std::string text = WithoutLastCharacter(line);
  const size_t colon = text.find(':');
  return colon == std::string::npos ? text : text.substr(colon + 1);
}

}  // namespace

bool HoldsBackupSet(const FileSystem& files, const std::string& userFolder) {
  return files.Exists(SetLayout(userFolder).RegFile("Account.reg"));
}

bool HoldsBothMailForms(const FileSystem& files, const std::string& userFolder) {
  const SetLayout set(userFolder);
  return files.Exists(set.MailArchive()) && files.Exists(set.MailFolder() + "\\Folders.dbx");
}

MailData FindMailData(const FileSystem& files, const std::string& userFolder) {
  const SetLayout set(userFolder);
  if (HoldsBothMailForms(files, userFolder)) {
    int64_t copied = files.ModifiedTime(set.MailFolder()).value_or(0);
    for (const auto& entry : files.List(set.MailFolder(), "*.dbx")) copied = std::max(copied, entry.modified);
    return files.ModifiedTime(set.MailArchive()).value_or(0) >= copied ? MailData::Archive : MailData::Copy;
  }
  if (files.Exists(set.MailArchive())) return MailData::Archive;
  if (files.Exists(set.MailFolder() + "\\Folders.dbx")) return MailData::Copy;
  return MailData::None;
}

std::optional<std::vector<std::string>> ReadBackupInfoFields(const FileSystem& files, const std::string& infoPath) {
  auto bytes = ReadWholeFile(files, infoPath);
  if (!bytes) return std::nullopt;
  const std::string text = Cp932ToUtf8(*bytes);
  std::vector<std::string> fields;
  size_t at = 0;
  while (at < text.size() && fields.size() < kBackupInfoFields) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    fields.push_back(FieldOfLine(text.substr(at, end - at)));
    at = end + 1;
    if (end < text.size() && text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
  }
  return fields;
}

}  // namespace vorn
