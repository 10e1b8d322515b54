#include "restore/reg_file_rewriting.h"

#include <gtest/gtest.h>

#include "restore/signature_lines.h"
#include "tests/regedit/reg_test_support.h"
#include "tests/support/sim_machine.h"

namespace vorn {
namespace {

using regtest::AnsiFile;
using regtest::Utf16File;

const std::string kFile = "C:\\Set\\Reg\\x.reg";

struct KindCase {
  std::string bytes;
  int kind;
};

TEST(RegFileRewriting, AFileKindIsTheLengthOfItsFirstLineInTextMode) {
  SimMachine m;
  const KindCase cases[] = {
      {Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n"), kRegUnicodeExport},
      {" REGEDIT4\r\n?Windows Registry Editor Version 5.00\r\n", kRegConverted},
      {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n", kRegAnsiExport},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\x]\n", kRegAnsiExport},
      {"REGEDIT4\r[HKEY_CURRENT_USER\\x]", kRegAnsiExport},
      {"REGEDIT4", kRegAnsiExport},
      // By length alone, as the kinds are defined: nine characters read as converted.
      {"REGEDIT4 \r\n", kRegConverted},
      {"\xEF\xBB\xBFREGEDIT4\r\n", kRegUnknown},
      {Utf16File("REGEDIT4\r\n").substr(2), kRegAnsiExport},
      {"Windows Registry Editor Version 5.00\r\n", kRegUnknown},
      {"", kRegUnknown},
      {"<html>\r\n", kRegUnknown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    m.CreateFile(kFile, c.bytes);
    EXPECT_EQ(RegFileKind(m.files, kFile), c.kind);
  }
  EXPECT_EQ(RegFileKind(m.files, "C:\\Set\\Reg\\missing.reg"), kRegUnknown);
}

TEST(RegFileRewriting, TextModeReadsAsciiOfAnyFileAndByteModeReadsUnicodeWhole) {
  SimMachine m;
  m.CreateFile(kFile, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\日本]\r\n\"a\"=\"b\"\r\n"));
  auto lines = ReadRegFileLines(m.files, kFile);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 36), "Windows Registry Editor Version 5.00");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[3], "\"a\"=\"b\"");
  const std::string text = ReadRegFileText(m.files, kFile);
  EXPECT_EQ(text.substr(text.size() - 11), "\r\n\"a\"=\"b\"\r\n");
  EXPECT_EQ(ReadRegFileUnicode(m.files, kFile),
            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\日本]\r\n\"a\"=\"b\"\r\n");
  m.CreateFile(kFile, AnsiFile("REGEDIT4\r\n\r\n\"表\"=\"十\"\r\n"));
  EXPECT_EQ(ReadRegFileLines(m.files, kFile), (std::vector<std::string>{"REGEDIT4", "", "\"表\"=\"十\""}));
  EXPECT_TRUE(ReadRegFileLines(m.files, "C:\\none.reg").empty());
  EXPECT_FALSE(ReadRegFileUnicode(m.files, "C:\\none.reg"));
}

TEST(RegFileRewriting, ConvertingToRegedit4GivesTheAnsiTextAndLeavesTheFileAsItIs) {
  SimMachine m;
  const std::string unicode = Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n\"s\"=\"日本\"\r\n\r\n");
  m.CreateFile(kFile, unicode);
  m.files.SetAttributes(kFile, fileattr::kReadOnly);
  EXPECT_EQ(ConvertToRegedit4(m.files, kFile), " REGEDIT4\r\n?Windows Registry Editor Version 5.00\r\n\r\n"
                                               "[HKEY_CURRENT_USER\\x]\r\n\"s\"=\"日本\"\r\n\r\n\r\n");
  EXPECT_EQ(m.ReadFile(kFile), unicode);
  EXPECT_EQ(m.files.List("C:\\Set\\Reg", "*").size(), 1u);
  EXPECT_FALSE(ConvertToRegedit4(m.files, "C:\\none.reg"));
}

TEST(RegFileRewriting, FindsTheMainUsersAccountAssociationOnOneLine) {
  SimMachine m;
  const std::string value = "01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10";
  const std::string guid = "04030201-0605-0807-090A-0B0C0D0E0F10";
  const std::pair<std::string, std::string> cases[] = {
      {"\"AssociatedID\"=hex:" + value, guid},
      {"\"AssociatedID\"=hex:1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", "04030201-0605-0807-0910-111213141516"},
      {"\"AssociatedID\"=hex:" + value.substr(0, 44), ""},       // 15 bytes
      {"\"AssociatedID\"=hex:01,02,03,04,05,06,07,08,09,\\", ""},  // continued on the next line
      {"\"associatedid\"=hex:" + value, ""},
      {" \"AssociatedID\"=hex:" + value, ""},
      {"\"AssociatedID\"=hex(3):" + value, ""},
      {"\"Other\"=hex:" + value, ""},
  };
  for (const auto& [line, found] : cases) {
    SCOPED_TRACE(line);
    m.CreateFile(kFile, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n" + line +
                                  "\r\n  0a,0b\r\n"));
    EXPECT_EQ(FindAssociatedID(m.files, kFile), found);
  }
  EXPECT_EQ(FindAssociatedID(m.files, "C:\\none.reg"), "");
}

