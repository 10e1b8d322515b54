#include "tests/platform/file_system_contract.h"

#include <algorithm>
#include <vector>

#include "platform/folder_path.h"
#include "platform/text.h"

namespace vorn {
namespace {

std::vector<std::string> Names(std::vector<DirEntry> entries) {
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string FileSystemContract::ReadText(const std::string& rest) const {
  auto in = files->OpenRead(Path(rest));
  if (!in) return "<missing>";
  std::string content;
  char buffer[7];
  while (auto n = in->Read(buffer, sizeof buffer)) {
    if (*n == 0) break;
    content.append(buffer, *n);
  }
  return content;
}

TEST_P(FileSystemContract, FilesAndFoldersReportWhatTheyAre) {
  WriteText("a.txt", "12345");
  ASSERT_EQ(files->CreateDirectory(Path("Sub")), FsResult::Ok);
  EXPECT_TRUE(files->Exists(Path("a.txt")));
  EXPECT_FALSE(files->IsDirectory(Path("a.txt")));
  EXPECT_EQ(files->FileSize(Path("a.txt")), 5u);
  EXPECT_FALSE(*files->Attributes(Path("a.txt")) & fileattr::kDirectory);
  EXPECT_TRUE(files->IsDirectory(Path("Sub")));
  EXPECT_TRUE(*files->Attributes(Path("Sub")) & fileattr::kDirectory);
  EXPECT_FALSE(files->FileSize(Path("Sub")).has_value());

  EXPECT_FALSE(files->Exists(Path("none")));
  EXPECT_FALSE(files->Attributes(Path("none")).has_value());
  EXPECT_FALSE(files->FileSize(Path("none")).has_value());
  EXPECT_FALSE(files->ModifiedTime(Path("none")).has_value());
  EXPECT_FALSE(files->SetAttributes(Path("none"), fileattr::kNormal));

  // Names resolve without regard to case.
  EXPECT_TRUE(files->Exists(Path("A.TXT")));
  EXPECT_EQ(ReadText("A.Txt"), "12345");
}

TEST_P(FileSystemContract, ModifiedTimeRoundTripsInUnixSecondsAndClampsWhatItCannotHold) {
  WriteText("t.txt", "x");
  for (int64_t time : {int64_t{1000000000}, int64_t{2200000000}}) {  // 2001-09-09 and 2039-09-18 UTC
    ASSERT_TRUE(files->SetModifiedTime(Path("t.txt"), time));
    EXPECT_EQ(files->ModifiedTime(Path("t.txt")), time);
    auto listed = files->List(base, "t.txt");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].modified, time);
  }
  // Times no file system holds end at its earliest and latest, in order.
  files->SetModifiedTime(Path("t.txt"), INT64_MIN);
  const auto earliest = files->ModifiedTime(Path("t.txt"));
  files->SetModifiedTime(Path("t.txt"), INT64_MAX);
  const auto latest = files->ModifiedTime(Path("t.txt"));
  ASSERT_TRUE(earliest && latest);
  EXPECT_LE(*earliest, 0);
  EXPECT_GE(*latest, 2200000000);
}

TEST_P(FileSystemContract, FoldersAreCreatedOneLevelAtATimeAndRemovedOnlyWhenEmpty) {
  EXPECT_EQ(files->CreateDirectory(Path("x\\y")), FsResult::NotFound);
  EXPECT_EQ(files->CreateDirectory(Path("x")), FsResult::Ok);
  EXPECT_EQ(files->CreateDirectory(Path("x")), FsResult::AlreadyExists);
  EXPECT_EQ(files->CreateDirectory(Path("x\\y")), FsResult::Ok);
  EXPECT_NE(files->RemoveDirectory(Path("x")), FsResult::Ok);
  EXPECT_TRUE(files->IsDirectory(Path("x\\y")));
  EXPECT_EQ(files->RemoveDirectory(Path("x\\y")), FsResult::Ok);
  EXPECT_EQ(files->RemoveDirectory(Path("x")), FsResult::Ok);
  EXPECT_EQ(files->RemoveDirectory(Path("x")), FsResult::NotFound);
}

TEST_P(FileSystemContract, ReadOnlyFilesRefuseDeletionAndOverwriteButMayBeRenamed) {
  WriteText("ro.dbx", "keep");
  WriteText("other.dbx", "other");
  ASSERT_TRUE(files->SetAttributes(Path("ro.dbx"), fileattr::kReadOnly));
  EXPECT_TRUE(*files->Attributes(Path("ro.dbx")) & fileattr::kReadOnly);
  EXPECT_EQ(files->DeleteFile(Path("ro.dbx")), FsResult::AccessDenied);
  EXPECT_EQ(files->OpenWrite(Path("ro.dbx")), nullptr);
  EXPECT_EQ(files->CopyFile(Path("other.dbx"), Path("ro.dbx"), true), FsResult::AccessDenied);
  EXPECT_EQ(ReadText("ro.dbx"), "keep");

  ASSERT_EQ(files->MoveFile(Path("ro.dbx"), Path("renamed.dbx")), FsResult::Ok);
  EXPECT_TRUE(*files->Attributes(Path("renamed.dbx")) & fileattr::kReadOnly);
  ASSERT_TRUE(files->SetAttributes(Path("renamed.dbx"), fileattr::kNormal));
  EXPECT_FALSE(*files->Attributes(Path("renamed.dbx")) & fileattr::kReadOnly);
  EXPECT_EQ(files->DeleteFile(Path("renamed.dbx")), FsResult::Ok);
}

TEST_P(FileSystemContract, HiddenAndSystemFilesAreNotReplacedButMayBeDeleted) {
  for (uint32_t attribute : {fileattr::kHidden, fileattr::kSystem}) {
    WriteText("marked.eml", "old");
    ASSERT_TRUE(files->SetAttributes(Path("marked.eml"), attribute));
    EXPECT_EQ(files->OpenWrite(Path("marked.eml")), nullptr) << attribute;
    EXPECT_EQ(ReadText("marked.eml"), "old");
    EXPECT_EQ(files->DeleteFile(Path("marked.eml")), FsResult::Ok) << attribute;
    EXPECT_FALSE(files->Exists(Path("marked.eml")));
  }
}

TEST_P(FileSystemContract, CopyOverwritesOnlyWhenAsked) {
  WriteText("src.txt", "new");
  WriteText("dst.txt", "old");
  EXPECT_EQ(files->CopyFile(Path("src.txt"), Path("dst.txt"), false), FsResult::AlreadyExists);
  EXPECT_EQ(ReadText("dst.txt"), "old");
  EXPECT_EQ(files->CopyFile(Path("src.txt"), Path("dst.txt"), true), FsResult::Ok);
  EXPECT_EQ(ReadText("dst.txt"), "new");
  EXPECT_EQ(files->CopyFile(Path("src.txt"), Path("fresh.txt"), false), FsResult::Ok);
  EXPECT_EQ(ReadText("fresh.txt"), "new");
  EXPECT_EQ(ReadText("src.txt"), "new");

  EXPECT_EQ(files->CopyFile(Path("none.txt"), Path("x.txt"), true), FsResult::NotFound);
  EXPECT_EQ(files->CopyFile(Path("src.txt"), Path("nofolder\\x.txt"), true), FsResult::NotFound);
}

TEST_P(FileSystemContract, MoveRenamesFilesAndFoldersButNeverReplaces) {
  WriteText("a.txt", "a");
  WriteText("b.txt", "b");
  ASSERT_EQ(files->CreateDirectory(Path("Dir")), FsResult::Ok);

  EXPECT_EQ(files->MoveFile(Path("a.txt"), Path("b.txt")), FsResult::AlreadyExists);
  EXPECT_EQ(ReadText("a.txt"), "a");
  EXPECT_EQ(ReadText("b.txt"), "b");

  EXPECT_EQ(files->MoveFile(Path("a.txt"), Path("Dir\\moved.txt")), FsResult::Ok);
  EXPECT_FALSE(files->Exists(Path("a.txt")));
  EXPECT_EQ(ReadText("Dir\\moved.txt"), "a");

  EXPECT_EQ(files->MoveFile(Path("Dir"), Path("Renamed")), FsResult::Ok);
  EXPECT_EQ(ReadText("Renamed\\moved.txt"), "a");
  EXPECT_EQ(files->MoveFile(Path("none"), Path("x")), FsResult::NotFound);
  EXPECT_EQ(files->MoveFile(Path("b.txt"), Path("nofolder\\b.txt")), FsResult::NotFound);
}

TEST_P(FileSystemContract, DeleteRemovesAFileOnceAndNeverAFolderOrALinkToOne) {
  WriteText("d.txt", "d");
  EXPECT_EQ(files->DeleteFile(Path("d.txt")), FsResult::Ok);
  EXPECT_FALSE(files->Exists(Path("d.txt")));
  EXPECT_EQ(files->DeleteFile(Path("d.txt")), FsResult::NotFound);

  ASSERT_EQ(files->CreateDirectory(Path("Target")), FsResult::Ok);
  WriteText("Target\\t.txt", "t");
  ASSERT_TRUE(GetParam().files.makeLink(Path("Linked"), Path("Target")));
  for (const char* folder : {"Target", "Linked"}) {
    EXPECT_NE(files->DeleteFile(Path(folder)), FsResult::Ok) << folder;
    EXPECT_TRUE(files->IsDirectory(Path(folder))) << folder;
  }
  EXPECT_EQ(ReadText("Target\\t.txt"), "t");
}

TEST_P(FileSystemContract, ListingMatchesWildcardsWithoutRegardToCase) {
  WriteText("Inbox.dbx", "12");
  WriteText("SENT.DBX", "");
  WriteText("notes.txt", "");
  WriteText("README", "");
  ASSERT_EQ(files->CreateDirectory(Path("Sub")), FsResult::Ok);

  EXPECT_EQ(Names(files->List(base, "*.dbx")), (std::vector<std::string>{"Inbox.dbx", "SENT.DBX"}));
  EXPECT_EQ(Names(files->List(base, "*.*")),
            (std::vector<std::string>{"Inbox.dbx", "README", "SENT.DBX", "Sub", "notes.txt"}));
  EXPECT_EQ(Names(files->List(base, "inbox.DBX")), std::vector<std::string>{"Inbox.dbx"});
  EXPECT_TRUE(files->List(base, "*.eml").empty());
  EXPECT_TRUE(files->List(Path("none"), "*").empty());

  for (const auto& entry : files->List(base, "*")) {
    if (entry.name == "Sub") {
      EXPECT_TRUE(entry.isDirectory);
      EXPECT_TRUE(entry.attributes & fileattr::kDirectory);
    } else {
      EXPECT_FALSE(entry.isDirectory) << entry.name;
    }
    if (entry.name == "Inbox.dbx") {
      EXPECT_EQ(entry.size, 2u);
    }
  }
}

TEST_P(FileSystemContract, StreamsLargeFilesInPieces) {
  std::string content;
  for (int i = 0; content.size() < 300000; ++i) content += std::to_string(i * 7919) + ",";
  {
    auto out = files->OpenWrite(Path("big.bin"));
    ASSERT_NE(out, nullptr);
    for (size_t at = 0; at < content.size(); at += 65537)
      ASSERT_TRUE(out->Write(content.data() + at, std::min<size_t>(65537, content.size() - at)));
    ASSERT_TRUE(out->Close());
  }
  auto in = files->OpenRead(Path("big.bin"));
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->Size(), content.size());
  std::string read;
  std::vector<char> buffer(4096);
  for (;;) {
    auto n = in->Read(buffer.data(), buffer.size());
    ASSERT_TRUE(n.has_value());
    if (*n == 0) break;
    read.append(buffer.data(), *n);
  }
  EXPECT_EQ(read, content);

