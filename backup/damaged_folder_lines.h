#pragma once
// The information file's lines after its eight, one per folder file of the Store Root that the
// index reader cannot read whole: "Damaged    :受信トレイ.dbx (回復できるﾒｯｾｰｼﾞ 28)". The set
// holds such a file as it was; these lines tell what recovery can still take out of it.
#include <string>

#include "platform/file_system.h"

namespace vorn {

inline constexpr const char* kDamagedFolderLabel = "Damaged    :";

std::string DamagedFolderLines(const FileSystem& files, const std::string& storeRoot);

}  // namespace vorn
