#pragma once
#include <map>

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
    return Launch(commandLine, style).has_value();
  }
  std::optional<int> RunAndWait(const std::string& commandLine, WindowStyle style) override {
    return Launch(commandLine, style);
  }

  struct Started {
    std::string commandLine;
    WindowStyle style;
    bool operator==(const Started&) const = default;
  };
  std::vector<std::string> running;
  bool snapshotAvailable = true;
  // How the commands the test names end; nullopt: the program is not there. Any other command
  // starts and ends with 0.
  std::map<std::string, std::optional<int>> exitCodes;
  std::vector<Started> started;

 private:
  std::optional<int> Launch(const std::string& commandLine, WindowStyle style) {
    auto known = exitCodes.find(commandLine);
    const std::optional<int> exitCode = known == exitCodes.end() ? 0 : known->second;
    if (exitCode) started.push_back({commandLine, style});
    return exitCode;
  }
};

}  // namespace vorn
