#include "lha/unlha_command.h"

#include <cctype>
#include <map>

namespace vorn::unlha {
namespace {

bool EndsWithBackslash(const std::string& s) { return !s.empty() && s.back() == '\\'; }

// Accepted switches and the flag each sets (nullptr: accepted without effect).
std::map<std::string, bool Command::*> SwitchesFor(char verb) {
  if (verb == 'a')
    return {{"-r2", &Command::recurse}, {"-x1", &Command::keepPaths}, {"-a1", &Command::allAttributes},
            {"-+", nullptr},           {"-d0", nullptr},            {"-f0", nullptr},
            {"-n0", nullptr},          {"-jm3", nullptr}};
  if (verb == 'x') return {{"-y1", &Command::overwrite}, {"-d1", nullptr}};
  return {};
}

}  // namespace

std::vector<CommandItem> SplitCommandLine(const std::string& line) {
  std::vector<CommandItem> items;
  CommandItem current;
  bool inItem = false, quoted = false;
  for (char c : line) {
    if (!quoted && (c == ' ' || c == '\t')) {
      if (inItem) items.push_back(current);
      current = {};
      inItem = false;
      continue;
    }
    if (!inItem) current.isSwitch = c == '-';
    inItem = true;
    if (c == '"') quoted = !quoted;
    else current.text += c;
  }
  if (inItem) items.push_back(current);
  return items;
}

std::optional<Command> ParseCommand(const std::string& line) {
  const auto items = SplitCommandLine(line);
  if (items.empty() || items[0].isSwitch || items[0].text.size() != 1) return std::nullopt;
  Command command;
  command.verb = static_cast<char>(std::tolower(static_cast<unsigned char>(items[0].text[0])));
  if (std::string("axlt").find(command.verb) == std::string::npos) return std::nullopt;
  const auto switches = SwitchesFor(command.verb);

  std::string base;
  bool haveArchive = false;
  for (size_t i = 1; i < items.size(); ++i) {
    const auto& [text, isSwitch] = items[i];
    if (isSwitch) {
      auto it = switches.find(text);
      if (it == switches.end()) return std::nullopt;
      if (it->second) command.*(it->second) = true;
    } else if (text.empty()) {
      continue;
    } else if (!haveArchive) {
      command.archive = text;
      haveArchive = true;
    } else if (EndsWithBackslash(text)) {
      if (command.verb == 'x') {
        if (!command.destination.empty()) return std::nullopt;
        command.destination = text;
      } else if (command.verb == 'a') {
        base = text;
      } else {
        return std::nullopt;
      }
    } else if (command.verb == 'a') {
      // Patterns name files of the base folder; folder parts are not taken.
      if (base.empty() || text.find('\\') != std::string::npos) return std::nullopt;
      command.selections.push_back({base, text});
    } else {
      command.patterns.push_back(text);
    }
  }
  if (!haveArchive) return std::nullopt;
  if (command.verb == 'x' && command.destination.empty()) return std::nullopt;
  if (command.verb == 'a' && command.selections.empty()) {
    if (base.empty()) return std::nullopt;
    command.selections.push_back({base, "*.*"});
  }
  if (command.verb != 'a' && command.patterns.empty()) command.patterns.push_back("*.*");
  return command;
}


}  // namespace vorn::unlha
