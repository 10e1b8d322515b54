#include "platform/win32/win32_clock.h"

#include "platform/win32/family_functions.h"

namespace vorn {

LocalDateTime Win32Clock::Now() const {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::string Win32Clock::FormatDateTime(const LocalDateTime& time) const {
  SYSTEMTIME at{};
  at.wYear = static_cast<WORD>(time.year);
  at.wMonth = static_cast<WORD>(time.month);
  at.wDay = static_cast<WORD>(time.day);
  at.wHour = static_cast<WORD>(time.hour);
  at.wMinute = static_cast<WORD>(time.minute);
  at.wSecond = static_cast<WORD>(time.second);
  const bool midnight = time.hour == 0 && time.minute == 0 && time.second == 0;
  if (win32::IsNtFamily()) {
    wchar_t date[128] = {}, clock[128] = {};
    win32::Nt().GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, date, 128);
    if (midnight) return NarrowZ(date);
    win32::Nt().GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &at, nullptr, clock, 128);
    return NarrowZ(date) + " " + NarrowZ(clock);
  }
  char date[128] = {}, clock[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, date, 128);
  if (midnight) return win32::FromAnsi(date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &at, nullptr, clock, 128);
  return win32::FromAnsi(date) + " " + win32::FromAnsi(clock);
}

}  // namespace vorn
