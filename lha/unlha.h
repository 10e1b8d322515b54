#pragma once
// The Unlha entry's work: one command line (see unlha_command.h) run over a file system.
#include <cstdint>
#include <functional>
#include <string>

#include "lha/unlha_outcome.h"
#include "platform/file_system.h"

namespace vorn::unlha {

// Called as a member is packed or unpacked: its name, bytes done, bytes in all. False stops the run.
using ProgressHook = std::function<bool(const std::string& member, uint64_t done, uint64_t total)>;

// Packed data of one member beyond this size waits in a file next to the archive until its
// header can be written.
constexpr size_t kPackedBytesInMemory = size_t{16} << 20;

// Runs a UTF-8 command line: the code of its first failure (0 when none), every message
// (one per line, CR LF) and the first failure's message, naming the member or file.
Outcome Run(FileSystem& files, const std::string& commandLine, const ProgressHook& progress = {},
              size_t packedBytesInMemory = kPackedBytesInMemory);

// Run as the library's entry reports it: the messages go to output (at most outputSize - 1
// characters; none when output is null or outputSize is 0).
int32_t RunCommand(FileSystem& files, const std::string& commandLine, std::string* output, uint32_t outputSize,
                   const ProgressHook& progress = {}, size_t packedBytesInMemory = kPackedBytesInMemory);

}  // namespace vorn::unlha
