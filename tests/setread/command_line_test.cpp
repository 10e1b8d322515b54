// vorn-cli set info and set export on a set made by our own backup on the simulated machine and
// on sets assembled by hand, checked against the window's extraction (vorn-cli dbx extract), Python's
// mailbox module and undbx.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "platform/sim/sim_archiver.h"
#include "tests/backup/backup_machine.h"
#include "tests/dbx/dbx_test_support.h"
#include "tests/setread/set_sample.h"
#include "ui/form1.h"

namespace vorn::test {
namespace {

namespace fs = std::filesystem;

struct Ran {
  int status;
  std::string out, err;
};

// Appended piece by piece: GCC 12's -Wrestrict misreads "literal" + std::string&& when optimizing.
std::string Quote(const fs::path& path) {
  std::string quoted = "'";
  quoted += path.string();
  return quoted += "'";
}

Ran Shell(const std::string& command, const fs::path& scratch) {
  const fs::path out = scratch / "stdout", err = scratch / "stderr";
  const int status = std::system((command + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadHostFile(out), ReadHostFile(err)};
}

Ran Cli(const std::string& arguments, const fs::path& scratch) { return Shell(std::string(VORN_CLI) + " " + arguments, scratch); }

std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadHostFile(entry.path());
  return files;
}

// Every folder of the store: the export holds what the window's extraction writes, Python's
// mailbox reads the same messages from the mbox files, and undbx finds the same messages.
void CheckExports(const fs::path& store, const std::vector<SampleFolder>& folders, const fs::path& set,
                  const fs::path& scratch) {
  const fs::path messages = scratch / "messages", mboxes = scratch / "mboxes";
  Ran run = Cli("set export " + Quote(set) + " " + Quote(messages), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("folders exported to"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find('\r'), std::string::npos) << "the progress line";
  run = Cli("set export -q --mbox " + Quote(set) + " " + Quote(mboxes), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "") << "quiet";
  std::string pairs;
  for (const auto& folder : folders) {
    if (folder.fileName == "Folders.dbx" || folder.description.messages.empty()) continue;
    SCOPED_TRACE(folder.fileName);
    const std::string name = folder.fileName.substr(0, folder.fileName.size() - 4);
    const fs::path reference = scratch / "reference" / name;
    ASSERT_EQ(Cli("dbx extract " + Quote(store / folder.fileName) + " " + Quote(reference), scratch).status, 0);
    EXPECT_EQ(Files(messages / name), Files(reference));
    pairs += " " + Quote(mboxes / (name + ".mbox")) + " " + Quote(messages / name);

    const fs::path undbx = scratch / "undbx" / name;
    fs::create_directories(undbx);
    fs::copy_file(store / folder.fileName, undbx / "folder.dbx");
    ASSERT_EQ(Shell("cd " + Quote(undbx) + " && undbx -i -v 0 folder.dbx out", scratch).status, 0) << "undbx is missing?";
    std::multiset<std::string> byUndbx, byExport;
    for (const auto& entry : fs::recursive_directory_iterator(undbx / "out"))
      if (entry.is_regular_file()) byUndbx.insert(ExtractedText(ReadHostFile(entry.path())));
    for (const auto& [file, text] : Files(messages / name)) byExport.insert(text);
    EXPECT_EQ(byUndbx, byExport);
  }
  run = Shell("python3 " + Quote(fs::path(VORN_SOURCE_DIR) / "tests/setread/mbox_check.py") + pairs, scratch);
  EXPECT_EQ(run.status, 0) << run.err;
}

// Each folder of the store on a line of its own with its header count.
void CheckInfo(const std::vector<SampleFolder>& folders, const fs::path& set, const std::string& source,
               const fs::path& scratch) {
  const Ran run = Cli("set info " + Quote(set), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Mail folders in " + source + " (" + std::to_string(folders.size() - 1) + "):"),
            std::string::npos)
      << run.out;
  int64_t total = 0;
  for (const auto& folder : folders) {
    const std::string count = std::to_string(folder.description.messages.size());
    const size_t line = run.out.find("  " + folder.fileName + "\n");
    if (folder.fileName == "Folders.dbx") {
      EXPECT_EQ(line, std::string::npos);
      continue;
    }
    ASSERT_NE(line, std::string::npos) << folder.fileName << "\n" << run.out;
    const std::string row = run.out.substr(run.out.rfind('\n', line) + 1, line - run.out.rfind('\n', line) - 1);
    EXPECT_EQ(row.substr(0, row.find_first_not_of(' ', 2) + count.size()), std::string(10 - count.size(), ' ') + count)
        << row;
    total += static_cast<int64_t>(folder.description.messages.size());
  }
  EXPECT_NE(run.out.find(std::to_string(folders.size() - 1) + " folders, " + std::to_string(total) + " messages"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Reg\\Account.reg"), std::string::npos);
}

TEST(SetCommands, ReadASetOfOurOwnBackupOnTheSimulatedMachine) {
  BackupMachine machine;
  SimArchiver archiver(machine.m.files);
  machine.m.archiver.onRun = [&](WindowHandle owner, const std::string& line, std::string* out, uint32_t size) {
    return archiver.Unlha(owner, line, out, size);
  };
  const std::vector<SampleFolder> folders = SampleStore(false);
  const fs::path store = machine.m.files.HostPath(machine.StoreRoot(kTaroGuid));
  for (const auto& entry : fs::directory_iterator(store)) fs::remove(entry.path());
  WriteSampleStore(store, folders);
  const fs::path scratch = machine.m.hostRoot / "scratch";
  for (bool compressed : {true, false}) {
    SCOPED_TRACE(compressed ? "Mail.lzh" : "Mail");
    machine.StartAndPick(0);
    machine.m.app->form1().MnLHA.checked = compressed;
    machine.PressOk();
    const fs::path set = machine.m.hostRoot / (compressed ? "compressed" : "plain");
    fs::rename(machine.m.files.HostPath(machine.UserFolder()), set);
    ASSERT_EQ(fs::exists(set / "Mail.lzh"), compressed);
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    CheckInfo(folders, set, compressed ? "Mail.lzh" : "Mail", scratch);
    CheckExports(store, folders, set, scratch);
  }
}

TEST(SetCommands, ReadSetsAssembledByHandAndTellWhatIsDamagedOrNoSet) {
  TempFolder temp;
  const std::vector<SampleFolder> folders = SampleStore(true);
  const fs::path store = temp.path() / "store", scratch = temp.path() / "scratch";
  WriteSampleStore(store, folders);
  for (bool compressed : {true, false}) {
    const fs::path set = temp.path() / (compressed ? "packed" : "plain") / "太郎";
    WriteHandMadeSet(set, store, compressed);
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    CheckInfo(folders, set, compressed ? "Mail.lzh" : "Mail", scratch);
    const Ran info = Cli("set info " + Quote(set), scratch);
    EXPECT_NE(info.out.find("ユーザー名 ：太郎\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("StoreRoot [保存先]：C:\\Documents and Settings\\太郎\\Outlook Express\n"), std::string::npos);
    const Ran exported = Cli("set export " + Quote(set) + " " + Quote(scratch / "out"), scratch);
    EXPECT_EQ(exported.status, 0) << exported.err;
    for (const char* name : {"a_b_", "a_b_ (2)", "CON_", "dots__", "受信トレイ"})
      EXPECT_TRUE(fs::is_directory(scratch / "out" / name)) << name;
  }

  // One member broken: every other folder is exported, the broken one named, the status says so.
  const fs::path set = temp.path() / "packed" / "太郎";
  std::string archive = ReadHostFile(set / "Mail.lzh");
  const size_t work = archive.find("\x8e\x64\x8e\x96.dbx");  // 仕事.dbx
  ASSERT_NE(work, std::string::npos);
  archive[work + 200] ^= 0x33;
  WriteHostFile(set / "Mail.lzh", std::vector<unsigned char>(archive.begin(), archive.end()));
  for (const char* form : {"", " --mbox"}) {
    fs::remove_all(scratch / "damaged");
    const Ran run = Cli("set export" + std::string(form) + " " + Quote(set) + " " + Quote(scratch / "damaged"), scratch);
    EXPECT_EQ(run.status, 1);
    const size_t named = run.err.find("\nvorn-cli set: Mail.lzh: 仕事.dbx: ");
    EXPECT_NE(named, std::string::npos) << run.err;
    EXPECT_NE(run.err.find("; skipped\n", named), std::string::npos) << run.err;
    EXPECT_EQ(Files(scratch / "damaged").count("仕事.mbox"), 0u);
    EXPECT_FALSE(fs::exists(scratch / "damaged" / "仕事"));
    EXPECT_TRUE(fs::exists(scratch / "damaged" / (*form ? "受信トレイ.mbox" : "受信トレイ")));
  }
  const Ran info = Cli("set info " + Quote(set), scratch);
  EXPECT_EQ(info.status, 1);
  EXPECT_EQ(info.err.rfind("vorn-cli set: Mail.lzh: 仕事.dbx: ", 0), 0u) << info.err;
  EXPECT_NE(info.out.find("damaged        仕事.dbx"), std::string::npos) << info.out;

  // Not a set: the restore's own message.
  for (const std::string& command : {"set info " + Quote(store), "set export " + Quote(store) + " " + Quote(scratch / "x")}) {
    const Ran run = Cli(command, scratch);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "Vorn: 指定先にバックアップファイルが見つかりません。\n"
              "リストアするユーザー名のフォルダを選択してください。\n"
              "             ~~~~~~~~~~~~~~~~~~~\n");
  }
  EXPECT_FALSE(fs::exists(scratch / "x"));

  // A link where the export writes: as the output folder (to a folder or to nowhere) it is refused
  // and named; under a mail folder's name it is passed by. Nothing is written through it.
  const fs::path plain = temp.path() / "plain" / "太郎", output = scratch / "out", elsewhere = temp.path() / "elsewhere";
  const struct { const char* level; fs::path link, target; bool refused; } links[] = {
      {"the output folder", output, elsewhere, true}, {"the output folder, to nowhere", output, temp.path() / "nowhere", true},
      {"a mail folder", output / "受信トレイ", elsewhere, false}};
  std::string named = "C:" + output.string();  // as vorn-cli names a host path
  std::replace(named.begin(), named.end(), '/', '\\');
  for (const auto& link : links) {
    SCOPED_TRACE(link.level);
    fs::remove_all(output);
    fs::create_directories(link.link.parent_path());
    fs::create_directories(elsewhere);
    fs::create_directory_symlink(link.target, link.link);
    const Ran run = Cli("set export -q " + Quote(plain) + " " + Quote(output), scratch);
    EXPECT_EQ(run.status, link.refused ? 1 : 0);
    EXPECT_EQ(run.err, link.refused ? "vorn-cli set: cannot create " + output.string() + ": " + named + " is a link\n" : "");
    EXPECT_TRUE(fs::is_empty(elsewhere));
    EXPECT_FALSE(fs::exists(temp.path() / "nowhere"));
  }
  EXPECT_TRUE(fs::is_directory(output / "受信トレイ (2)"));
  for (const char* usage : {"set", "set info", "set export " , "set export a", "set export a b --zip", "set list a"})
    EXPECT_EQ(Cli(usage, scratch).status, 2) << usage;
}

}  // namespace
}  // namespace vorn::test
