#pragma once
// "backup USER [--compress|--plain]": the backup run without windows. The menu switches come
// from the stored settings unless a flag says otherwise. Exit status kExitOk only when a
// complete set (the information file included) was written.
#include <iosfwd>
#include <string>
#include <vector>

namespace vorn {
class Program;
}

namespace vorn::cli {

// program must run on unattended services (UnattendedUi, NoFormHost); messages go to err.
int BackupCommand(Program& program, const std::vector<std::string>& args, std::ostream& err);

}  // namespace vorn::cli
