#pragma once
// Days since 1970-01-01 and the proleptic Gregorian calendar, both ways, for any year.
#include <cstdint>

namespace vorn {

struct CivilDate {
  int64_t year = 1970;
  unsigned month = 1;  // 1..12
  unsigned day = 1;    // 1..31
};

int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
CivilDate CivilFromDays(int64_t days);
// 0 for Sunday.
unsigned WeekdayFromDays(int64_t days);

}  // namespace vorn