  WriteText("big.bin", "short");  // opening for writing truncates
  EXPECT_EQ(files->FileSize(Path("big.bin")), 5u);
  EXPECT_EQ(files->OpenRead(Path("none.bin")), nullptr);
  EXPECT_EQ(files->OpenWrite(Path("nofolder\\x.bin")), nullptr);
}

TEST_P(FileSystemContract, ReadsSeekBackAndForth) {
  WriteText("seek.bin", "0123456789");
  auto in = files->OpenRead(Path("seek.bin"));
  ASSERT_NE(in, nullptr);
  char buffer[4] = {};
  ASSERT_TRUE(in->Seek(6));
  EXPECT_EQ(in->Read(buffer, 3), 3u);
  EXPECT_EQ(std::string(buffer, 3), "678");
  ASSERT_TRUE(in->Seek(1));
  EXPECT_EQ(in->Read(buffer, 2), 2u);
  EXPECT_EQ(std::string(buffer, 2), "12");
  ASSERT_TRUE(in->Seek(8));  // after a read that hit the end, too
  EXPECT_EQ(in->Read(buffer, 4), 2u);
  ASSERT_TRUE(in->Seek(0));
  EXPECT_EQ(in->Read(buffer, 1), 1u);
  EXPECT_EQ(buffer[0], '0');
}

