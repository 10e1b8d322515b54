// Exports the mail of a generated backup set whose Mail.lzh is about 500 MB (or the MB given)
// with set export, and prints its time and peak memory beside the two steps it saves: unpacking
// the archive to disk (the restore's own command line) and then extracting every folder file
// with the window's extraction. Each run is a process of its own, so its peak memory is its own.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build/bench --target bench_set_export && build/bench/bench/bench_set_export [MB]
//
// VORN_BENCH_DIR picks the disk (the default is the temporary folder); it needs about 15 times
// the archive's size.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "backup/mail_archive.h"
#include "bench/mail_corpus.h"
#include "dbx/message_extraction.h"
#include "lha/unlha.h"
#include "platform/sim/sim_file_system.h"
#include "restore/mail_store_restore.h"
#include "setread/set_export.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The mail corpus packs to about a fifth.
constexpr double kPackedShare = 0.21;
constexpr size_t kCorpusChunk = size_t{200} << 20;

struct Measured {
  double seconds = 0;
  double peakMegabytes = 0;
  bool ok = false;
};

// `work` in a child process, timed from written-back disks; its own peak memory.
Measured InChild(const std::function<bool()>& work) {
  ::sync();
  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) _exit(work() ? 0 : 1);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return {std::chrono::duration<double>(Clock::now() - start).count(), static_cast<double>(usage.ru_maxrss) / 1024,
          WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

class NoExtractionProgress : public vorn::ExtractionProgress {
 public:
  void Begin(int32_t) override {}
  void Update(int32_t) override {}
  void End(int32_t) override {}
};

class NoExportProgress : public vorn::SetExportProgress {
 public:
  void Update(size_t, size_t, int64_t) override {}
};

uint64_t FolderBytes(const fs::path& folder, uint64_t& files) {
  uint64_t bytes = 0;
  files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) {
      bytes += entry.file_size();
      ++files;
    }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const double archiveMegabytes = argc > 1 ? std::strtod(argv[1], nullptr) : 500;
  const char* base = std::getenv("VORN_BENCH_DIR");
  const fs::path root = (base ? fs::path(base) : fs::temp_directory_path()) / ("vorn-set-bench-" + std::to_string(getpid()));
  fs::create_directories(root / "C" / "Store");
  fs::create_directories(root / "C" / "Program");
  fs::create_directories(root / "C" / "Set" / "taro" / "Reg");
  std::ofstream(root / "C" / "Set" / "taro" / "Reg" / "Account.reg") << "REGEDIT4\r\n";
  vorn::SimFileSystem files(root);

  // The store, written chunk by chunk so that the corpus never sits in memory whole.
  const auto storeBytes = static_cast<size_t>(archiveMegabytes * 1e6 / kPackedShare);
  InChild([&] {
    size_t written = 0;
    for (unsigned chunk = 0; written < storeBytes; ++chunk) {
      for (const auto& folder : vorn::bench::MailStore(std::min(kCorpusChunk, storeBytes - written), 7 + chunk)) {
        std::ofstream(root / "C" / "Store" / (std::to_string(chunk) + "-" + folder.name), std::ios::binary) << folder.bytes;
        written += folder.bytes.size();
      }
    }
    return true;
  });
  const Measured pack = InChild([&] {
    return vorn::unlha::RunCommand(files, vorn::MailArchiveCommandLine("C:\\Set\\taro\\Mail.lzh", "C:\\Program", "C:\\Store"),
                                   nullptr, 0) == 0;
  });
  uint64_t storeFiles = 0;
  const uint64_t store = FolderBytes(root / "C" / "Store", storeFiles);
  fs::remove_all(root / "C" / "Store");
  const uint64_t archive = fs::file_size(root / "C" / "Set" / "taro" / "Mail.lzh");
  std::printf("set: %llu folder files, %.0f MB, Mail.lzh %.0f MB (packed in %.1f s%s)\n",
              static_cast<unsigned long long>(storeFiles), store / 1e6, archive / 1e6, pack.seconds,
              pack.ok ? "" : ", FAILED");

  // Nothing is removed before the end: the removal of many files keeps a disk busy long after.
  const Measured unpack = InChild([&] {
    return vorn::unlha::RunCommand(files, vorn::MeltCommandLine("C:\\Set\\taro", "C:\\Unpacked"), nullptr, 0) == 0;
  });
  const Measured extract = InChild([&] {
    bool ok = true;
    for (const auto& entry : files.List("C:\\Unpacked", "*.dbx")) {
      NoExtractionProgress progress;
      const std::string stem = entry.name.substr(0, entry.name.size() - 4);
      ok &= vorn::ExtractFile(files, "C:\\Unpacked\\" + entry.name, "C:\\Extracted\\" + stem + "\\", progress).error ==
            vorn::DbxError::None;
    }
    return ok;
  });
  uint64_t extractedFiles = 0;
  const uint64_t extractedBytes = FolderBytes(root / "C" / "Extracted", extractedFiles);

  const Measured exported = InChild([&] {
    NoExportProgress progress;
    return vorn::ExportSetMail(files, "C:\\Set\\taro", "C:\\Exported", vorn::ExportForm::MessageFiles, progress)
        .Complete();
  });
  uint64_t exportedFiles = 0;
  const uint64_t exportedBytes = FolderBytes(root / "C" / "Exported", exportedFiles);

  const Measured mbox = InChild([&] {
    NoExportProgress progress;
    return vorn::ExportSetMail(files, "C:\\Set\\taro", "C:\\Mbox", vorn::ExportForm::Mbox, progress).Complete();
  });

  const double twoSteps = unpack.seconds + extract.seconds;
  std::printf("set export:             %6.1f s, peak memory %5.1f MB (target below 64 MB)%s\n", exported.seconds,
              exported.peakMegabytes, exported.ok ? "" : ", FAILED");
  std::printf("set export --mbox:      %6.1f s, peak memory %5.1f MB%s\n", mbox.seconds, mbox.peakMegabytes,
              mbox.ok ? "" : ", FAILED");
  std::printf("unpack, then extract:   %6.1f s = %.1f s unpacking (peak %.1f MB) + %.1f s extracting (peak %.1f MB)%s\n",
              twoSteps, unpack.seconds, unpack.peakMegabytes, extract.seconds, extract.peakMegabytes,
              unpack.ok && extract.ok ? "" : ", FAILED");
  std::printf("set export / two steps: %6.2f (target below 1.00)\n", exported.seconds / twoSteps);
  std::printf("message files: %llu (%.0f MB) exported, %llu (%.0f MB) extracted%s\n",
              static_cast<unsigned long long>(exportedFiles), exportedBytes / 1e6,
              static_cast<unsigned long long>(extractedFiles), extractedBytes / 1e6,
              exportedFiles == extractedFiles && exportedBytes == extractedBytes ? "" : " DIFFER");
  fs::remove_all(root);
  return exported.ok && unpack.ok && extract.ok && exportedFiles == extractedFiles ? 0 : 1;
}
