#pragma once
#include <string>

namespace vorn {

struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const LocalDateTime&) const = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
  // The regional settings' short date, a blank and the long time; only the date at exactly midnight.
  virtual std::string FormatDateTime(const LocalDateTime& time) const = 0;
};

}  // namespace vorn
