// Writes a folder file of just under 2 GB (VORN_BENCH_MB changes the size), then times, in one run, the
// extraction of the intact file by its index, the recovery of the same file with its index
// pointer gone, and undbx's recovery mode where installed; each with its peak memory.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/dbx_bench_support.h"
#include "bench/direct_file_system.h"
#include "dbx/message_recovery.h"

namespace {

namespace fs = std::filesystem;
using vorn::bench::Clock;
using vorn::bench::Seconds;

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
  const char* megabytesWanted = std::getenv("VORN_BENCH_MB");
  const size_t target = (megabytesWanted ? std::strtoull(megabytesWanted, nullptr, 10) : 1950) << 20;  // offsets are 32-bit: just under 2 GB
  const fs::path root = vorn::bench::BenchFolder("vorn-recover");
  fs::create_directories(root / "C" / "Store");
  const fs::path intact = root / "C" / "Store" / "Intact.dbx";
  const fs::path broken = root / "C" / "Store" / "Broken.dbx";
  std::fflush(stdout);
  vorn::bench::InChildProcess([&] { vorn::bench::WriteImage(intact, vorn::bench::MixedFolder(7, target)); });
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
  vorn::bench::TimeUndbx(root / "C" / "Store", "-r -v 0 Broken.dbx undbx-out", "undbx -r:", megabytes);
  fs::remove_all(root);
}
