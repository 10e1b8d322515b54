#pragma once
// The help contexts by name: as the code names them (core/help_contexts.h) and as the help
// project's [MAP] does (help/pages/Vorn4.hhp), both read from the sources below `root`.
#include <filesystem>
#include <map>
#include <string>

namespace vorn::test {

std::map<std::string, int> CodeHelpContexts(const std::filesystem::path& root);
std::map<std::string, int> ProjectHelpContexts(const std::filesystem::path& root);

}  // namespace vorn::test
