#include "ui/ex_info.h"

#include <utility>

namespace vorn {
namespace {
constexpr const char* kShowDetails = "詳細表示(&D)";
constexpr const char* kShowNormal = "通常表示(&U)";
}  // namespace

ExInfo::ExInfo(const std::vector<std::string>& fields, std::string osKind, std::string oeVersion)
    : ModalForm("Vorn Info "), osKind_(std::move(osKind)), oeVersion_(std::move(oeVersion)) {
  for (size_t i = 0; i < fields.size() && i < kFieldCount; ++i) Text1[i].text = fields[i];
}

void ExInfo::Form_Load() {
  loaded = true;
  width = kWidth;
  height = kNormalHeight;
  Command1[kDetail].caption = kShowDetails;
  Label3 = "OS : " + osKind_ + "  Outlook Express : " + oeVersion_;
}

void ExInfo::Command1_Click(int index) {
  if (index == kOk) {
    closed = true;
    return;
  }
  if (index != kDetail) return;
  if (Command1[kDetail].caption == kShowDetails) {
    height = kDetailedHeight;
    width = kWidth;
    Command1[kDetail].caption = kShowNormal;
  } else if (Command1[kDetail].caption == kShowNormal) {
    Command1[kDetail].caption = kShowDetails;
    height = kNormalHeight;
    width = kWidth;
  }
}

}  // namespace vorn
