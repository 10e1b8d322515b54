#pragma once
// Why a read of a folder file, or the writing of a message file, stopped.
#include <string>

namespace vorn {

enum class DbxError {
  None = 0,
  CannotOpen = 1,        // the folder file cannot be opened
  BadPosition = 2,       // a position computed from the file is negative or beyond 32 bits
  PastEndOfFile = 3,     // a read runs past the end of the file
  ReadFailed = 4,        // the file system reported a read error
  EmptyBlock = 5,        // a data block holds fewer than 1 byte
  IndexLoop = 6,         // an index node is reached a second time
  IndexTooDeep = 7,      // the index is nested deeper than any real folder
  IndexTooLarge = 8,     // the index holds more nodes or records than any real folder
  BlockLoop = 9,         // a data block is reached a second time within one message
  MessageTooLong = 10,   // a message's blocks add up to more than the whole file
  CounterOverflow = 11,  // a 16-bit message counter would pass 32,767
  CannotCreate = 12,     // a message file cannot be created
  WriteFailed = 13,      // a message file cannot be written completely
  IndexShort = 14,       // the index leads to fewer messages than the header counts
  NegativeCount = 15,    // the header counts fewer than no messages
};

// The number and the Japanese description shown to the user for an error.
// A fault in the folder file's own bytes, which recovery reads past: not a file that cannot be
// opened, nor a fault of the output, nor a counter's limit.
bool IsReadDamage(DbxError error);

int DbxErrorNumber(DbxError error);
std::string DbxErrorDescription(DbxError error);

}  // namespace vorn
