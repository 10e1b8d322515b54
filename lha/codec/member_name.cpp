#include "lha/codec/member_name.h"

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"

namespace vorn::lha {
namespace {

bool IsDeviceName(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CLOCK$") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

bool SafeComponent(const std::string& name) {
  if (name.find_first_not_of(". ") == std::string::npos) return false;  // "", ".", "..", "..."
  for (unsigned char c : name)
    if (c < 0x20 || std::string("<>:\"/\\|?*").find(static_cast<char>(c)) != std::string::npos) return false;
  return !IsDeviceName(name);
}

}  // namespace

std::optional<std::vector<std::string>> SafeMemberPath(const MemberHeader& header) {
  std::vector<std::string> path;
  for (const auto& stored : header.path) {
    if (stored == ".") continue;
    std::string name = Cp932ToUtf8(stored);
    if (!SafeComponent(name)) return std::nullopt;
    path.push_back(std::move(name));
  }
  if (path.empty() && !header.IsDirectory()) return std::nullopt;
  return path;
}

std::optional<std::vector<std::string>> StoredPath(const std::vector<std::string>& utf8) {
  std::vector<std::string> stored;
  for (const auto& name : utf8) {
    std::string cp932 = Utf8ToCp932(name);
    if (Cp932ToUtf8(cp932) != name) return std::nullopt;
    stored.push_back(std::move(cp932));
  }
  return stored;
}

std::string DisplayName(const MemberHeader& header) {
  // Components end on whole characters, so the joined name converts as its parts would.
  std::string joined;
  for (const auto& part : header.path) {
    if (!joined.empty()) joined += '\\';
    joined += part;
  }
  return Cp932ToUtf8(joined);
}

}  // namespace vorn::lha
