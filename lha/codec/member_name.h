#pragma once
// Member names between the archive (code page 932 components) and the program (UTF-8).
#include <optional>
#include <string>
#include <vector>

#include "lha/codec/member_header.h"

namespace vorn::lha {

// The member's path below a destination folder as UTF-8 components, or nullopt where writing it
// there would be unsafe: drive letters or streams (":"), "..", names that are only dots and
// blanks, characters Windows refuses in names, and device names such as "CON". A name that begins
// with a separator is taken relative to the destination, as other LHA tools do, and "." parts are
// dropped: a folder entry "." is the destination itself (no components).
std::optional<std::vector<std::string>> SafeMemberPath(const MemberHeader& header);

// Stored components for UTF-8 components; nullopt when code page 932 cannot hold a name exactly.
std::optional<std::vector<std::string>> StoredPath(const std::vector<std::string>& utf8);

// The member's name for messages and pattern matching: UTF-8 components joined with "\".
std::string DisplayName(const MemberHeader& header);

}  // namespace vorn::lha
