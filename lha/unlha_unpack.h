#pragma once
// The x, l and t commands: members of the archive unpacked below the destination, listed, or
// unpacked without writing to check them.
#include "lha/unlha.h"
#include "lha/unlha_command.h"
#include "lha/unlha_outcome.h"

namespace vorn::unlha {

void Unpack(FileSystem& files, const Command& command, Outcome& outcome, const ProgressHook& hook);

}  // namespace vorn::unlha