TEST_P(FileSystemContract, JapaneseNamesRoundTrip) {
  const std::string folder = "日本語フォルダ";
  const std::string name = "受信トレイ ﾃﾞｽｸﾄｯﾌﾟ.dbx";
  ASSERT_EQ(files->CreateDirectory(Path(folder)), FsResult::Ok);
  WriteText(folder + "\\" + name, "メール");
  EXPECT_EQ(Names(files->List(Path(folder), "*.dbx")), std::vector<std::string>{name});
  EXPECT_EQ(files->CopyFile(Path(folder + "\\" + name), Path("コピー.dbx"), false), FsResult::Ok);
  EXPECT_EQ(files->MoveFile(Path("コピー.dbx"), Path("移動.dbx")), FsResult::Ok);
  EXPECT_EQ(ReadText("移動.dbx"), "メール");
  EXPECT_EQ(Names(files->List(base, "*")), (std::vector<std::string>{"日本語フォルダ", "移動.dbx"}));
}

// The helper over the service, on both services.
TEST_P(FileSystemContract, CreateFolderPathCreatesTheChainAndTheLastFolderOnlyWithATrailingBackslash) {
  EXPECT_TRUE(CreateFolderPath(*files, Path("a\\b\\c")));
  EXPECT_TRUE(files->IsDirectory(Path("a\\b")));
  EXPECT_FALSE(files->Exists(Path("a\\b\\c")));
  EXPECT_TRUE(CreateFolderPath(*files, Path("a\\b\\c\\")));
  EXPECT_TRUE(files->IsDirectory(Path("a\\b\\c")));
  WriteText("file", "x");
  EXPECT_FALSE(CreateFolderPath(*files, Path("file\\d\\")));
}

