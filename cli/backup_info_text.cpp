#include "cli/backup_info_text.h"

#include <ostream>

#include "ui/ex_info.h"

namespace vorn::cli {

void WriteBackupInfoFields(std::ostream& out, const std::vector<std::string>& fields, const std::string& indent) {
  const ExInfo dialog(fields, "", "");
  for (int i = 0; i < ExInfo::kFieldCount; ++i)
    if (!dialog.Text1[i].text.empty()) out << indent << dialog.Label1[i] << dialog.Text1[i].text << "\n";
}

}  // namespace vorn::cli
