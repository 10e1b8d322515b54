#pragma once
// The areas of vorn-cli, one line each: every area takes the arguments after its name and
// returns the exit status.
#include <string>
#include <vector>

namespace vorn::cli {

using Arguments = std::vector<std::string>;

int DbxCommand(const Arguments& args);

}  // namespace vorn::cli
