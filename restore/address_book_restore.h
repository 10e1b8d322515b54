#pragma once
// The set's address book file in place of the current one, which is kept beside it under its
// safety name.
#include "restore/restore_context.h"

namespace vorn {

void ReWab(RestoreContext& run);

}  // namespace vorn
