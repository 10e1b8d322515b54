#pragma once
// The two dialects of the .reg text format.
#include <string>
#include <string_view>

#include "platform/environment.h"

namespace vorn {

enum class RegDialect {
  Regedit4,  // "REGEDIT4", code page 932 text, string-type hex data in code page 932
  Version5,  // "Windows Registry Editor Version 5.00", UTF-16LE with byte-order mark
};

inline constexpr std::string_view kRegedit4Header = "REGEDIT4";
inline constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";

// The dialect the platform's own editor writes on the running family ("Windows98" is the
// 98/Me family; everything else is the 2000/XP family).
inline RegDialect DialectForOsFamily(const std::string& osFamily) {
  return osFamily == "Windows98" ? RegDialect::Regedit4 : RegDialect::Version5;
}

// The dialect the platform's own editor writes on the system the environment describes.
inline RegDialect DialectOfSystem(const Environment& environment) {
  const auto version = environment.OsVersion();
  return version && version->IsNtPlatform() ? RegDialect::Version5 : RegDialect::Regedit4;
}

}  // namespace vorn
