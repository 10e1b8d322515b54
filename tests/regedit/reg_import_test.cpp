#include "regedit/reg_import.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry_store.h"
#include "tests/regedit/reg_test_support.h"

namespace vorn {
namespace {

using regtest::AnsiBytes;
using regtest::AnsiFile;
using regtest::Bytes;
using regtest::Sz;
using regtest::Utf16File;

constexpr auto kUser = RegRoot::CurrentUser;
const std::string kKey = "Software\\VornTest";

class RegImportTest : public ::testing::Test {
 protected:
  RegImportResult Import(const std::string& bytes) { return ImportRegFile(store_, bytes); }
  std::optional<RegValue> Value(const std::string& name, const std::string& key = kKey) {
    return store_.ReadValue(kUser, key, name);
  }
  SimRegistryStore store_;
};

// As the Unicode editor exports it (this layout is Wine's regedit /e output).
TEST_F(RegImportTest, ReadsEveryValueTypeOfTheUnicodeDialect) {
  auto result = Import(Utf16File(
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
      "@=\"既定\"\r\n"
      "\"b\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\r\n"
      "  18,19\r\n"
      "\"d\"=dword:0000002a\r\n"
      "\"e\"=hex(2):25,00,41,00,e5,65,00,00\r\n"
      "\"m\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
      "\"n\"=hex(0):\r\n"
      "\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      "\"s\"=\"a\\\\b\\\"c\"\r\n"
      "\"名前\"=\"値\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\VornTest\\Sub]\r\n\r\n"));
  EXPECT_TRUE(result.Clean());
  EXPECT_EQ(Value(""), Sz("既定"));
  EXPECT_EQ(Value("b")->data.size(), 0x19u);
  EXPECT_EQ(Value("d"), (RegValue{regtype::kDword, {0x2a, 0, 0, 0}}));
  EXPECT_EQ(Value("e"), (RegValue{regtype::kExpandSz, AnsiBytes(std::string("%A日") + '\0')}));
  EXPECT_EQ(Value("m"), (RegValue{regtype::kMultiSz, Bytes(std::string("a\0b\0\0", 5))}));
  EXPECT_EQ(Value("n"), (RegValue{regtype::kNone, {}}));
  EXPECT_EQ(Value("q")->type, 0xbu);
  EXPECT_EQ(Value("s"), Sz("a\\b\"c"));
  EXPECT_EQ(Value("名前"), Sz("値"));
  EXPECT_TRUE(store_.KeyExists(kUser, kKey + "\\Sub"));
}

TEST_F(RegImportTest, ReadsStringTypeHexDataOfTheAnsiDialectAsCodePage932) {
  EXPECT_TRUE(Import(AnsiFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                              "\"e\"=hex(2):25,41,93,fa,00\r\n\"表\"=\"表示\"\r\n"))
                  .Clean());
  EXPECT_EQ(Value("e"), (RegValue{regtype::kExpandSz, AnsiBytes(std::string("%A日") + '\0')}));
  // 表 ends in the byte 0x5C, which must not be taken for a backslash.
  EXPECT_EQ(Value("表"), Sz("表示"));
}

TEST_F(RegImportTest, AppliesKeyAndValueDeletions) {
  store_.WriteValue(kUser, kKey + "\\Old\\Deep", "x", Sz("1"));
  store_.WriteValue(kUser, kKey, "gone", Sz("1"));
  store_.WriteValue(kUser, kKey, "kept", Sz("1"));
  EXPECT_TRUE(Import(AnsiFile("REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\VornTest\\Old]\r\n"
                              "\"ignored\"=\"below a deleted key\"\r\n\r\n"
                              "[-HKEY_CURRENT_USER\\Software\\VornTest\\NeverThere]\r\n\r\n"
                              "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n\"gone\"=-\r\n\"absent\"=-\r\n"))
                  .Clean());
  EXPECT_FALSE(store_.KeyExists(kUser, kKey + "\\Old"));
  EXPECT_FALSE(store_.KeyExists(kUser, kKey + "\\NeverThere"));
  EXPECT_FALSE(Value("gone"));
  EXPECT_TRUE(Value("kept"));
}

TEST_F(RegImportTest, ReadsStringsOverSeveralLinesAndTheirEscapes) {
  EXPECT_TRUE(Import(AnsiFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                              "\"text\"=\"Line1\r\n[Line2]\r\n\\\"Line3\\\"\"\r\n"
                              "\"joined\"=\"Line1\\r\\nLine2\"\r\n"
                              "\"other\"=\"C:\\temp\\\\x\"\r\n"
                              "\"after\"=dword:1\r\n"))
                  .Clean());
  EXPECT_EQ(Value("text"), Sz("Line1\r\n[Line2]\r\n\"Line3\""));
  EXPECT_EQ(Value("joined"), Sz("Line1\r\nLine2"));
  // An unknown escape keeps its backslash.
  EXPECT_EQ(Value("other"), Sz("C:\\temp\\x"));
  EXPECT_EQ(Value("after"), (RegValue{regtype::kDword, {1, 0, 0, 0}}));
}

