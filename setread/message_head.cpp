#include "setread/message_head.h"

#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/civil_date.h"
#include "platform/text.h"

namespace vorn {
namespace {

const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The text with its comments (nested parentheses outside quoted strings) left out.
std::string WithoutComments(std::string_view text) {
  std::string out;
  int depth = 0;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size() && (quoted || depth > 0)) {
      if (depth == 0) out.append(text.substr(i, 2));
      ++i;
    } else if (depth == 0 && c == '"') {
      quoted = !quoted;
      out += c;
    } else if (!quoted && c == '(') {
      ++depth;
    } else if (!quoted && c == ')' && depth > 0) {
      --depth;
      if (depth == 0) out += ' ';
    } else if (depth == 0) {
      out += c;
    }
  }
  return out;
}

bool AllDigits(std::string_view token) {
  if (token.empty()) return false;
  for (char c : token)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

std::optional<int> MonthOf(std::string_view token) {
  if (token.size() < 3) return std::nullopt;
  const std::string lower = AsciiLower(token.substr(0, 3));
  for (int m = 0; m < 12; ++m)
    if (lower == kMonths[m]) return m + 1;
  return std::nullopt;
}

// Seconds east of UTC of a zone token; nullopt when the token is no zone.
std::optional<int> ZoneOffset(std::string_view token) {
  if (token.size() == 5 && (token[0] == '+' || token[0] == '-') && AllDigits(token.substr(1))) {
    const int hours = Number(token.substr(1, 2)), minutes = Number(token.substr(3, 2));
    if (minutes > 59) return std::nullopt;
    return (token[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
  }
  struct Named {
    const char* name;
    int hours;
  };
  static const Named kZones[] = {{"ut", 0},   {"utc", 0},  {"gmt", 0},  {"z", 0},    {"est", -5}, {"edt", -4},
                                 {"cst", -6}, {"cdt", -5}, {"mst", -7}, {"mdt", -6}, {"pst", -8}, {"pdt", -7},
                                 {"jst", 9}};
  const std::string lower = AsciiLower(token);
  for (const auto& zone : kZones)
    if (lower == zone.name) return zone.hours * 3600;
  return std::nullopt;
}

bool ParseTime(std::string_view token, int& hour, int& minute, int& second) {
  std::vector<std::string_view> parts;
  for (size_t at = 0;;) {
    const size_t colon = token.find(':', at);
    parts.push_back(token.substr(at, colon == std::string_view::npos ? std::string_view::npos : colon - at));
    if (colon == std::string_view::npos) break;
    at = colon + 1;
  }
  if (parts.size() < 2 || parts.size() > 3) return false;
  for (auto part : parts)
    if (!AllDigits(part) || part.size() > 2) return false;
  hour = Number(parts[0]);
  minute = Number(parts[1]);
  second = parts.size() == 3 ? Number(parts[2]) : 0;
  if (second == 60) second = 59;  // a leap second
  return hour < 24 && minute < 60 && second < 60;
}

bool LeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(int64_t year, int month) {
  static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

std::string AsctimeUtc(int64_t seconds) {
  int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const CivilDate date = CivilFromDays(days);
  char line[64];
  std::snprintf(line, sizeof line, "%s %s %2u %02d:%02d:%02d %lld", kDayNames[WeekdayFromDays(days)],
                kMonthNames[date.month - 1], date.day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                static_cast<int>(rest % 60), static_cast<long long>(date.year));
  return line;
}

}  // namespace

std::optional<std::string> HeaderField(std::string_view head, std::string_view name) {
  std::optional<std::string> value;
  for (size_t at = 0; at < head.size();) {
    size_t end = head.find('\n', at);
    if (end == std::string_view::npos) end = head.size();
    std::string_view line = head.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) break;
    if (line.front() == ' ' || line.front() == '\t') {
      if (value) value->append(line);
      continue;
    }
    if (value) break;
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsIgnoringAsciiCase(Trimmed(line.substr(0, colon)), name))
      value = std::string(line.substr(colon + 1));
  }
  if (value) *value = std::string(Trimmed(*value));
  return value;
}

std::optional<std::string> MailAddress(std::string_view field) {
  const std::string text = WithoutComments(field);
  std::string_view address = text;
  // The last <...> outside quoted strings; without one, the first of a list of addresses.
  bool quoted = false;
  size_t open = std::string_view::npos, close = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && quoted) {
      ++i;
    } else if (text[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && text[i] == '<') {
      open = i;
    } else if (!quoted && text[i] == '>' && open != std::string_view::npos && open < i) {
      close = i;
    }
  }
  if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
    address = address.substr(open + 1, close - open - 1);
  } else {
    address = address.substr(0, address.find(','));
  }
  address = Trimmed(address);
  if (address.empty()) return std::nullopt;
  for (char c : address)
    if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F || c == '<' || c == '>')
      return std::nullopt;
  return std::string(address);
}

