#include "platform/registry_path.h"

#include <algorithm>
#include <cctype>

#include "platform/text.h"

namespace vorn {
namespace {
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
}  // namespace

std::vector<std::string> SplitKeyPath(const std::string& keyPath) {
  std::vector<std::string> names;
  std::string current;
  for (char c : keyPath) {
    if (c == '\\') {
      if (!current.empty()) names.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) names.push_back(current);
  return names;
}

std::string JoinKeyPath(const std::vector<std::string>& names) {
  std::string path;
  for (const auto& name : names) {
    if (!path.empty()) path += '\\';
    path += name;
  }
  return path;
}

bool IsValidKeyPath(const std::string& keyPath) {
  auto names = SplitKeyPath(keyPath);
  return !names.empty() && std::all_of(names.begin(), names.end(), [](const auto& n) { return n.size() <= 255; });
}

bool KeyPathIsWithin(const std::string& keyPath, const std::string& ancestor) {
  auto path = SplitKeyPath(keyPath);
  auto top = SplitKeyPath(ancestor);
  if (top.size() > path.size()) return false;
  for (size_t i = 0; i < top.size(); ++i)
    if (!RegNameEquals(path[i], top[i])) return false;
  return true;
}

bool RegNameEquals(const std::string& a, const std::string& b) { return EqualsIgnoringAsciiCase(a, b); }

bool RegNameLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Upper(x) < Upper(y); });
}

}  // namespace vorn