// The restore converts Unicode exports to ANSI before importing them; the byte-order mark
// turns into whatever the conversion makes of it, and the hex data stays UTF-16.
TEST_F(RegImportTest, ReadsFilesConvertedByTheRestore) {
  const std::string body =
      "\r\n[HKEY_CURRENT_USER\\Software\\VornTest]\r\n\"e\"=hex(2):25,00,41,00,e5,65,00,00\r\n\"s\"=\"日本\"\r\n\r\n\r\n";
  for (const std::string& head : {std::string(" REGEDIT4\r\n?Windows Registry Editor Version 5.00\r\n"),
                                  std::string("?Windows Registry Editor Version 5.00\r\n"),
                                  std::string("・Windows Registry Editor Version 5.00\r\n"),
                                  std::string(" REGEDIT4\r\n\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n")}) {
    SCOPED_TRACE(head);
    SimRegistryStore store;
    EXPECT_TRUE(ImportRegFile(store, AnsiFile(head + body)).Clean());
    EXPECT_EQ(store.ReadValue(kUser, kKey, "e"), (RegValue{regtype::kExpandSz, AnsiBytes(std::string("%A日") + '\0')}));
    EXPECT_EQ(store.ReadValue(kUser, kKey, "s"), Sz("日本"));
  }
  // After the 98 family's header exchange the second header says REGEDIT4 again.
  EXPECT_TRUE(Import(AnsiFile(" REGEDIT4\r\n?REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VornTest]\r\n"
                              "\"e\"=hex(2):25,41,00\r\n"))
                  .Clean());
  EXPECT_EQ(Value("e"), (RegValue{regtype::kExpandSz, Bytes(std::string("%A\0", 3))}));
}

TEST_F(RegImportTest, ReadsAUtf8FileWithByteOrderMark) {
  EXPECT_TRUE(Import("\xEF\xBB\xBFREGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\VornTest]\n\"s\"=\"日本\"\n").Clean());
  EXPECT_EQ(store_.ReadValue(RegRoot::LocalMachine, kKey, "s"), Sz("日本"));
}

struct BadFile {
  std::string name;
  std::string body;  // after the header line and the key line "[HKEY_CURRENT_USER\Software\VornTest]"
  int line;
  std::string reason;
};

void PrintTo(const BadFile& file, std::ostream* out) { *out << file.name; }

class RegImportBadFileTest : public ::testing::TestWithParam<BadFile> {};

// Every bad file starts with a good value on line 3; nothing of a file with a bad line is imported.
TEST_P(RegImportBadFileTest, ImportsNothingOfAFileWithABadLineAndReportsIt) {
  SimRegistryStore store;
  auto result = ImportRegFile(
      store, AnsiFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\VornTest]\r\n\"good\"=\"1\"\r\n" + GetParam().body +
                      "\r\n\"late\"=\"1\"\r\n"));
  ASSERT_TRUE(result.badLine);
  EXPECT_EQ(result.badLine->line, GetParam().line);
  EXPECT_EQ(result.badLine->reason, GetParam().reason);
  EXPECT_FALSE(store.KeyExists(kUser, kKey));
  EXPECT_FALSE(store.ReadValue(kUser, kKey, "late"));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RegImportBadFileTest,
    ::testing::Values(
        BadFile{"BrokenContinuation", "\"bad\"=hex:01,02,\\", 5, "bad byte in hex data"},
        BadFile{"EmptyContinuation", "\"bad\"=hex:01,02,\\\r\n", 5, "empty line inside a continued value"},
        BadFile{"BadHexByte", "\"bad\"=hex:01,\\\r\n  0g", 5, "bad byte in hex data"},
        BadFile{"HexByteTooLong", "\"bad\"=hex:123", 4, "bad byte in hex data"},
        BadFile{"UnclosedHexType", "\"bad\"=hex(2:00", 4, "bad type number in hex(...)"},
        BadFile{"LongDword", "\"bad\"=dword:123456789", 4, "dword data is not 1 to 8 hexadecimal digits"},
        BadFile{"EmptyDword", "\"bad\"=dword:", 4, "dword data is not 1 to 8 hexadecimal digits"},
        // A string runs on over line breaks, so an unclosed one ends at the next quote.
        BadFile{"UnclosedString", "\"bad\"=\"never closed", 5, "text after the closing quote"},
        BadFile{"TextAfterString", "\"bad\"=\"x\" y", 4, "text after the closing quote"},
        BadFile{"UnclosedName", "\"bad=\"x", 4, "'=' missing after the value name"},
        BadFile{"MissingEquals", "\"bad\" \"x\"", 4, "'=' missing after the value name"},
        BadFile{"UnknownData", "\"bad\"=word:1", 4, "unrecognised value data"},
        BadFile{"Garbage", "garbage", 4, "unrecognised line"},
        BadFile{"UnclosedKey", "[HKEY_CURRENT_USER\\Software", 4, "key name without closing bracket"},
        BadFile{"OtherRoot", "[HKEY_CLASSES_ROOT\\.reg]", 4, "key outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE"},
        BadFile{"ShortRootName", "[HKCU\\Software]", 4, "key outside HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE"},
        BadFile{"DeleteRoot", "[-HKEY_CURRENT_USER]", 4, "a root key cannot be deleted"}),
    [](const auto& info) { return info.param.name; });

