#include "regedit/codec/reg_key_name.h"

#include "platform/registry_path.h"

namespace vorn {

std::optional<RootedKey> ParseRootedKey(std::string_view fullName) {
  size_t slash = fullName.find('\\');
  std::string rootName(fullName.substr(0, slash));
  std::string path = slash == std::string_view::npos ? std::string() : std::string(fullName.substr(slash + 1));
  path = JoinKeyPath(SplitKeyPath(path));
  if (RegNameEquals(rootName, "HKEY_CURRENT_USER")) return RootedKey{RegRoot::CurrentUser, path};
  if (RegNameEquals(rootName, "HKEY_LOCAL_MACHINE")) return RootedKey{RegRoot::LocalMachine, path};
  return std::nullopt;
}

}  // namespace vorn
