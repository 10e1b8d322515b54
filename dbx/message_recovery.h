#pragma once
// Recovery of the messages a folder file still holds, found by their block chains alone: the
// header, the index and the message-info records may be gone. One forward pass over the file
// with a fixed buffer; what is held beyond it depends on the messages open at one time, never
// on the file's size.
//
// A live block: its own offset, the body size S, the text length L (1..S), the next block (0
// ends the chain), then S bytes of body. A freed block keeps its own offset and gets the body
// size B, B + 0x14 and, at 0x10, the next freed object; the old next pointer at 0x0C stays,
// and so does the old text from 0x14 on (its first 4 bytes are gone).
#include <cstdint>
#include <string>
#include <vector>

#include "dbx/dbx_error.h"
#include "dbx/dbx_file.h"
#include "platform/file_system.h"

namespace vorn {

struct RecoveryReport {
  int32_t whole = 0;    // live messages whose chain is complete
  int32_t cut = 0;      // live messages written up to the break in their chain
  int32_t deleted = 0;  // freed messages found in the free space (written below "deleted\")
  int32_t deletedCut = 0;  // of those, the ones whose chain broke
  int32_t news = 0;        // live news messages, whole or cut
  std::vector<std::string> cutFiles;  // names of the cut files, relative to the output folder
  std::vector<int32_t> wholeHeads;    // first block of each whole live message, in file order
  DbxError error = DbxError::None;    // why the run stopped (a message file that could not be written)
  int32_t Found() const { return whole + cut + deleted; }
};

// Numbered files of the recovery: "00007.eml", "00007-cut.nws".
std::string RecoveredFileName(int32_t number, bool news, bool cut);

// Writes what the folder file holds into `outputFolder` (ending with "\", made when missing):
// live messages numbered per kind in the order their first block lies in the file, freed ones
// below "deleted\". Nothing already there is written over: a taken number is passed by.
RecoveryReport RecoverMessages(DbxFile::Opener open, FileSystem& files, const std::string& outputFolder);
RecoveryReport RecoverMessages(FileSystem& files, const std::string& folderFilePath, const std::string& outputFolder);
// The same run without writing anything: what recovery would find, counted.
RecoveryReport CountRecoverableMessages(DbxFile::Opener open);

// True when the index reader reads the same live messages the recovery found whole and no
// chain was cut: the file needs no recovery.
bool IndexAgreesWithRecovery(DbxFile& file, const RecoveryReport& report);

}  // namespace vorn