TEST_F(RegImportTest, RefusesAFileWithoutHeaderAndAValueBeforeAnyKey) {
  EXPECT_EQ(Import("").badLine, (RegFileFault{1, "the file does not start with a REGEDIT4 or Version 5.00 header"}));
  EXPECT_EQ(Import("[HKEY_CURRENT_USER\\Software\\VornTest]\r\n").badLine->line, 1);
  EXPECT_EQ(Import("REGEDIT4\r\n\"x\"=\"1\"\r\n").badLine, (RegFileFault{2, "value line before any key line"}));
  EXPECT_EQ(Import("REGEDIT4\r\n[HKEY_CURRENT_USER\\x]\r\n\"x\"=\"1\r\nand more").badLine,
            (RegFileFault{3, "text without closing quote"}));
  EXPECT_EQ(Import("REGEDIT4\r\n[HKEY_CURRENT_USER\\x]\r\n\"x\"=hex:01,\\").badLine,
            (RegFileFault{3, "the file ends inside a continued value"}));
  EXPECT_FALSE(store_.ReadValue(kUser, "x", "x"));
}

// A set's .reg file may only write the keys its export came from: everything else, of any
// root, deletions included, is passed over and named once; deletions within it are refused.
TEST_F(RegImportTest, AScopedImportSkipsEveryKeyOutsideItsScopeAndNamesEachOnce) {
  store_.WriteValue(kUser, "Software\\Other", "kept", Sz("1"));
  store_.WriteValue(kUser, kKey + "\\Gone", "kept", Sz("1"));
  store_.WriteValue(kUser, kKey, "old", Sz("1"));
  const std::string run = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const RegImportScope scope{{"HKEY_CURRENT_USER\\Software\\VornTest", "hkey_current_user\\Identities\\{G}"}};
  auto result = ImportRegFile(
      store_,
      AnsiFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\VornTest]\r\n\"a\"=\"1\"\r\n\"old\"=-\r\n"
               "[" + run + "]\r\n\"evil\"=\"C:\\\\x.exe\"\r\n\"more\"=\"line\r\n[HKEY_CURRENT_USER\\Software\\VornTest\\X]\"\r\n"
               "[-HKEY_CURRENT_USER\\Software\\Other]\r\n"
               "[HKEY_CLASSES_ROOT\\.reg]\r\n@=\"x\"\r\n"
               "[HKEY_CURRENT_USER\\Identities\\{g}\\Software\\Deep]\r\n\"b\"=dword:2\r\n"
               "[HKEY_CURRENT_USER\\Identities\\{G}x]\r\n\"c\"=\"1\"\r\n"
               "[" + run + "]\r\n\"again\"=\"1\"\r\n"
               "[-HKEY_CURRENT_USER\\Software\\VornTest\\Gone]\r\n"),
      &scope);
  EXPECT_TRUE(result.Clean());
  EXPECT_EQ(result.skippedKeys, (std::vector<std::string>{run, "HKEY_CURRENT_USER\\Software\\Other",
                                                          "HKEY_CLASSES_ROOT\\.reg", "HKEY_CURRENT_USER\\Identities\\{G}x"}));
  EXPECT_EQ(result.refusedDeletions, (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\VornTest\\old",
                                                               "HKEY_CURRENT_USER\\Software\\VornTest\\Gone"}));
  EXPECT_TRUE(Value("old"));
  EXPECT_TRUE(Value("kept", kKey + "\\Gone"));
  EXPECT_TRUE(Value("a"));
  EXPECT_FALSE(store_.KeyExists(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
  // The text of a skipped value that looks like a key line stays part of that value.
  EXPECT_FALSE(store_.KeyExists(kUser, kKey + "\\X"));
  EXPECT_TRUE(Value("kept", "Software\\Other"));
  EXPECT_EQ(Value("b", "Identities\\{G}\\Software\\Deep"), (RegValue{regtype::kDword, {2, 0, 0, 0}}));
  EXPECT_FALSE(store_.KeyExists(kUser, "Identities\\{G}x"));
  // Without a scope the same file stops at the foreign root, as before.
  SimRegistryStore plain;
  EXPECT_TRUE(ImportRegFile(plain, AnsiFile("REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.reg]\r\n")).badLine);
}

TEST_F(RegImportTest, GoesOnPastAChangeTheRegistryRefuses) {
  store_.DenyWrites(kUser, "Software\\Locked");
  auto result = Import(AnsiFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Locked]\r\n\"x\"=\"1\"\r\n"
                                "[HKEY_CURRENT_USER\\Software\\VornTest]\r\n\"y\"=\"1\"\r\n"));
  EXPECT_FALSE(result.badLine);
  ASSERT_TRUE(result.refusedChange);
  EXPECT_EQ(result.refusedChange->line, 2);
  EXPECT_TRUE(Value("y"));
}

}  // namespace
}  // namespace vorn
