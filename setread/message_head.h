#pragma once
// What an mbox file's "From " line needs from a message's header: the sender's address and the
// date, read leniently from the raw header as old mail programs wrote it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// The value of the header's first field `name` (any case), its continuation lines joined; the
// header ends at the first empty line.
std::optional<std::string> HeaderField(std::string_view head, std::string_view name);

// The address of "Name <user@host>", "user@host (Name)" or "user@host"; nullopt when there is no
// address made of printable ASCII without blanks.
std::optional<std::string> MailAddress(std::string_view field);

// Seconds since 1970-01-01 UTC of an RFC 5322 date ("Wed, 12 May 2004 09:05:03 +0900"), also in
// the obsolete forms: no day name, two- or three-digit years, no seconds, zone names such as GMT
// or JST, a comment after it. nullopt when it is not a date.
std::optional<int64_t> ParseMailDate(std::string_view text);

// The "From " line of a message in an mbox file, without its line end: "From " + the address of
// "From:" (else "Sender:", else "Return-Path:", else MAILER-DAEMON) + " " + the time of "Date:"
// (else of the newest "Received:", else 1970-01-01) in UTC, as "Wed May 12 00:05:03 2004".
std::string MboxFromLine(std::string_view head);

}  // namespace vorn
