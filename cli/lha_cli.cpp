// vorn-cli lha: packs, unpacks, lists and tests archives through the Unlha command lines.
#include <ostream>

#include "cli/cli.h"
#include "cli/exit_codes.h"
#include "lha/unlha.h"
#include "lha/unlha_result.h"
#include "platform/text.h"

namespace vorn::cli {

int RunLha(Context& context, const std::vector<std::string>& args) {
  const std::string command = args.empty() ? "" : args[0];
  const size_t expected = command == "a" || command == "x" ? 3 : 2;
  if ((command != "a" && command != "x" && command != "l" && command != "t") || args.size() != expected) {
    context.err << "usage: vorn-cli lha a ARCHIVE DIR | x ARCHIVE DESTDIR | l ARCHIVE | t ARCHIVE\n";
    return kExitUsage;
  }
  for (const auto& arg : args)
    if (arg.find('"') != std::string::npos) {
      context.err << "vorn-cli lha: a path cannot hold a double quote\n";
      return kExitUsage;
    }
  const std::string archive = Quoted(context.programPath(args[1]));
  std::string line = command;
  if (command == "a") {
    line.append(" -+ -a1 -r2 -x1 -d0 -f0 -n0 -jm3 ").append(archive).append(" ");
    line.append(Quoted(context.programPath(args[2]).append("\\"))).append(" \"*.*\"");
  } else if (command == "x") {
    line.append(" -d1 -y1 ").append(archive).append(" ").append(Quoted(context.programPath(args[2]))).append("\\ *.*");
  } else {
    line.append(" ").append(archive);
  }
  // Member names in the messages come with their control characters escaped.
  const unlha::Outcome result = unlha::Run(context.files, line);
  if (command == "l" || command == "t") context.out << result.log();
  if (result.code() != unlha::kOk) {
    context.err << "vorn-cli lha: " << result.firstFailure() << " (" << unlha::DescribeResult(result.code())
                << ", code 0x" << std::hex << std::uppercase << result.code() << ")\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace vorn::cli
