#include "platform/win32/win32_clock.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

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
  wchar_t date[128] = {}, clock[128] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &at, nullptr, date, 128);
  std::string text = NarrowZ(date);
  if (time.hour == 0 && time.minute == 0 && time.second == 0) return text;
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &at, nullptr, clock, 128);
  return text + " " + NarrowZ(clock);
}

}  // namespace vorn
