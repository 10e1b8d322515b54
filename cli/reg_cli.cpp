// vorn-cli reg: a key exported to a .reg file, or a .reg file imported, with the program's own
// editor over the machine's registry (a fresh simulated one off Windows, where an import
// only checks the file).
#include <ostream>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "regedit/reg_file_editor.h"
#ifdef _WIN32
#include "platform/win32/win32_registry_store.h"
#else
#include "platform/sim/sim_registry_store.h"
#endif

namespace vorn::cli {

int RunReg(Context& context, const std::vector<std::string>& args) {
#ifdef _WIN32
  Win32RegistryStore registry;
#else
  SimRegistryStore registry;
#endif
  // Both actions name their dialect themselves, so the editor's own choice is never asked.
  RegFileEditor editor(registry, context.files, [] { return RegDialect::Version5; });
  RegEditorOutcome outcome;
  bool regedit4 = args.size() == 4 && args[3] == "--regedit4";
  if (args.size() >= 3 && args[0] == "export" && (args.size() == 3 || regedit4)) {
    outcome = editor.Export(context.programPath(args[1]), args[2], regedit4 ? RegDialect::Regedit4 : RegDialect::Version5);
  } else if (args.size() == 2 && args[0] == "import") {
    outcome = editor.Import(context.programPath(args[1]));
  } else {
    context.err << "usage: vorn-cli reg export FILE KEY [--regedit4] | vorn-cli reg import FILE\n";
    return kExitUsage;
  }
  if (!outcome.succeeded) {
    context.err << "vorn-cli reg: " << outcome.problem << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace vorn::cli
