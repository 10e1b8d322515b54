#pragma once
// A mail store of generated folder files for the tests of a set's reading: the standard folders,
// a news group, names Windows refuses or that meet once made valid, messages with and without a
// sender and a date, "From " lines in bodies, every kind of line end, records of neither kind.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/dbx/dbx_writer.h"

namespace vorn::test {

struct SampleFolder {
  std::string fileName;  // UTF-8
  DbxDescription description;
};

// withUnusualNames: also the folders whose names are not valid on Windows (for stores on Linux
// and in archives).
std::vector<SampleFolder> SampleStore(bool withUnusualNames);

// The folder files (and a file that is not one, "pop3uidl.txt") in a host folder.
void WriteSampleStore(const std::filesystem::path& folder, const std::vector<SampleFolder>& store);

// A set assembled by hand around a store folder: "Reg\Account.reg", an 8-line "Reg\VornInfo.dat"
// in code page 932, and the store as "Mail\" (plain) or as "Mail.lzh" packed by jlha.
void WriteHandMadeSet(const std::filesystem::path& setFolder, const std::filesystem::path& store, bool compressed);

// The store's messages of mail and news in index order, as the extraction writes them.
std::vector<std::string> ExtractedMessages(const SampleFolder& folder);

}  // namespace vorn::test
