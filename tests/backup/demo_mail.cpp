// demo_mail: fills the Store Root of every Outlook Express user of the machine (the demo
// machine's) with a mail store made by the test folder-file writer: the five standard folders, a news folder, a user folder (Japanese
// subjects, a few attachments) and the folder list "Folders.dbx".
#include <cstdio>
#include <string>
#include <vector>

#include "core/environment_discovery.h"
#include "core/registry_access.h"
#include "platform/codepage.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_store.h"
#include "tests/dbx/dbx_writer.h"

namespace {

using vorn::MessageKind;
using vorn::test::DbxDescription;
using vorn::test::DbxMessage;

std::string Base64(const std::string& bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t n = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

std::string EncodedWord(const std::string& utf8) { return "=?Shift_JIS?B?" + Base64(vorn::Utf8ToCp932(utf8)) + "?="; }

DbxMessage Message(int number, const std::string& subject, const std::string& body, bool attachment,
                   MessageKind kind = MessageKind::Mail) {
  const std::string header = std::string(kind == MessageKind::News ? "Newsgroups: fj.comp.mail\r\n" : "To: taro@example.jp\r\n") +
                             "From: " + EncodedWord("鈴木 花子") + " <hanako@example.jp>\r\n" +
                             "Subject: " + EncodedWord(subject) + "\r\n" +
                             "Date: Wed, 12 May 2004 09:0" + std::to_string(number % 10) + ":03 +0900\r\n" +
                             "Message-ID: <demo" + std::to_string(number) + "@example.jp>\r\nMIME-Version: 1.0\r\n";
  const std::string text = "Content-Type: text/plain; charset=Shift_JIS\r\nContent-Transfer-Encoding: 8bit\r\n\r\n" +
                           vorn::Utf8ToCp932(body) + "\r\n";
  DbxMessage message;
  message.kind = kind;
  if (!attachment) {
    message.text = header + text;
    return message;
  }
  std::string picture(3000, '\0');
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 7 + number);
  std::string encoded = Base64(picture);
  for (size_t at = 76; at < encoded.size(); at += 78) encoded.insert(at, "\r\n");
  message.text = header + "Content-Type: multipart/mixed; boundary=\"demo\"\r\n\r\n--demo\r\n" + text +
                 "--demo\r\nContent-Type: application/octet-stream; name=\"" + EncodedWord("写真.jpg") +
                 "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment\r\n\r\n" + encoded +
                 "\r\n--demo--\r\n";
  return message;
}

struct Folder {
  const char* fileName;
  std::vector<DbxMessage> messages;
};

std::vector<Folder> DemoFolders() {
  return {
      {"受信トレイ.dbx",
       {Message(1, "本日の会議について", "会議は午後三時からです。", false),
        Message(2, "写真を送ります", "先日の写真です。", true), Message(3, "Re: 見積もりの件", "了解しました。", false)}},
      {"送信トレイ.dbx", {}},
      {"送信済みアイテム.dbx", {Message(4, "お礼", "ありがとうございました。", false)}},
      {"削除済みアイテム.dbx", {Message(5, "【広告】お知らせ", "不要なお知らせです。", false)}},
      {"下書き.dbx", {Message(6, "(書きかけ)", "途中まで", true)}},
      {"fj.comp.mail.dbx",
       {Message(7, "OE のバックアップ方法", "ニュースの投稿です。", false, MessageKind::News),
        Message(8, "Re: OE のバックアップ方法", "返信です。", false, MessageKind::News)}},
      {"仕事.dbx", {Message(9, "週報", "今週の作業です。", true), Message(10, "予定表", "来月の予定です。", false)}},
      {"Folders.dbx", {}},
  };
}

bool WriteFolder(vorn::FileSystem& files, const std::string& path, const std::vector<DbxMessage>& messages) {
  DbxDescription description;
  description.messages = messages;
  const auto image = vorn::test::WriteDbx(description);
  auto out = files.OpenWrite(path);
  if (out && out->Write(image.bytes.data(), image.bytes.size()) && out->Close()) return true;
  std::fprintf(stderr, "demo_mail: cannot write %s\n", vorn::Utf8ToCp932(path).c_str());
  return false;
}

// COUNT mails of a few kilobytes each, for a Convert run long enough to watch.
std::vector<DbxMessage> LargeFolder(int count) {
  std::vector<DbxMessage> messages;
  for (int i = 0; i < count; ++i) {
    messages.push_back(Message(100 + i, "定期報告 " + std::to_string(i), std::string(2000 + i % 1000, 'x'), false));
    // Pointers past 16 MB do not fit in a record's slot.
    messages.back().direct = false;
  }
  return messages;
}

bool WriteDemoFolders(vorn::FileSystem& files, const std::string& storeRoot) {
  bool written = true;
  for (const auto& folder : DemoFolders())
    written = WriteFolder(files, storeRoot + "\\" + folder.fileName, folder.messages) && written;
  return written;
}

}  // namespace

// demo_mail                fills every user's Store Root with the demo folders
// demo_mail FOLDER         fills that one folder (a Windows path) with them
// demo_mail FILE COUNT     writes one folder file of COUNT mails at FILE (a Windows path)
int wmain(int argc, wchar_t** argv) {
  vorn::Win32FileSystem files;
  if (argc == 2) return WriteDemoFolders(files, vorn::Narrow(argv[1])) ? 0 : 1;
  if (argc == 3) return WriteFolder(files, vorn::Narrow(argv[1]), LargeFolder(std::stoi(argv[2]))) ? 0 : 1;
  vorn::Win32RegistryStore registry;
  vorn::Win32Environment environment;
  vorn::RegistryAccess reg(registry);
  vorn::EnvironmentRecord record;
  vorn::DetectOsFamily(environment, record);
  vorn::DetectDesktop(environment, record);
  int failures = 0;
  for (const auto& identity : vorn::ListIdentities(reg)) {
    const std::string storeRoot = vorn::ResolveStoreRoot(reg, record, identity);
    if (storeRoot.empty() || !files.IsDirectory(storeRoot)) continue;
    if (!WriteDemoFolders(files, storeRoot)) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
