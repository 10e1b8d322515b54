#pragma once
// Finds the help context numbers the program's code passes to its message boxes and to the
// help viewer, so the help file can be checked against the code itself. Recognised:
//   - a message's braced initializer ending in the buttons and the context:
//       {text, title, MsgIcon::..., MsgButtons::..., CONTEXT}
//   - an assignment to a help context:  x.helpContext = CONTEXT;  (or in a designated initializer)
//   - a help viewer call:               ShowHelp(owner, file, CONTEXT);
// CONTEXT is a number, a named integer constant (constexpr or const, defined anywhere in the
// sources) or "a ? B : C" of those. Anything else is reported as not understood, so a new way
// of passing a context fails the tests instead of going unchecked.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vorn::test {

struct HelpContextScan {
  std::map<int, std::vector<std::string>> contexts;  // context -> "file:line" of each use
  std::vector<std::string> notUnderstood;            // "file:line: expression"
};

// `sources`: file name -> text.
HelpContextScan ScanHelpContexts(const std::map<std::string, std::string>& sources);
// The program's sources below `root`: every .cpp and .h outside the tests, fuzzers,
// benchmarks, build folders and the help writer.
std::map<std::string, std::string> ProgramSources(const std::filesystem::path& root);

}  // namespace vorn::test
