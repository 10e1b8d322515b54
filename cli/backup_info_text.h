#pragma once
// A set's information file as the backup information dialog shows it, in text.
#include <iosfwd>
#include <string>
#include <vector>

namespace vorn::cli {

// One line per field that holds a value: indent, the dialog's caption and the value.
void WriteBackupInfoFields(std::ostream& out, const std::vector<std::string>& fields, const std::string& indent);

}  // namespace vorn::cli
