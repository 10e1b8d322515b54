// The sender and date an mbox "From " line takes from a message's raw header.
#include <gtest/gtest.h>

#include "setread/message_head.h"

namespace vorn {
namespace {

TEST(MessageHead, DatesInTheFormsOldMailProgramsWrote) {
  struct Case {
    const char* text;
    std::optional<int64_t> seconds;
  };
  const Case cases[] = {
      {"Wed, 12 May 2004 09:05:03 +0900", 1084320303},
      {"12 May 2004 09:05:03 +0900", 1084320303},
      {"Wed, 12 May 2004 09:05:03 +0900 (JST)", 1084320303},
      {"Wed,12 May 2004 9:05:03 JST", 1084320303},
      {"wed, 12 may 2004 00:05:03 gmt", 1084320303},
      {"Wed, 12 May 2004 00:05 UT", 1084320300},
      {"Wed, 12 May 04 09:05:03 +09:00", 1084320303},
      {"Wed, 12 May 104 00:05:03 Z", 1084320303},
      {"Wed May 12 00:05:03 2004", 1084320303},          // the asctime form
      {"Tue, 11 May 2004 20:05:03 EDT", 1084320303},
      {"Wed, 12 May 2004 00:05:03 -0000", 1084320303},
      {"Wed, 12 May 2004 00:05:03 XYZ", 1084320303},     // an unknown zone counts as UTC
      {"1 Jan 99 00:00 GMT", 915148800},
      {"1 Jan 49 00:00 GMT", 2493072000},
      {"29 Feb 2020 23:59:60 -0130", 1583026199},        // a leap second, a zone west of UTC
      {"1 Jan 1900 00:00:00 +0000", -2208988800},
      {"30 Feb 2004 00:00 +0000", std::nullopt},
      {"29 Feb 2100 00:00 +0000", std::nullopt},
      {"12 May 2004", std::nullopt},
      {"12 2004 09:05:03", std::nullopt},
      {"yesterday", std::nullopt},
      {"", std::nullopt},
      {"12 May 2004 25:00:00 +0000", std::nullopt},
      {"12 May 2004 09:05:03 09:05:03", std::nullopt},
      {"123 May 2004 09:05", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMailDate(c.text), c.seconds) << c.text;
}

TEST(MessageHead, AddressesFieldsAndTheFromLine) {
  struct AddressCase {
    const char* field;
    std::optional<std::string> address;
  };
  const AddressCase addresses[] = {
      {"Taro <taro@example.jp>", "taro@example.jp"},
      {"\"Yamada, Taro <home>\" <taro@example.jp>", "taro@example.jp"},
      {"taro@example.jp (Taro <x@y>)", "taro@example.jp"},
      {"taro@example.jp, hanako@example.jp", "taro@example.jp"},
      {"  <taro@example.jp>  ", "taro@example.jp"},
      {"<>", std::nullopt},
      {"not an address", std::nullopt},
      {"\x93\xfa\x96\x7b@example.jp", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : addresses) EXPECT_EQ(MailAddress(c.field), c.address) << c.field;

  const std::string head =
      "Received: from a by b; Thu, 13 May 2004 10:00:00 +0000\r\n"
      "Received: from c by d; Wed, 12 May 2004 10:00:00 +0000\r\n"
      "subject: folded\r\n\tsecond line\r\n"
      "FROM: Taro\r\n <taro@example.jp>\r\n"
      "\r\n"
      "Date: Wed, 12 May 2004 09:05:03 +0900\r\n";
  EXPECT_EQ(HeaderField(head, "Subject"), "folded\tsecond line");
  EXPECT_EQ(HeaderField(head, "from"), "Taro <taro@example.jp>");
  EXPECT_EQ(HeaderField(head, "Date"), std::nullopt) << "the body is no header";
  EXPECT_EQ(HeaderField("X-A: 1\nX-B:\n", "x-b"), "");
  // The newest Received gives the date when Date is missing.
  EXPECT_EQ(MboxFromLine(head), "From taro@example.jp Thu May 13 10:00:00 2004");
  EXPECT_EQ(MboxFromLine("From: no address\r\nSender: <s@example.jp>\r\nReturn-Path: <r@example.jp>\r\n"
                         "Date: Thu, 1 Jan 2009 00:00:00 +0000\r\n\r\n"),
            "From s@example.jp Thu Jan  1 00:00:00 2009");
  EXPECT_EQ(MboxFromLine("Return-Path: <r@example.jp>\n\n"), "From r@example.jp Thu Jan  1 00:00:00 1970");
  EXPECT_EQ(MboxFromLine(""), "From MAILER-DAEMON Thu Jan  1 00:00:00 1970");
  EXPECT_EQ(MboxFromLine("Date: 1 Jan 1900 00:00:00 +0000\r\n"), "From MAILER-DAEMON Mon Jan  1 00:00:00 1900");
}

}  // namespace
}  // namespace vorn
