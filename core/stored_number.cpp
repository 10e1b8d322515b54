#include "core/stored_number.h"

#include <charconv>
#include <limits>

namespace vorn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits, with an optional point and digits after it: at least one digit in all.
size_t DecimalLength(std::string_view text) {
  size_t at = 0, digits = 0;
  while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && IsDigit(text[at])) ++at, ++digits;
  }
  return digits ? at : 0;
}

// "e" or "E", an optional sign and digits.
size_t ExponentLength(std::string_view text) {
  if (text.empty() || (text[0] != 'e' && text[0] != 'E')) return 0;
  size_t at = 1;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  const size_t digitsFrom = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at > digitsFrom ? at : 0;
}

// For a number beyond the range of a double: whether it is too large rather than too small,
// by the sign of its exponent or, without one, by whether it has whole digits.
bool TooLarge(std::string_view mantissa, std::string_view exponent) {
  if (!exponent.empty()) return exponent.size() < 2 || exponent[1] != '-';
  return mantissa.find_first_of("123456789") < mantissa.find('.');
}

}  // namespace

std::optional<double> StoredNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const size_t mantissa = DecimalLength(text);
  if (mantissa == 0) return std::nullopt;
  const size_t exponent = ExponentLength(text.substr(mantissa));
  if (mantissa + exponent != text.size()) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range)
    value = TooLarge(text.substr(0, mantissa), text.substr(mantissa)) ? std::numeric_limits<double>::infinity()
                                                                       : std::numeric_limits<double>::denorm_min();
  else if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return negative ? -value : value;
}

}  // namespace vorn
