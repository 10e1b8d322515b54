#pragma once
// The dial-up settings of a set: the remote access entries and, on the 2000 family, the two
// phonebooks and the telephony locations.
#include "restore/restore_context.h"

namespace vorn {

// Only when the set comes from the running OS family.
void RE_Remote(RestoreContext& run);
// The set's "Reg\rasphone1.pbk" as the phonebook shared by all users, "Reg\rasphone2.pbk" as
// the user's own; a current phonebook is kept under its safety name.
void CpyPbk(RestoreContext& run);
void CpyPbk2(RestoreContext& run);

}  // namespace vorn
