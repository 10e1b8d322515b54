#include "lha/unlha.h"

#include "lha/unlha_command.h"
#include "lha/unlha_pack.h"
#include "lha/unlha_unpack.h"

namespace vorn::unlha {
namespace {

// At most maxBytes of text, cut before a character that would not fit whole.
std::string CutUtf8(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

Outcome Run(FileSystem& files, const std::string& commandLine, const ProgressHook& progress,
              size_t packedBytesInMemory) {
  Outcome outcome;
  auto command = ParseCommand(commandLine);
  if (!command) {
    outcome.Fail(kBadCommand, "Command not understood: " + commandLine);
  } else if (command->verb == 'a') {
    Pack(files, *command, outcome, progress, packedBytesInMemory);
  } else {
    Unpack(files, *command, outcome, progress);
  }
  return outcome;
}

int32_t RunCommand(FileSystem& files, const std::string& commandLine, std::string* output, uint32_t outputSize,
                   const ProgressHook& progress, size_t packedBytesInMemory) {
  const Outcome outcome = Run(files, commandLine, progress, packedBytesInMemory);
  if (output) {
    output->clear();
    if (outputSize > 0) *output = CutUtf8(outcome.log(), outputSize - 1);
  }
  return outcome.code();
}

}  // namespace vorn::unlha
