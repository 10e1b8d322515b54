// Writes a 200 MB folder file of a few thousand messages, then prints the extraction's speed
// beside a plain copy of the same file, the extraction's peak memory and, when installed, undbx's time.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/dbx_bench_support.h"
#include "bench/direct_file_system.h"

namespace {

namespace fs = std::filesystem;
using vorn::bench::Clock;
using vorn::bench::Seconds;

constexpr size_t kTargetBytes = 200u << 20;

// Mostly short mails, some with attachments, a few large ones: about 200 MB in all.
vorn::test::DbxDescription Folder() {
  vorn::test::DbxDescription description;
  std::mt19937 random(4);
  size_t total = 0;
  for (int i = 0; total < kTargetBytes; ++i) {
    const int pick = static_cast<int>(random() % 100);
    const size_t size = pick < 70 ? 2000 + random() % 8000 : pick < 97 ? 50000 + random() % 150000 : 1000000 + random() % 3000000;
    vorn::test::DbxMessage message;
    message.kind = i % 10 == 0 ? vorn::MessageKind::News : vorn::MessageKind::Mail;
    message.direct = false;  // pointers beyond 16 MB do not fit in a slot
    message.text.resize(size);
    for (size_t k = 0; k < size; ++k) message.text[k] = static_cast<char>(k % 78 == 77 ? '\n' : 'A' + (k + i) % 26);
    total += size;
    description.messages.push_back(std::move(message));
  }
  return description;
}


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
  // VORN_BENCH_DIR picks the disk (e.g. /dev/shm); the default is the temporary folder.
  const char* base = std::getenv("VORN_BENCH_DIR");
  const fs::path root = (base ? fs::path(base) : fs::temp_directory_path()) / ("vorn-bench-" + std::to_string(getpid()));
  fs::create_directories(root / "C" / "Store");
  const fs::path folder = root / "C" / "Store" / "Folder.dbx";
  vorn::bench::InChildProcess([&] { vorn::bench::WriteImage(folder, Folder()); });
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
  if (std::system("command -v undbx >/dev/null 2>&1") == 0) {
    auto start = Clock::now();
    std::string command = "cd '" + (root / "C" / "Store").string() + "' && undbx -v 0 Folder.dbx undbx-out >/dev/null 2>&1";
    int status = std::system(command.c_str());
    std::printf("undbx:       %.2f s, %.0f MB/s%s\n", Seconds(start), megabytes / Seconds(start),
                status == 0 ? "" : " (failed)");
  }
  fs::remove_all(root);
}
