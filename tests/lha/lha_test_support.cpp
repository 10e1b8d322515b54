#include "tests/lha/lha_test_support.h"

#include <cstdlib>
#include <fstream>
#include <random>

namespace vorn::lha::test {

Unpacked UnpackAll(const std::string& archive) {
  MemorySource source(archive);
  LhaReader reader(source);
  Unpacked result;
  MemberHeader header;
  while ((result.end = reader.Next(header)) == HeaderRead::Member) {
    MemorySink sink;
    ExtractResult extracted = reader.Extract(&sink);
    result.members.push_back({header, extracted, sink.bytes});
  }
  return result;
}

std::string PackFiles(const std::vector<std::pair<std::vector<std::string>, std::string>>& files) {
  MemorySink archive;
  LhaWriter writer(archive, nullptr);
  for (const auto& [path, data] : files) {
    MemberHeader header;
    header.path = path;
    header.modified = 1700000000;
    const std::string& bytes = data;
    writer.AddFile(header, [&bytes] { return std::make_unique<MemorySource>(bytes); });
  }
  writer.Finish();
  return archive.bytes;
}

std::string MailLikeText(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  static const char* const kWords[] = {"Subject: ", "From: taro@example.jp\r\n", "Received: from mx.example.jp\r\n",
                                       "\x1b$B$3$s$K$A$O\x1b(B", "\x1b$BF|K\\8l$N%a!<%k\x1b(B ", "Re: ",
                                       "MIME-Version: 1.0\r\n", "Content-Type: text/plain; charset=ISO-2022-JP\r\n",
                                       "\r\n", "meeting ", "tomorrow ", "report "};
  static const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  while (text.size() < size) {
    if (random() % 8 == 0) {
      for (int line = 0; line < 20; ++line) {
        for (int i = 0; i < 76; ++i) text += kBase64[random() % 64];
        text += "\r\n";
      }
    } else {
      text += kWords[random() % std::size(kWords)];
    }
  }
  text.resize(size);
  return text;
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (auto& b : bytes) b = static_cast<char>(random());
  return bytes;
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vorn-lha-XXXXXX").string();
  path_ = mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void WriteHostFile(const std::filesystem::path& path, const std::string& data) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace vorn::lha::test
