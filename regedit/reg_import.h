#pragma once
// Import of .reg file bytes of either dialect into a registry store.
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_store.h"

namespace vorn {

struct RegFileFault {
  int line = 0;  // 1-based line of the file
  std::string reason;
  bool operator==(const RegFileFault&) const = default;
};

struct RegImportResult {
  // The first line that could not be read. Everything before it was applied, nothing from
  // it on; a value is only ever written whole.
  std::optional<RegFileFault> badLine;
  // The first change the registry refused (a key without write access); the import went on.
  std::optional<RegFileFault> refusedChange;
  bool Clean() const { return !badLine && !refusedChange; }
};

// Applies the file: key lines create keys, "[-KEY]" deletes a key tree, value lines set
// values and "name"=- deletes one. Keys outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// are refused as bad lines.
RegImportResult ImportRegFile(RegistryStore& store, std::string_view fileBytes);

}  // namespace vorn
