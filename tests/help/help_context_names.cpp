#include "tests/help/help_context_names.h"

#include <fstream>
#include <iterator>
#include <regex>

namespace vorn::test {
namespace {

// Every match of `line` in the file: its first group names a context, its second the number.
std::map<std::string, int> Named(const std::filesystem::path& file, const std::regex& line) {
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::map<std::string, int> contexts;
  for (std::sregex_iterator m(text.begin(), text.end(), line), end; m != end; ++m)
    contexts[(*m)[1]] = std::stoi((*m)[2]);
  return contexts;
}

}  // namespace

std::map<std::string, int> CodeHelpContexts(const std::filesystem::path& root) {
  return Named(root / "core" / "help_contexts.h", std::regex(R"(inline constexpr int (\w+) = (\d+);)"));
}

std::map<std::string, int> ProjectHelpContexts(const std::filesystem::path& root) {
  return Named(root / "help" / "pages" / "Vorn4.hhp", std::regex(R"(#define (\w+) (\d+))"));
}

}  // namespace vorn::test
