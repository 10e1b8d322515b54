#include "platform/sim/sim_clock.h"

#include <cstdio>

namespace vorn {

std::string SimClock::FormatDateTime(const LocalDateTime& t) const {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d", t.year, t.month, t.day);
  std::string out = text;
  if (t.hour == 0 && t.minute == 0 && t.second == 0) return out;
  std::snprintf(text, sizeof text, " %d:%02d:%02d", t.hour, t.minute, t.second);
  return out + text;
}

}  // namespace vorn
