#include "tests/setread/set_sample.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "platform/codepage.h"

namespace vorn::test {
namespace {

DbxMessage Mail(std::string text, MessageKind kind = MessageKind::Mail, bool direct = true) {
  DbxMessage message;
  message.text = std::move(text);
  message.kind = kind;
  message.direct = direct;
  message.dataOffset = direct ? 4 : 8;
  return message;
}

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8); }

DbxDescription Folder(std::vector<DbxMessage> messages, size_t perNode = 3) {
  DbxDescription description;
  description.messages = std::move(messages);
  description.entriesPerNode = perNode;
  return description;
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

std::vector<SampleFolder> SampleStore(bool withUnusualNames) {
  const std::string inboxHead =
      "Return-Path: <hanako@example.jp>\r\nFrom: " + Sjis("鈴木 花子") +
      " <hanako@example.jp>\r\nTo: taro@example.jp\r\nDate: Wed, 12 May 2004 09:05:03 +0900\r\nSubject: " +
      Sjis("会議") + "\r\n\r\n";
  std::vector<SampleFolder> store = {
      {"受信トレイ.dbx",
       Folder({Mail(inboxHead + Sjis("本文です。") + "\r\nFrom the start of a line\r\n>From quoted once\r\n>>From twice\r\n"
                                                     "From\r\nFrom:no blank\r\n"),
               Mail("Received: from mx.example.jp by pop.example.jp; Thu, 13 May 2004 10:00:00 +0000\r\n"
                    "From: not an address\r\nReturn-Path: <>\r\nSender: relay@example.jp\r\n\r\nno date, a sender\r\n",
                    MessageKind::Mail, false),
               Mail("Date: yesterday\r\nFrom: \"Yamada, Taro\" <taro@example.jp>\r\n\r\nbad date, no line end"),
               Mail("Subject: unclassified\r\n\r\nneither kind\r\n", MessageKind::Unclassified),
               Mail("From: lf@example.jp\nDate: 1 Jan 99 00:00 GMT\n\nline feeds only\nFrom here\n"),
               Mail("From: cr@example.jp\r\n\r\nends in a lone CR\r"),
               Mail("\r\nno header at all\r\n", MessageKind::Mail, false)})},
      {"送信トレイ.dbx", Folder({})},
      {"送信済みアイテム.dbx",
       Folder({Mail("From: taro@example.jp\r\nDate: Sat, 29 Feb 2020 23:59:60 -0130\r\n\r\nleap\r\n")})},
      {"fj.comp.mail.dbx",
       Folder({Mail("Newsgroups: fj.comp.mail\r\nFrom: user@example.jp (User)\r\nDate: 13 May 04 10:00 JST\r\n\r\n"
                    "news one\r\n",
                    MessageKind::News),
               Mail("From: taro@example.jp\r\n\r\nmail among news\r\n", MessageKind::Mail, false),
               Mail("Newsgroups: fj.comp.mail\r\nFrom: other@example.jp\r\nDate: Thu, 13 May 2004 11:00:00 +0000\r\n"
                    "\r\nnews two\r\n",
                    MessageKind::News)})},
      {"MyMail - 受信トレイ.dbx", Folder({Mail("From: web@example.jp\r\n\r\nhotmail\r\n")})},
      {"Folders.dbx", Folder({Mail("From: x@example.jp\r\n\r\nthe folder list\r\n")})},
  };
  // A user folder of many messages, several index levels deep.
  std::vector<DbxMessage> work;
  for (int i = 0; i < 40; ++i)
    work.push_back(Mail("From: boss" + std::to_string(i) + "@example.jp\r\nDate: Mon, " + std::to_string(i % 28 + 1) +
                        " Jun 2003 08:00:00 +0900\r\n\r\n" + std::string(static_cast<size_t>(i * 131 % 3000), 'w') +
                        "\r\n",
                        MessageKind::Mail, i % 3 != 0));
  store.push_back({"仕事.dbx", Folder(work, 4)});
  if (withUnusualNames) {
    store.push_back({"a:b?.dbx", Folder({Mail("From: a@example.jp\r\n\r\nfirst a_b_\r\n")})});
    store.push_back({"a_b_.dbx", Folder({Mail("From: b@example.jp\r\n\r\nsecond a_b_\r\n")})});
    store.push_back({"CON.dbx", Folder({Mail("From: c@example.jp\r\n\r\na device name\r\n")})});
    store.push_back({"dots...DBX", Folder({Mail("From: d@example.jp\r\n\r\ntrailing dots\r\n")})});
  }
  return store;
}

void WriteSampleStore(const std::filesystem::path& folder, const std::vector<SampleFolder>& store) {
  for (const auto& sample : store) {
    const auto image = WriteDbx(sample.description);
    Write(folder / sample.fileName, std::string(image.bytes.begin(), image.bytes.end()));
  }
  Write(folder / "pop3uidl.txt", "not a folder file");
}

void WriteHandMadeSet(const std::filesystem::path& setFolder, const std::filesystem::path& store, bool compressed) {
  namespace fs = std::filesystem;
  Write(setFolder / "Reg" / "Account.reg", "REGEDIT4\r\n\r\n");
  std::string info;  // appended piece by piece: GCC 12's -Wrestrict misreads "literal" + std::string&&
  for (const char* line : {"Date       :2004/05/12 9:05:03", "OS         :WindowsXP", "OE         :6.00.2900.5512",
                           "StoreRoot  :C:\\Documents and Settings\\太郎\\Outlook Express", "UserName   :太郎",
                           "UserID     :{AAAAAAAA-1111-2222-3333-444444444444}", "WabPath    :C:\\太郎.wab",
                           "BackupPath :C:\\Vorn_bkup"})
    (info += '"').append(Utf8ToCp932(line)).append("\"\r\n");
  Write(setFolder / "Reg" / "VornInfo.dat", info);
  if (!compressed) {
    fs::create_directories(setFolder / "Mail");
    for (const auto& entry : fs::directory_iterator(store)) fs::copy(entry.path(), setFolder / "Mail" / entry.path().filename());
    return;
  }
  const std::string command = "cd '" + store.string() + "' && LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 jlha aq '" +
                              (setFolder / "Mail.lzh").string() + "' * >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("jlha cannot pack the store (is jlha-utils installed?)");
}

std::vector<std::string> ExtractedMessages(const SampleFolder& folder) {
  std::vector<std::string> texts;
  for (const auto& message : folder.description.messages)
    if (message.kind != MessageKind::Unclassified) texts.push_back(ExtractedText(message.text));
  return texts;
}

}  // namespace vorn::test
