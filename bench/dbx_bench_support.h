#pragma once
// What the folder-file benchmarks share: timing, a progress that shows nothing, and writing the
// generated files in a child process, so the writer's memory does not count against the reader's.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "dbx/message_extraction.h"
#include "tests/dbx/dbx_writer.h"

namespace vorn::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

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

}  // namespace vorn::bench
