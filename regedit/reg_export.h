#pragma once
// Export of a key tree to .reg file bytes, as the platform's editor writes them.
#include <optional>
#include <string>

#include "regedit/reg_dialect.h"
#include "platform/registry_store.h"

namespace vorn {

// The file for keyPath below root with all its subkeys and values, in registry enumeration
// order. keyName is the key's full name as the file names it ("HKEY_CURRENT_USER\...");
// subkeys are named below it. nullopt when the key does not exist.
std::optional<std::string> ExportRegFile(const RegistryStore& store, RegRoot root, const std::string& keyPath,
                                         const std::string& keyName, RegDialect dialect);

}  // namespace vorn
