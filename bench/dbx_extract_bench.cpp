// Writes a 200 MB folder file of a few thousand messages, then prints the extraction's speed
// beside a plain copy of the same file, the extraction's peak memory and, when installed, undbx's time.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/dbx_bench_support.h"
#include "bench/direct_file_system.h"

namespace {

namespace fs = std::filesystem;
using vorn::bench::Clock;
using vorn::bench::Seconds;

constexpr size_t kTargetBytes = 200u << 20;  // of message text

// A plain copy through the same file interface the extraction uses.
double PlainCopy(vorn::FileSystem& files, const std::string& from, const std::string& to) {
  auto start = Clock::now();
  auto in = files.OpenRead(from);
  auto out = files.OpenWrite(to);
  std::vector<char> buffer(64 * 1024);
  while (auto got = in->Read(buffer.data(), buffer.size())) {
    if (*got == 0) break;
    out->Write(buffer.data(), *got);
  }
  out->Close();
  return Seconds(start);
}

}  // namespace

int main() {
  const fs::path root = vorn::bench::BenchFolder("vorn-bench");
  fs::create_directories(root / "C" / "Store");
  const fs::path folder = root / "C" / "Store" / "Folder.dbx";
  vorn::bench::InChildProcess([&] { vorn::bench::WriteImage(folder, vorn::bench::MixedFolder(4, kTargetBytes)); });
  const double megabytes = static_cast<double>(fs::file_size(folder)) / (1 << 20);

  vorn::bench::DirectFileSystem files(root);
  double copy = 1e9, firstRun = 0, rerun = 1e9;
  vorn::ExtractionResult result;
  for (int round = 0; round < 3; ++round) {
    copy = std::min(copy, PlainCopy(files, "C:\\Store\\Folder.dbx", "C:\\Copy.dbx"));
    vorn::bench::NoProgress progress;
    auto start = Clock::now();
    result = vorn::ExtractFile(files, "C:\\Store\\Folder.dbx", "C:\\Out\\", progress);
    (round == 0 ? firstRun : rerun) = std::min(round == 0 ? 1e9 : rerun, Seconds(start));
  }

  std::printf("folder file: %.1f MB, %d messages extracted (%s)\n", megabytes, result.counters.Named(),
              result.error == vorn::DbxError::None ? "ok" : vorn::DbxErrorDescription(result.error).c_str());
  std::printf("plain copy:  %.2f s, %.0f MB/s\n", copy, megabytes / copy);
  // The first run creates every message file; a second run replaces them, which leaves out the
  // cost of making new files in the folder.
  std::printf("extraction, files made:     %.2f s, %.0f MB/s (%.0f%% of the copy)\n", firstRun, megabytes / firstRun,
              100 * copy / firstRun);
  std::printf("extraction, files replaced: %.2f s, %.0f MB/s (%.0f%% of the copy; target 70%%)\n", rerun,
              megabytes / rerun, 100 * copy / rerun);
  std::printf("peak memory: %.1f MB (target below 64 MB)\n", vorn::bench::PeakMegabytes());
  vorn::bench::TimeUndbx(root / "C" / "Store", "-v 0 Folder.dbx undbx-out", "undbx:", megabytes);
  fs::remove_all(root);
}
