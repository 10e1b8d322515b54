#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vorn {

enum class WindowStyle { Normal, Minimized, Hidden };

class Processes {
 public:
  virtual ~Processes() = default;
  // Executable names of the running processes; nullopt when no snapshot can be taken.
  virtual std::optional<std::vector<std::string>> Snapshot() const = 0;
  // Starts a program and returns at once.
  virtual bool Start(const std::string& commandLine, WindowStyle style) = 0;
  // Starts a program and waits for it; its exit code, or nullopt when it could not start.
  virtual std::optional<int> RunAndWait(const std::string& commandLine, WindowStyle style) = 0;
};

}  // namespace vorn
