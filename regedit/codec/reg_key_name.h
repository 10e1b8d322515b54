#pragma once
// Full key names as .reg files and editor commands write them: "HKEY_CURRENT_USER\Software\x".
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_store.h"

namespace vorn {

struct RootedKey {
  RegRoot root;
  std::string path;  // relative to the root; empty for the root itself
};

// Only the two roots the program works in are accepted (case-blind, full names);
// nullopt for any other root or a text without one.
std::optional<RootedKey> ParseRootedKey(std::string_view fullName);

}  // namespace vorn
