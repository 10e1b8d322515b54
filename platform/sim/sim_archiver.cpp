#include "platform/sim/sim_archiver.h"

namespace vorn {

int32_t SimArchiver::Unlha(WindowHandle, const std::string& commandLine, std::string* output, uint32_t outputSize) {
  return unlha::RunCommand(files_, commandLine, output, outputSize, progress_);
}

}  // namespace vorn