TEST_P(FileSystemContract, NewFilesAreCreatedOnlyWhereNothingIsAndNeverThroughALink) {
  WriteText("taken.txt", "kept");
  FsResult result = FsResult::Ok;
  EXPECT_EQ(files->CreateNewFile(Path("TAKEN.txt"), result), nullptr);
  EXPECT_EQ(result, FsResult::AlreadyExists);
  EXPECT_EQ(ReadText("taken.txt"), "kept");
  EXPECT_EQ(files->CreateNewFile(Path("nofolder\\x.txt"), result), nullptr);
  EXPECT_EQ(result, FsResult::NotFound);

  auto out = files->CreateNewFile(Path("new.txt"), result);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(result, FsResult::Ok);
  ASSERT_TRUE(out->Write("fresh", 5));
  ASSERT_TRUE(out->Close());
  EXPECT_EQ(ReadText("new.txt"), "fresh");

  // A link to a file, and the same link once its target is gone.
  WriteText("target.txt", "kept");
  ASSERT_TRUE(GetParam().files.makeLink(Path("link.txt"), Path("target.txt")));
  EXPECT_EQ(files->CreateNewFile(Path("link.txt"), result), nullptr);
  EXPECT_EQ(result, FsResult::AlreadyExists);
  EXPECT_EQ(ReadText("target.txt"), "kept");
  ASSERT_EQ(files->DeleteFile(Path("target.txt")), FsResult::Ok);
  EXPECT_EQ(files->CreateNewFile(Path("link.txt"), result), nullptr);
  EXPECT_EQ(result, FsResult::AlreadyExists);
  EXPECT_FALSE(files->Exists(Path("target.txt")));
  WriteText("target.txt", "back");
  GetParam().files.removeLink(Path("link.txt"));
}

