#pragma once
#include "platform/clock.h"

namespace vorn {

class Win32Clock : public Clock {
 public:
  LocalDateTime Now() const override;
  std::string FormatDateTime(const LocalDateTime& time) const override;
};

}  // namespace vorn