TEST(RegFileRewriting, TheOldGuidIsTheFirstBracedPieceAndIsReplacedWhateverItsCase) {
  EXPECT_EQ(FindOldGuid("[HKEY_CURRENT_USER\\Identities\\{aa-1}\\Software]\r\n\"x\"=\"{bb}\""), "{aa-1}");
  EXPECT_EQ(FindOldGuid("a}b{c}d}"), "{c}");
  EXPECT_EQ(FindOldGuid("no braces"), "");
  EXPECT_EQ(FindOldGuid("{never closed"), "");
  EXPECT_EQ(ReplaceIgnoringCase("[X\\{ab-CD}\\Y]\r\n\"v\"=\"{AB-cd}{ab-cd}\"", "{ab-CD}", "{NEW}"),
            "[X\\{NEW}\\Y]\r\n\"v\"=\"{NEW}{NEW}\"");
  EXPECT_EQ(ReplaceIgnoringCase("日本{g}語", "{G}", "{署名}"), "日本{署名}語");
  EXPECT_EQ(ReplaceIgnoringCase("unchanged", "", "{X}"), "unchanged");
}

TEST(SignatureLines, AMultiLineTextValueBecomesOneLineAndEveryOtherLineKeepsItsLineEnd) {
  const std::pair<std::string, std::string> cases[] = {
      // Three physical lines: first + \r\n + second + \r\n + the closing one + CR LF.
      {"[K]\r\n\"text\"=\"Line1\r\nLine2\r\nLine3\"\r\n\"name\"=\"a\"\r\n",
       "[K]\r\n\"text\"=\"Line1\\r\\nLine2\\r\\nLine3\"\r\n\"name\"=\"a\"\r\n"},
      // A value that opens and closes on its line is left alone, and so is the line after it.
      {"\"text\"=\"one\"\r\n\"name\"=\"x\"\r\n", "\"text\"=\"one\"\r\n\"name\"=\"x\"\r\n"},
      {"\"TEXT\"=\"a\r\nsaid \\\"hi\\\" here\r\nb\\\\\"\r\n", "\"TEXT\"=\"a\\r\\nsaid \\\"hi\\\" here\\r\\nb\\\\\"\r\n"},
      // An empty line inside a value stays part of it; the empty lines between entries go.
      {"[K]\r\n\r\n\"text\"=\"a\r\n\r\nb\"\r\n\r\n", "[K]\r\n\"text\"=\"a\\r\\n\\r\\nb\"\r\n"},
      {"\"name\"=\"\\\"text\"\r\nnext\r\n", "\"name\"=\"\\\"text\"\r\nnext\r\n"},
      {"\"text\"=hex(7):61,00,\\\r\n  00,00\r\n", "\"text\"=hex(7):61,00,\\\r\n  00,00\r\n"},
  };
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(in);
    EXPECT_EQ(JoinSignatureLines(in), out);
  }
}

TEST(SignatureLines, TextsAreReadWholeWithTheirEscapesAndTheKeyTheyBelongTo) {
  const std::string sigs = "[HKEY_CURRENT_USER\\Identities\\{G}\\Software\\Microsoft\\Outlook Express\\5.0\\signatures";
  const std::vector<std::string> lines = {
      " REGEDIT4", "?REGEDIT4", sigs + "]", "\"Default Signature\"=\"00000001\"", sigs + "\\00000000]",
      "\"name\"=\"署名 #1\"", "\"text\"=\"Line1\\r\\nLine2\"", "\"type\"=dword:00000001", sigs + "\\00000001]",
      "\"Text\"=\"C:\\\\x \\\"q\\\"", "second line\"", sigs + "\\00000001\\deeper]", "\"text\"=\"not a signature\"",
      "[HKEY_CURRENT_USER\\Other]", "\"text\"=\"elsewhere\"", sigs + "\\00000002]", "\"text\"=\"never closed"};
  EXPECT_EQ(ReadSignatureTexts(lines), (std::vector<SignatureText>{{"00000000", "Line1\r\nLine2"},
                                                                   {"00000001", "C:\\x \"q\"\r\nsecond line"}}));
}

}  // namespace
}  // namespace vorn
