// Feeds arbitrary bytes to the .reg importer, then checks that whatever it imported exports
// and imports again without loss.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "regedit/reg_export.h"
#include "regedit/reg_import.h"
#include "platform/sim/sim_registry_store.h"

namespace {

using vorn::RegDialect;
using vorn::RegRoot;

constexpr RegRoot kRoots[] = {RegRoot::CurrentUser, RegRoot::LocalMachine};

std::string Export(const vorn::RegistryStore& store, RegRoot root, RegDialect dialect) {
  return vorn::ExportRegFile(store, root, "", root == RegRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE",
                             dialect)
      .value_or("");
}

// Imports the export of every root of `from` into `to`; false when a line of it is bad.
bool Copy(const vorn::RegistryStore& from, vorn::RegistryStore& to, RegDialect dialect) {
  for (auto root : kRoots)
    if (vorn::ImportRegFile(to, Export(from, root, dialect)).badLine) return false;
  return true;
}

bool SameExports(const vorn::RegistryStore& a, const vorn::RegistryStore& b, RegDialect dialect) {
  for (auto root : kRoots)
    if (Export(a, root, dialect) != Export(b, root, dialect)) return false;
  return true;
}

}  // namespace

// The Unicode dialect must give back exactly what was imported. The ANSI one may merge names
// that code page 932 cannot tell apart, but must be stable after that.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorn::SimRegistryStore first;
  vorn::ImportRegFile(first, std::string_view(reinterpret_cast<const char*>(data), size));
  for (auto dialect : {RegDialect::Version5, RegDialect::Regedit4}) {
    vorn::SimRegistryStore second, third;
    if (!Copy(first, second, dialect) || !Copy(second, third, dialect)) std::abort();
    if (!SameExports(second, third, dialect)) std::abort();
    if (dialect == RegDialect::Version5 && !SameExports(first, second, dialect)) std::abort();
  }
  return 0;
}
