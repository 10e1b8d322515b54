#pragma once
// The a command: files of the base folders packed into the archive, which is replaced only once
// the new one is complete.
#include "lha/unlha.h"
#include "lha/unlha_command.h"
#include "lha/unlha_outcome.h"

namespace vorn::unlha {

void Pack(FileSystem& files, const Command& command, Outcome& outcome, const ProgressHook& hook,
          size_t packedBytesInMemory);

}  // namespace vorn::unlha
