#pragma once
// A mail store as a user of the program has one: folder files (.dbx) of Japanese mail, written
// as the mail program lays them out, for the archiver benchmark.
#include <cstddef>
#include <string>
#include <vector>

namespace vorn::bench {

struct FolderFile {
  std::string name;  // "Inbox.dbx"
  std::string bytes;
};

// Folder files of about `totalBytes` in all, the same for the same seed. The messages are
// RFC 822 mail: Received chains, encoded Japanese names and subjects, ISO-2022-JP bodies of
// business and private mail with greetings, quoted replies and signatures, some HTML parts,
// mail magazines and a few base64 attachments.
std::vector<FolderFile> MailStore(size_t totalBytes, unsigned seed);

}  // namespace vorn::bench