TEST_P(FileSystemContract, LinkedFoldersReportThemselvesAsLinks) {
  ASSERT_EQ(files->CreateDirectory(Path("Target")), FsResult::Ok);
  WriteText("Target\\t.txt", "t");
  ASSERT_TRUE(GetParam().files.makeLink(Path("Linked"), Path("Target")));
  const auto linked = files->Attributes(Path("Linked"));
  ASSERT_TRUE(linked.has_value());
  EXPECT_TRUE(*linked & fileattr::kReparsePoint);
  EXPECT_TRUE(*linked & fileattr::kDirectory);
  EXPECT_FALSE(*files->Attributes(Path("Target")) & fileattr::kReparsePoint);
  EXPECT_FALSE(*files->Attributes(Path("Target\\t.txt")) & fileattr::kReparsePoint);
  for (const auto& entry : files->List(base, "*"))
    EXPECT_EQ((entry.attributes & fileattr::kReparsePoint) != 0, entry.name == "Linked") << entry.name;
  EXPECT_TRUE(files->IsDirectory(Path("Linked")));  // the link itself is left to the caller to judge
}


// The link check behind every folder the program writes in or deletes, with a link at each level.
TEST_P(FileSystemContract, FoldersToWriteInOrDeleteAreRealFoldersAllAlongTheirPath) {
  using Folders = std::vector<std::string>;
  EXPECT_EQ(FoldersAlong("C:\\a\\b\\", ""), (Folders{"C:\\a", "C:\\a\\b"}));
  EXPECT_EQ(FoldersAlong("C:\\a\\b\\c", "c:\\A\\"), (Folders{"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}));
  EXPECT_EQ(FoldersAlong("C:\\a\\bc", "C:\\a\\b"), (Folders{"C:\\a", "C:\\a\\bc"}));
  EXPECT_EQ(FoldersAlong("\\\\server\\share\\x", ""), (Folders{"\\\\server\\share\\x"}));

  ASSERT_TRUE(CreateFolderPath(*files, Path("Target\\")));
  WriteText("Target\\t.txt", "t");
  ASSERT_TRUE(CreateFolderPath(*files, Path("Real\\Holder\\")));
  ASSERT_TRUE(GetParam().files.makeLink(Path("Link"), Path("Target")));
  ASSERT_TRUE(GetParam().files.makeLink(Path("Real\\Holder\\Inner"), Path("Target")));
  const struct {
    std::string folder, from, link;
  } cases[] = {
      {"Real\\New\\", base, ""},
      {"Link", base, "Link"},
      {"Link\\New\\Deeper", base, "Link"},
      {"LINK\\New", Path("link"), "Link"},
      {"Real\\Holder\\Inner\\New", base, "Real\\Holder\\Inner"},
      {"Link\\New", Path("Link\\New"), ""},  // a link above `from` is the caller's
  };
  for (const auto& c : cases) {
    const std::string link = c.link.empty() ? "" : Path(c.link);
    EXPECT_TRUE(EqualsIgnoringAsciiCase(files->FirstLinkAlong(Path(c.folder), c.from), link)) << c.folder;
    const RealFolder made = CreateRealFolderPath(*files, Path(c.folder), c.from);
    EXPECT_TRUE(EqualsIgnoringAsciiCase(made.link, link)) << c.folder;
    EXPECT_EQ(made.ready, link.empty()) << c.folder;
    EXPECT_EQ(files->IsDirectory(Path("Target\\New")), c.from == Path("Link\\New")) << c.folder;
  }
  ASSERT_EQ(files->RemoveDirectory(Path("Target\\New")), FsResult::Ok);

  // A link handed to the tree's deletion is refused; one inside goes as a link where the system
  // can remove a link (Wine cannot remove a Unix link to a folder: the tree then stays).
  EXPECT_FALSE(DeleteTree(*files, Path("Link")));
  EXPECT_TRUE(files->IsDirectory(Path("Link")));
  const bool deleted = DeleteTree(*files, Path("Real"));
  EXPECT_EQ(deleted, !files->Exists(Path("Real")));
  EXPECT_FALSE(files->Exists(Path("Real\\New")));
  EXPECT_EQ(ReadText("Target\\t.txt"), "t");
}

}  // namespace vorn
