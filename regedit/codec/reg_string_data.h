#pragma once
// String-type value data (types 1, 2, 7) between the store's code page 932 view and a
// .reg file: quoted strings are text, hex(1)/hex(2)/hex(7) data is code page 932 bytes in
// the REGEDIT4 dialect and UTF-16LE bytes in the Version 5.00 dialect.
#include <cstdint>
#include <string>
#include <vector>

#include "regedit/reg_dialect.h"

namespace vorn {

bool IsStringType(uint32_t type);

// True when the data is one string: no NUL before its end other than terminating ones.
bool IsSingleString(const std::vector<uint8_t>& data);
// The string before the first NUL, as UTF-8.
std::string StoredStringText(const std::vector<uint8_t>& data);
// A string as the store holds it: code page 932 with its terminating NUL.
std::vector<uint8_t> StoredStringData(const std::string& utf8);

std::vector<uint8_t> StoredToFileBytes(const std::vector<uint8_t>& stored, RegDialect dialect);
// Code page 932 bytes come back as the system's conversion would leave them, so the store
// only ever holds what a real ANSI view can show.
std::vector<uint8_t> FileBytesToStored(const std::vector<uint8_t>& fileBytes, RegDialect dialect);

}  // namespace vorn
