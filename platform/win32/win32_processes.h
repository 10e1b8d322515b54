#pragma once
#include "platform/processes.h"

namespace vorn {

class Win32Processes : public Processes {
 public:
  std::optional<std::vector<std::string>> Snapshot() const override;
  bool Start(const std::string& commandLine, WindowStyle style) override;
  std::optional<int> RunAndWait(const std::string& commandLine, WindowStyle style) override;
};

}  // namespace vorn
