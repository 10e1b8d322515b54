#pragma once
// Compiles a help project into a help file: reads the pages (UTF-8 sources), converts them to
// the code page the help viewer of Japanese Windows reads (932, with the pages' charset changed
// to match), checks what the contents and index link to, and packs everything with the tables.
#include <string>

#include "help/writer/help_project.h"

namespace vorn::help {

// `compiledName` is the help file's name without its extension; the viewer keeps it in lower case.
std::string CompileHelpFile(const HelpProject& project, const std::string& compiledName);

}  // namespace vorn::help
