// Packed size and packing and unpacking speed on two generated corpora, beside jlha:
//   mail store  folder files (.dbx) of Japanese mail as a user's store holds them
//   messages    raw messages with a large share of base64 attachments
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build/bench --target bench_lha && build/bench/bench/bench_lha [MB] [--no-jlha]
//
// Each corpus (MB megabytes, 100 unless given) is written to a temporary folder so that jlha
// packs the same files; its -lh5-, -lh6- and -lh7- archives are then unpacked by our reader too.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/mail_corpus.h"
#include "lha/codec/lha_reader.h"
#include "lha/codec/lha_writer.h"
#include "lha/unlha.h"
#include "platform/sim/sim_file_system.h"
#include "tests/lha/lha_test_support.h"

namespace {

using namespace vorn::lha;
using vorn::bench::FolderFile;
using vorn::lha::test::MemorySink;
namespace fs = std::filesystem;

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(const std::string& data) : data_(data) {}
  std::optional<size_t> Read(void* buffer, size_t size) override {
    size = std::min(size, data_.size() - at_);
    std::memcpy(buffer, data_.data() + at_, size);
    at_ += size;
    return size;
  }

 private:
  const std::string& data_;
  size_t at_ = 0;
};

class CountingSink : public ByteSink {
 public:
  bool Write(const void*, size_t size) override {
    count += size;
    return true;
  }
  uint64_t count = 0;
};

// JIS X 0208 words as they appear between ESC $ B and ESC ( B.
const char* const kJapaneseWords[] = {"$3$s$K$A$O", "$*@$OC$K$J$C$F$*$j$^$9", "2q5D", "$N7o", "$K$D$$$F",
                                      "$h$m$7$/$*4j$$$7$^$9", "K\\F|", "L@F|", "$G$9", "$^$9", "<}<!", "J*:",
                                      "$rAw$j$^$9", "3NG'", "@.2L", "J8=q", "%a!<%k", "%U%!%$%k", "!#", "!\""};
const char* const kEnglishWords[] = {"meeting", "report", "schedule", "attached", "please", "review", "thanks"};
const char* const kNames[] = {"taro", "hanako", "ichiro", "yuki", "kenji", "sakura", "admin", "info"};
const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Message(std::mt19937& random, int number) {
  auto pick = [&](auto& list) { return list[random() % std::size(list)]; };
  std::string m;
  m += "Return-Path: <" + std::string(pick(kNames)) + "@example.co.jp>\r\n";
  m += "Received: from mail" + std::to_string(random() % 20) + ".example.co.jp (mail.example.co.jp [192.0.2." +
       std::to_string(random() % 250) + "])\r\n\tby mx.example.jp (8.12.10) with ESMTP id i" +
       std::to_string(random()) + "\r\n\tfor <" + pick(kNames) + "@example.jp>; Tue, 3 Feb 2004 10:" +
       std::to_string(10 + random() % 50) + ":00 +0900\r\n";
  m += "Message-ID: <" + std::to_string(random()) + "." + std::to_string(number) + "@example.co.jp>\r\n";
  m += "From: " + std::string(pick(kNames)) + " <" + pick(kNames) + "@example.co.jp>\r\n";
  m += "To: " + std::string(pick(kNames)) + "@example.jp\r\n";
  m += "Subject: =?ISO-2022-JP?B?GyRCMnE1RCRON28bKEI=?=\r\nDate: Tue, 3 Feb 2004 10:00:00 +0900\r\n";
  m += "MIME-Version: 1.0\r\nX-Mailer: Microsoft Outlook Express 6.00.2800.1158\r\n";
  const bool attachment = random() % 10 < 3;
  if (attachment) m += "Content-Type: multipart/mixed;\r\n\tboundary=\"----=_NextPart_000_0005\"\r\n\r\n"
                       "------=_NextPart_000_0005\r\n";
  m += "Content-Type: text/plain;\r\n\tcharset=\"iso-2022-jp\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";
  int lines = 10 + static_cast<int>(random() % 60);
  for (int l = 0; l < lines; ++l) {
    std::string line = "\x1b$B";
    for (int w = 0, n = 3 + static_cast<int>(random() % 8); w < n; ++w) line += pick(kJapaneseWords);
    line += "\x1b(B";
    if (random() % 4 == 0) line += std::string(" ") + pick(kEnglishWords);
    m += line + "\r\n";
  }
  if (attachment) {
    m += "\r\n------=_NextPart_000_0005\r\nContent-Type: image/jpeg;\r\n\tname=\"photo.jpg\"\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\n";
    // Compressed payloads look random: six bits of entropy per character.
    size_t size = 5000 + random() % 60000;
    for (size_t i = 0; i < size; ++i) {
      m += kBase64[random() % 64];
      if (i % 76 == 75) m += "\r\n";
    }
    m += "\r\n------=_NextPart_000_0005--\r\n";
  }
  return m + "\r\n";
}

std::vector<FolderFile> Messages(size_t totalBytes) {
  std::mt19937 random(20040203);
  std::vector<FolderFile> files;
  size_t total = 0;
  int number = 0;
  while (total < totalBytes) {
    std::string file;
    size_t size = (2 + random() % 4) << 20;
    while (file.size() < size) file += Message(random, number++);
    total += file.size();
    files.push_back({"mail" + std::to_string(files.size()) + ".dbx", std::move(file)});
  }
  return files;
}

