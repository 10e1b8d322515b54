#pragma once
#include <string>

namespace vorn {

// Windows wildcard match ("*", "?"; "*.*" also matches names without a dot), ASCII case ignored.
bool WildcardMatch(const std::string& pattern, const std::string& name);

}  // namespace vorn
