#pragma once
// What the folder-file benchmarks share: their scratch folder, timing, a progress that shows
// nothing, the generated folder files, written in a child process so the writer's memory does not
// count against the reader's, and undbx's time beside ours.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include "dbx/message_extraction.h"
#include "tests/dbx/dbx_writer.h"

namespace vorn::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A folder of the run's own below VORN_BENCH_DIR, which picks the disk (e.g. /dev/shm), or below
// the temporary folder.
inline std::filesystem::path BenchFolder(const std::string& name) {
  const char* base = std::getenv("VORN_BENCH_DIR");
  return (base ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
         (name + "-" + std::to_string(getpid()));
}

inline double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

class NoProgress : public ExtractionProgress {
 public:
  void Begin(int32_t) override {}
  void Update(int32_t) override {}
  void End(int32_t) override {}
};

// Mostly short mails, some with attachments, a few large ones, every tenth a news article: about
// targetBytes of message text in all.
inline test::DbxDescription MixedFolder(unsigned seed, size_t targetBytes) {
  test::DbxDescription description;
  std::mt19937 random(seed);
  size_t total = 0;
  for (int i = 0; total < targetBytes; ++i) {
    const int pick = static_cast<int>(random() % 100);
    const size_t size = pick < 70 ? 2000 + random() % 8000 : pick < 97 ? 50000 + random() % 150000 : 1000000 + random() % 3000000;
    test::DbxMessage message;
    message.kind = i % 10 == 0 ? MessageKind::News : MessageKind::Mail;
    message.direct = false;  // pointers beyond 16 MB do not fit in a slot
    message.text = (i % 10 == 0 ? "Newsgroups: fj.test\r\n" : "") + std::string("Subject: ") + std::to_string(i) + "\r\n\r\n";
    message.text.reserve(size);
    for (size_t k = message.text.size(); k < size; ++k) message.text += static_cast<char>(k % 78 == 77 ? '\n' : 'A' + (k + i) % 26);
    total += size;
    description.messages.push_back(std::move(message));
  }
  return description;
}

inline void WriteImage(const std::filesystem::path& path, const test::DbxDescription& description) {
  auto image = test::WriteDbx(description);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.bytes.data()), static_cast<std::streamsize>(image.bytes.size()));
}

// Runs `write` in a child process and waits for it.
inline void InChildProcess(const std::function<void()>& write) {
  pid_t child = fork();
  if (child == 0) {
    write();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

// Times undbx, when it is installed, run with arguments in folder, and prints it under label.
inline void TimeUndbx(const std::filesystem::path& folder, const std::string& arguments, const char* label,
                      double megabytes) {
  if (std::system("command -v undbx >/dev/null 2>&1") != 0) return;
  const Clock::time_point start = Clock::now();
  const std::string command = "cd '" + folder.string() + "' && undbx " + arguments + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  const double seconds = Seconds(start);
  std::printf("%-12s %.2f s, %.0f MB/s%s\n", label, seconds, megabytes / seconds, status == 0 ? "" : " (failed)");
}

}  // namespace vorn::bench
