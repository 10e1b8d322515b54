#pragma once
// Deletes the empty files of the Internet temporary files cache and says how many went.
#include "core/run_context.h"

namespace vorn {

// The options window's "OEの一時ファイルを削除する": only zero-length files directly inside the
// sub-folders of "Content.IE5", never through a link: a link on the way to the cache, or the cache
// folder itself a link, deletes nothing and says so. Returns the count shown.
int DeleteEmptyTemporaryFiles(RunContext& context);

}  // namespace vorn
