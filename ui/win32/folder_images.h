#pragma once
// The mail-store tree's small pictures, drawn by the program itself, one per image key of the
// tree's nodes (ROOT, BOX, T_Recv, SEND, SENDED, DEL, MEMO, T_NWS, C_NWS).
#include <string>

#include "platform/win32/windows_api.h"
#include <commctrl.h>

namespace vorn::win32ui {

// A new image list of 16 x 16 pictures in the order of the keys; the caller destroys it.
HIMAGELIST CreateFolderImageList();
// The picture of an image key in that list; the folder picture for an unknown key.
int FolderImageIndex(const std::string& imageKey);

}  // namespace vorn::win32ui
