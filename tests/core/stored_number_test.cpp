#include "core/stored_number.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn {
namespace {

// Built for both builds, so that a text reads as the same number on each.
TEST(StoredNumber, AnyTextThatReadsAsANumberIsOne) {
  const std::pair<const char*, double> numbers[] = {
      {"1", 1},        {"5.0", 5},        {" 5", 5},          {"5 ", 5},      {"\t7\t", 7},
      {"+3", 3},       {"-2", -2},        {"0.0", 0},         {"-0", 0},      {".5", 0.5},
      {"5.", 5},       {"1e0", 1},        {"10E-1", 1},       {"007", 7},     {" +1.000 ", 1},
      {"4294967297", 4294967297.0},       {"-2147483649", -2147483649.0},
  };
  for (const auto& [text, expected] : numbers) {
    const auto value = StoredNumber(text);
    ASSERT_TRUE(value) << "\"" << text << "\"";
    EXPECT_EQ(*value, expected) << "\"" << text << "\"";
  }
  // Beyond a double's range: still a number, just neither 0 nor 1.
  EXPECT_TRUE(std::isinf(StoredNumber("1e999").value_or(0)));
  EXPECT_GT(StoredNumber("1e-999").value_or(0), 0.0);
  EXPECT_TRUE(std::isinf(StoredNumber(std::string(400, '9')).value_or(0)));

  for (const char* text : {"", " ", "x", "1x", "1 2", "+", "-", ".", "1e", "1e+", "++1", "+-1", "0x10", "inf", "nan",
                           "１", "1,000", "e5"})
    EXPECT_FALSE(StoredNumber(text)) << "\"" << text << "\"";
}

}  // namespace
}  // namespace vorn
