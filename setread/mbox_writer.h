#pragma once
// A folder's messages in one mbox file, as mail programs import it: the mboxrd form with LF line
// ends. Each message follows its "From " line (MboxFromLine), its CR LF line ends become LF, a
// ">" goes before each line that reads "From " after any number of ">", and an empty line ends it.
#include <cstdint>
#include <functional>

#include "dbx/dbx_error.h"
#include "dbx/dbx_file.h"
#include "platform/file_system.h"

namespace vorn {

struct MboxFolderResult {
  int32_t messages = 0;  // messages written whole
  DbxError error = DbxError::None;  // why the folder was not written to its end
};

// Every message of the folder file in index order, mail and news alike; records that are neither
// are left out, as the extraction leaves them out. `written` hears the count after each message.
// A walk of the index that fails part-way writes the messages it found and reports the failure.
MboxFolderResult WriteMboxFolder(DbxFile& file, OutputFile& out, const std::function<void(int32_t)>& written);

}  // namespace vorn