std::optional<int64_t> ParseMailDate(std::string_view text) {
  std::vector<std::string_view> tokens;
  const std::string plain = WithoutComments(text);
  std::string_view rest = plain;
  while (!rest.empty()) {
    size_t start = 0;
    while (start < rest.size() && (IsBlank(rest[start]) || rest[start] == ',')) ++start;
    size_t end = start;
    while (end < rest.size() && !IsBlank(rest[end]) && rest[end] != ',') ++end;
    if (end > start) tokens.push_back(rest.substr(start, end - start));
    rest.remove_prefix(end);
  }
  std::optional<int> month, zone;
  std::vector<std::string_view> numbers;
  int hour = 0, minute = 0, second = 0;
  bool time = false;
  for (std::string_view token : tokens) {
    if (time && (token[0] == '+' || token[0] == '-') && token.size() == 6 && token[3] == ':') {
      zone = ZoneOffset(std::string(token.substr(0, 3)) + std::string(token.substr(4)));  // "+09:00"
    } else if (token.find(':') != std::string_view::npos) {
      if (time || !ParseTime(token, hour, minute, second)) return std::nullopt;
      time = true;
    } else if (AllDigits(token)) {
      numbers.push_back(token);
    } else if (auto offset = ZoneOffset(token); offset && time) {
      zone = offset;
    } else if (auto m = MonthOf(token); m && !month) {
      month = m;
    }
    // Anything else (the day's name, an unknown zone, "-0000" after the time) says nothing.
  }
  if (!month || !time || numbers.size() != 2 || numbers[0].size() > 2 || numbers[1].size() < 2 ||
      numbers[1].size() > 4)
    return std::nullopt;
  const int day = Number(numbers[0]);
  int64_t year = Number(numbers[1]);
  if (numbers[1].size() == 2) year += year < 50 ? 2000 : 1900;
  if (numbers[1].size() == 3) year += 1900;
  if (day < 1 || static_cast<unsigned>(day) > DaysInMonth(year, *month)) return std::nullopt;
  return DaysFromCivil(year, static_cast<unsigned>(*month), static_cast<unsigned>(day)) * 86400 + hour * 3600 +
         minute * 60 + second - zone.value_or(0);
}

std::string MboxFromLine(std::string_view head) {
  std::optional<std::string> sender;
  for (const char* field : {"From", "Sender", "Return-Path"}) {
    if (auto value = HeaderField(head, field)) sender = MailAddress(*value);
    if (sender) break;
  }
  std::optional<int64_t> date;
  if (auto value = HeaderField(head, "Date")) date = ParseMailDate(*value);
  if (!date) {
    if (auto received = HeaderField(head, "Received"); received && received->find(';') != std::string::npos)
      date = ParseMailDate(received->substr(received->rfind(';') + 1));
  }
  return "From " + sender.value_or("MAILER-DAEMON") + " " + AsctimeUtc(date.value_or(0));
}

}  // namespace vorn
