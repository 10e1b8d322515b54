#pragma once
// "backup USER [--compress|--plain]": the backup run without windows. The menu switches come
// from the stored settings unless a flag says otherwise. Exit status 0 only when a complete set
// (the information file included) was written.
#include <iosfwd>
#include <string>
#include <vector>

namespace vorn {

class App;

inline constexpr int kBackupComplete = 0;
inline constexpr int kBackupIncomplete = 1;
inline constexpr int kBackupUsage = 2;

// app must run on unattended services (UnattendedUi, NoFormHost); messages go to err.
int BackupCommand(App& app, const std::vector<std::string>& args, std::ostream& err);

}  // namespace vorn
