#pragma once
// The small window that shows which member Unlha is packing or unpacking and how far it has got.
// Used from the calling thread only: the window belongs to that thread, and updates pump its messages.
#include <cstdint>
#include <string>

#include "platform/win32/windows_api.h"

namespace vorn {

class ProgressWindow {
 public:
  // Nothing appears until the first Update, and nothing at all without an owner.
  ProgressWindow(HWND owner, std::string caption);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows member and done out of total, and lets the window repaint. Calls within a tenth of a
  // second of the last shown one are dropped, so a caller may report every block.
  void Update(const std::string& member, uint64_t done, uint64_t total);

 private:
  bool Create();
  void PumpMessages();

  HWND owner_;
  std::string caption_;
  HWND window_ = nullptr, name_ = nullptr, bar_ = nullptr;
  bool createFailed_ = false;
  std::string member_;
  int percent_ = -1;
  DWORD lastRefresh_ = 0;
};

}  // namespace vorn
