#pragma once
// The identity's settings from the set's .reg files: each file converted where the running
// family's editor needs the other form, the backed-up identity's GUID rewritten to the
// receiving one's, imported within the keys its export covers, and the values an import must
// not carry over (the account association, the Store Root) repaired afterwards.
#include <string>
#include <vector>

#include "restore/restore_context.h"

namespace vorn {

// The keys a set file's import may write ("OE.reg", "Account.reg", ...), for the identity G.
std::vector<std::string> ImportScopeOf(const std::string& setFileName, const std::string& identityGuid);

void N_ReAccount(RestoreContext& run);
void ReOE(RestoreContext& run);
// 98 family, before ReOE: a Unicode Sig.reg made a REGEDIT4 text with one line per text value,
// kept in the run's state for ReOE (the set's file is not changed).
void PrepareSigFor98(RestoreContext& run);
// RRR: the text as written and read back, its Unicode header words replaced by REGEDIT4.
std::string RRR(const std::string& text);
// 2000 family, after ReOE: the texts of a REGEDIT4 Sig.reg into the identity's signature keys.
void RestoreSignatureTexts(RestoreContext& run);
void RE_FavoOrder(RestoreContext& run);
void RE_Locations(RestoreContext& run);

// Imports one file of the set's "Reg" folder (or a rewritten copy) within the scope of the set
// file it came from; what it skipped or could not do goes to the report.
void ImportSetFile(RestoreContext& run, const std::string& path, const std::string& setFileName);
// A set file the running family's editor cannot take as it is, converted in memory, written into
// the run's work folder and imported from there.
void ImportConverted(RestoreContext& run, const std::string& setFileName);

}  // namespace vorn
