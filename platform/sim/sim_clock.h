#pragma once
#include "platform/clock.h"

namespace vorn {

// A fixed time, printed as a Japanese system prints it: 2004/05/12 9:05:03.
class SimClock : public Clock {
 public:
  LocalDateTime Now() const override { return now; }
  std::string FormatDateTime(const LocalDateTime& time) const override;
  LocalDateTime now{2004, 5, 12, 9, 5, 3};
};

}  // namespace vorn
