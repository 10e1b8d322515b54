#pragma once
// A run under way: a backup, a restore, the options window's folder scan or conversion, a
// maintenance tool. Its steps let pending window events run, and the windows then ignore their
// own input (menus, accelerators, buttons, lists): a click or a key must not start a second run
// or change what this one reads. The run's own dialogs and message boxes still take theirs.
#include <functional>

#include "platform/ui_services.h"

namespace vorn {

// Whether a run is going and whether the hourglass shows; only RunGuard changes them.
class RunState {
 public:
  explicit RunState(UiServices& ui) : ui_(ui) {}
  bool Going() const { return going_; }

 private:
  friend class RunGuard;
  UiServices& ui_;
  bool going_ = false;
  bool waitCursor_ = false;
};

// Marks a run for its life and shows the hourglass meanwhile (Cursor::Wait) or leaves the
// pointer as it is (Cursor::Normal). Guards nest: each puts back what it found, so a step's
// hourglass ends with the step, and input is taken again when the outermost guard goes.
// `showGoing`, when given, is told true at the start and false at the end: what a window
// shows of the run (the main window disables its frame and buttons during a backup).
class RunGuard {
 public:
  enum class Cursor { Wait, Normal };
  explicit RunGuard(RunState& state, Cursor cursor = Cursor::Wait, std::function<void(bool going)> showGoing = {});
  ~RunGuard();
  RunGuard(const RunGuard&) = delete;
  RunGuard& operator=(const RunGuard&) = delete;

 private:
  void ShowWaitCursor(bool on);

  RunState& state_;
  const bool wasGoing_;
  const bool hadWaitCursor_;
  std::function<void(bool)> showGoing_;
};

}  // namespace vorn
