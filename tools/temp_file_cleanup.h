#pragma once
// Deletes the empty files of the Internet temporary files cache and says how many went.
#include "tools/maintenance_context.h"

namespace vorn {

// The options window's "OEの一時ファイルを削除する": only zero-length files directly inside the
// sub-folders of "Content.IE5", never through a link out of the cache. Returns the count shown.
int DeleteEmptyTemporaryFiles(MaintenanceContext& context);

}  // namespace vorn
