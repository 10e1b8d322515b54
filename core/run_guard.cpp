#include "core/run_guard.h"

#include <utility>

namespace vorn {

RunGuard::RunGuard(RunState& state, Cursor cursor, std::function<void(bool going)> showGoing)
    : state_(state), wasGoing_(state.going_), hadWaitCursor_(state.waitCursor_), showGoing_(std::move(showGoing)) {
  state_.going_ = true;
  if (cursor == Cursor::Wait) ShowWaitCursor(true);
  if (showGoing_) showGoing_(true);
}

RunGuard::~RunGuard() {
  if (showGoing_) showGoing_(false);
  ShowWaitCursor(hadWaitCursor_);
  state_.going_ = wasGoing_;
}

void RunGuard::ShowWaitCursor(bool on) {
  if (state_.waitCursor_ == on) return;
  state_.waitCursor_ = on;
  state_.ui_.SetWaitCursor(on);
}

}  // namespace vorn
