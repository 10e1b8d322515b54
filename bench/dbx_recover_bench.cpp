// Writes a folder file of just under 2 GB (VORN_BENCH_MB changes the size), then times, in one run, the
// extraction of the intact file by its index, the recovery of the same file with its index
// pointer gone, and undbx's recovery mode where installed; each with its peak memory.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "bench/dbx_bench_support.h"
#include "bench/direct_file_system.h"
#include "dbx/message_recovery.h"

namespace {

namespace fs = std::filesystem;
using vorn::bench::Clock;
using vorn::bench::Seconds;

vorn::test::DbxDescription Folder(size_t targetBytes) {
  vorn::test::DbxDescription description;
  std::mt19937 random(7);
  size_t total = 0;
  for (int i = 0; total < targetBytes; ++i) {
    const int pick = static_cast<int>(random() % 100);
    const size_t size = pick < 70 ? 2000 + random() % 8000 : pick < 97 ? 50000 + random() % 150000 : 1000000 + random() % 3000000;
    vorn::test::DbxMessage message;
    message.kind = i % 10 == 0 ? vorn::MessageKind::News : vorn::MessageKind::Mail;
    message.direct = false;  // pointers beyond 16 MB do not fit in a slot
    message.text = (i % 10 == 0 ? "Newsgroups: fj.test\r\n" : "") + std::string("Subject: ") + std::to_string(i) + "\r\n\r\n";
    for (size_t k = message.text.size(); k < size; ++k) message.text += static_cast<char>(k % 78 == 77 ? '\n' : 'A' + (k + i) % 26);
    total += size;
    description.messages.push_back(std::move(message));
  }
  return description;
}

// Runs `measure` in a child process of its own, which prints its peak memory.
void Measured(const std::function<void()>& measure) {
  std::fflush(stdout);
  vorn::bench::InChildProcess([&] {
    measure();
    std::printf("  peak memory: %.1f MB\n", vorn::bench::PeakMegabytes());
    std::fflush(stdout);
  });
}

}  // namespace

int main() {
  const char* base = std::getenv("VORN_BENCH_DIR");
  const char* megabytesWanted = std::getenv("VORN_BENCH_MB");
  const size_t target = (megabytesWanted ? std::strtoull(megabytesWanted, nullptr, 10) : 1950) << 20;  // offsets are 32-bit: just under 2 GB
  const fs::path root = (base ? fs::path(base) : fs::temp_directory_path()) / ("vorn-recover-" + std::to_string(getpid()));
  fs::create_directories(root / "C" / "Store");
  const fs::path intact = root / "C" / "Store" / "Intact.dbx";
  const fs::path broken = root / "C" / "Store" / "Broken.dbx";
  std::fflush(stdout);
  vorn::bench::InChildProcess([&] { vorn::bench::WriteImage(intact, Folder(target)); });
  fs::copy_file(intact, broken);
  {
    std::fstream patch(broken, std::ios::in | std::ios::out | std::ios::binary);
    patch.seekp(0xE4);
    patch.write("\0\0\0\0", 4);
  }
  const double megabytes = static_cast<double>(fs::file_size(intact)) / (1 << 20);
  std::printf("folder file: %.1f MB\n", megabytes);

  vorn::bench::DirectFileSystem files(root);
  Measured([&] {
    vorn::bench::NoProgress progress;
    auto start = Clock::now();
    const auto result = vorn::ExtractFile(files, "C:\\Store\\Intact.dbx", "C:\\ByIndex\\", progress);
    std::printf("index extraction (intact file): %.2f s, %.0f MB/s, %d messages\n", Seconds(start),
                megabytes / Seconds(start), result.counters.Named());
    std::fflush(stdout);
  });
  Measured([&] {
    auto start = Clock::now();
    const auto report = vorn::RecoverMessages(files, "C:\\Store\\Broken.dbx", "C:\\Recovered\\");
    std::printf("recovery (index pointer gone): %.2f s, %.0f MB/s, %d whole, %d cut\n", Seconds(start),
                megabytes / Seconds(start), report.whole, report.cut);
    std::fflush(stdout);
  });
  if (std::system("command -v undbx >/dev/null 2>&1") == 0) {
    auto start = Clock::now();
    std::string command = "cd '" + (root / "C" / "Store").string() + "' && undbx -r -v 0 Broken.dbx undbx-out >/dev/null 2>&1";
    int status = std::system(command.c_str());
    std::printf("undbx -r:    %.2f s, %.0f MB/s%s\n", Seconds(start), megabytes / Seconds(start),
                status == 0 ? "" : " (failed)");
  }
  fs::remove_all(root);
}
