#pragma once
// The exit statuses of vorn-cli, the same for every area.
namespace vorn::cli {

inline constexpr int kExitOk = 0;      // done (a backup: a complete set, the information file included)
inline constexpr int kExitFailed = 1;  // the command ran and failed, or left its work incomplete
inline constexpr int kExitUsage = 2;   // the command line was not understood, or names what is not there

}  // namespace vorn::cli
