#pragma once
// Key path texts: backslash-separated names relative to a root.
#include <string>
#include <vector>

namespace vorn {

// Splits "A\B\C" into its names; empty names (doubled or outer backslashes) are dropped.
std::vector<std::string> SplitKeyPath(const std::string& keyPath);
std::string JoinKeyPath(const std::vector<std::string>& names);
// A path with no names, or with a name longer than the registry's 255 characters, is not valid.
bool IsValidKeyPath(const std::string& keyPath);
// True when keyPath is ancestor or the same key, compared as the registry compares names.
bool KeyPathIsWithin(const std::string& keyPath, const std::string& ancestor);
// The registry compares names without regard to case (ASCII letters here).
bool RegNameEquals(const std::string& a, const std::string& b);
bool RegNameLess(const std::string& a, const std::string& b);

}  // namespace vorn
