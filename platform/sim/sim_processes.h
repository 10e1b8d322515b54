#pragma once
#include "platform/processes.h"

namespace vorn {

// Running programs are a list the test sets; started programs are recorded, not run.
class SimProcesses : public Processes {
 public:
  std::optional<std::vector<std::string>> Snapshot() const override {
    if (!snapshotAvailable) return std::nullopt;
    return running;
  }
  bool Start(const std::string& commandLine, WindowStyle style) override {
    started.push_back({commandLine, style});
    return true;
  }
  std::optional<int> RunAndWait(const std::string& commandLine, WindowStyle style) override {
    started.push_back({commandLine, style});
    return exitCode;
  }

  struct Started {
    std::string commandLine;
    WindowStyle style;
    bool operator==(const Started&) const = default;
  };
  std::vector<std::string> running;
  bool snapshotAvailable = true;
  std::optional<int> exitCode = 0;
  std::vector<Started> started;
};

}  // namespace vorn
