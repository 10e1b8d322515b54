// vorn-cli <area> <command> [arguments]: the program's components from the command line.
#include <cstring>
#include <ostream>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "cli/host_files.h"

namespace vorn::cli {
int RunLha(Context& context, const std::vector<std::string>& args);
int RunBackupArea(Context& context, const std::vector<std::string>& args);
int RunRestoreArea(Context& context, const std::vector<std::string>& args);
int RunReg(Context& context, const std::vector<std::string>& args);
int RunDbx(Context& context, const std::vector<std::string>& args);
int RunSet(Context& context, const std::vector<std::string>& args);
}  // namespace vorn::cli

namespace {

struct Area {
  const char* name;
  vorn::cli::AreaEntry run;
  const char* usage;
};

// One line per area.
const Area kAreas[] = {
    {"lha", vorn::cli::RunLha, "lha a ARCHIVE DIR | lha x ARCHIVE DESTDIR | lha l ARCHIVE | lha t ARCHIVE"},
    {"backup", vorn::cli::RunBackupArea, "backup USER [--compress|--plain]"},
    {"restore", vorn::cli::RunRestoreArea, "restore SETFOLDER USER [--yes]"},
    {"reg", vorn::cli::RunReg, "reg export FILE KEY [--regedit4] | reg import FILE"},
    {"dbx", vorn::cli::RunDbx, "dbx info FILE.dbx | dbx extract FILE.dbx OUTDIR | dbx recover FILE.dbx OUTDIR"},
    {"set", vorn::cli::RunSet, "set info SETFOLDER | set export SETFOLDER OUTDIR [--mbox] [-q]"},
};

int Usage() {
  std::ostream& error = vorn::cli::StandardError();
  error << "usage:\n";
  for (const auto& area : kAreas) error << "  vorn-cli " << area.usage << "\n";
  return vorn::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  auto args = vorn::cli::Utf8Arguments(argc, argv);
  if (args.empty()) return Usage();
  for (const auto& area : kAreas) {
    if (args[0] != area.name) continue;
    auto files = vorn::cli::OpenHostFiles();
    vorn::cli::Context context{*files, vorn::cli::StandardOutput(), vorn::cli::StandardError(),
                                 vorn::cli::HostToProgramPath};
    return area.run(context, {args.begin() + 1, args.end()});
  }
  return Usage();
}
