#pragma once
// Stored settings are compared as numbers: any text that reads as a number counts as one.
#include <optional>
#include <string_view>

namespace vorn {

// The number the text reads as: blanks around it, a sign, digits with a decimal part and an
// exponent are allowed (" 5", "+3", "5.0", "1e0"); nothing when the text is not a number. The
// same on every build: the value is a double, not an integer of the build's width.
std::optional<double> StoredNumber(std::string_view text);

}  // namespace vorn