// Our figures are processor time of this one thread, so that other load on the machine does not count.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Unpacks every member; returns the seconds taken, or a negative value on any failure.
double UnpackAll(const std::string& archive, uint64_t expectedBytes) {
  const double start = CpuSeconds();
  MemorySource source(archive);
  LhaReader reader(source);
  MemberHeader header;
  uint64_t originalBytes = 0;
  HeaderRead read;
  while ((read = reader.Next(header)) == HeaderRead::Member) {
    CountingSink sink;
    if (reader.Extract(&sink) != ExtractResult::Ok) return -1;
    originalBytes += sink.count;
  }
  return read == HeaderRead::End && originalBytes == expectedBytes ? CpuSeconds() - start : -1;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Row(const std::string& name, uint64_t original, uint64_t packed, double packSeconds, double unpackSeconds) {
  const double mb = original / 1e6;
  std::printf("%-16s %12llu %7.2f%% ", name.c_str(), static_cast<unsigned long long>(packed), 100.0 * packed / original);
  if (packSeconds > 0) std::printf("%9.1f ", mb / packSeconds);
  else std::printf("%9s ", "-");
  if (unpackSeconds > 0) std::printf("%11.1f\n", mb / unpackSeconds);
  else std::printf("%11s\n", "failed");
}

void Measure(const char* corpusName, const std::vector<FolderFile>& files, bool withJlha) {
  uint64_t original = 0;
  for (const auto& f : files) original += f.bytes.size();
  std::printf("\n%s: %zu files, %.1f MB\n", corpusName, files.size(), original / 1e6);
  std::printf("%-16s %12s %8s %9s %11s\n", "method", "packed bytes", "ratio", "pack MB/s", "unpack MB/s");

  const double start = CpuSeconds();
  MemorySink archive;
  LhaWriter writer(archive, nullptr, size_t{1} << 30);
  for (const auto& file : files) {
    MemberHeader header;
    header.path = {file.name};
    writer.AddFile(header, [&file] { return std::make_unique<MemorySource>(file.bytes); });
  }
  writer.Finish();
  const double packSeconds = CpuSeconds() - start;
  const uint64_t ours = archive.bytes.size();
  Row("lh5 (ours)", original, ours, packSeconds, UnpackAll(archive.bytes, original));

  // The same files through the Unlha command line from disk: both cores pack, so elapsed time counts.
  const fs::path folder = fs::temp_directory_path() / "vorn-lha-bench";
  fs::remove_all(folder);
  fs::create_directories(folder / "C" / "corpus");
  for (const auto& file : files) std::ofstream(folder / "C" / "corpus" / file.name, std::ios::binary) << file.bytes;
  {
    vorn::SimFileSystem disk(folder);
    auto wallStart = std::chrono::steady_clock::now();
    int32_t result = vorn::unlha::RunCommand(disk, "a \"C:\\unlha.lzh\" \"C:\\corpus\\\" *.*", nullptr, 0);
    const double wallSeconds = Seconds(wallStart);
    const std::string packed = ReadFile(folder / "C" / "unlha.lzh");
    Row("lh5 (Unlha a)", original, packed.size(), wallSeconds, result == 0 ? UnpackAll(packed, original) : -1);
  }
  if (withJlha) {
    for (const char* method : {"5", "6", "7"}) {
      const fs::path out = folder / (std::string("jlha") + method + ".lzh");
      const std::string command = "cd '" + (folder / "C" / "corpus").string() +
                                  "' && LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 jlha aqo" + method + " '" + out.string() +
                                  "' *.dbx >/dev/null 2>&1";
      auto jlhaStart = std::chrono::steady_clock::now();
      if (std::system(command.c_str()) != 0) {
        std::printf("lh%s (jlha)       failed\n", method);
        continue;
      }
      const double jlhaSeconds = Seconds(jlhaStart);
      const std::string theirs = ReadFile(out);
      Row(std::string("lh") + method + " (jlha)", original, theirs.size(), jlhaSeconds, UnpackAll(theirs, original));
      if (std::string(method) == "5")
        std::printf("%-16s %+11.2f%%\n", "ours vs jlha lh5", 100.0 * (static_cast<double>(ours) / theirs.size() - 1));
    }
  }
  fs::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const bool withJlha = !(argc > 2 && std::string(argv[2]) == "--no-jlha");
  if (withJlha && !fs::exists("/usr/bin/jlha")) {
    std::fprintf(stderr, "jlha is missing (scripts/install-deps.sh installs it), or pass --no-jlha\n");
    return 1;
  }
  Measure("mail store", vorn::bench::MailStore(megabytes << 20, 20040203), withJlha);
  Measure("messages", Messages(megabytes << 20), withJlha);
  std::printf("\n(lh5 (ours): processor time of one thread, in memory. Unlha a: elapsed time, files packed on\n"
              " two threads, read from and written to disk. jlha rows: jlha's own packing speed in elapsed\n"
              " time, our unpacking speed of its archive. Unpacking: processor time of one thread.)\n");
  return 0;
}
