// Backs up a generated mail store (500 MB unless a size in MB is given) on the simulated
// platform over a host folder, plain and compressed, and prints each run's time beside the
// plain copy of the same files and beside the archiver's own packing of them.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include <unistd.h>

#include "backup/mail_archive.h"
#include "cli/unattended_ui.h"
#include "platform/codepage.h"
#include "platform/sim/sim_archiver.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_environment.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry_store.h"
#include "platform/sim/sim_shell.h"
#include "regedit/reg_file_editor.h"
#include "ui/program.h"
#include "ui/startup.h"

namespace {

using namespace vorn;
namespace fs = std::filesystem;

const std::string kGuid = "{AAAAAAAA-1111-2222-3333-444444444444}";
const std::string kStore = "C:\\Store";
constexpr int kStoreFiles = 10;
constexpr int kRounds = 3;

RegValue Text(const std::string& utf8) {
  std::string ansi = Utf8ToCp932(utf8);
  RegValue value{regtype::kSz, {ansi.begin(), ansi.end()}};
  value.data.push_back(0);
  return value;
}

// Mail-like text: headers and bodies from a small vocabulary, so it packs as mail does.
void WriteStoreFile(const fs::path& path, uint64_t bytes, unsigned seed) {
  static const char* const kWords[] = {"Subject: ", "Received: from mail.example.jp ", "本日の会議について ",
                                       "よろしくお願いします。", "\r\n", "Content-Type: text/plain; charset=ISO-2022-JP",
                                       "From: taro@example.jp ", "Message-ID: <", "@example.jp>\r\n", "今月の予定 "};
  std::mt19937 random(seed);
  std::ofstream out(path, std::ios::binary);
  std::string chunk;
  uint64_t written = 0;
  while (written < bytes) {
    chunk.clear();
    while (chunk.size() < (1u << 20)) {
      chunk += kWords[random() % std::size(kWords)];
      chunk += std::to_string(random() % 100000);
    }
    size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), bytes - written));
    out.write(chunk.data(), static_cast<std::streamsize>(n));
    written += n;
  }
}

// Starts from written-back files, so one run's writes do not slow the next one down.
double Seconds(const std::function<void()>& work) {
  ::sync();
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Machine {
  explicit Machine(const fs::path& root)
      : files(root), environment(files), shell(files), editor(registry, files, [] { return RegDialect::Version5; }),
        archiver(files), ui(messages),
        platform{registry, environment, files, processes, shell, ui, clock, editor, archiver} {
    environment.SetUpWindowsXp();
    const std::string oe = "C:\\Program Files\\Outlook Express\\msimn.exe";
    fs::create_directories(files.HostPath("C:\\Program Files\\Outlook Express"));
    std::ofstream(files.HostPath(oe)) << "exe";
    environment.executableVersions[oe] = {6, 0, 2900, 5512};
    std::ofstream(files.HostPath("C:\\WINDOWS\\system32\\unlha32.dll")) << "dll";
    registry.WriteValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msimn.exe", "",
                        Text(oe));
    registry.WriteValue(RegRoot::CurrentUser, "Identities\\" + kGuid, "Username", Text("taro"));
    registry.WriteValue(RegRoot::CurrentUser, "Identities\\" + kGuid + "\\Software\\Microsoft\\Outlook Express\\5.0",
                        "Store Root", Text(kStore));
    registry.WriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "", Text("C:\\taro.wab"));
    std::ofstream(files.HostPath("C:\\taro.wab")) << "wab";
    for (const char* folder : {"TEMP", "USERPROFILE"}) fs::create_directories(files.HostPath(*environment.Variable(folder)));
    fs::create_directories(files.HostPath(environment.SpecialFolder("Desktop")));
    fs::create_directories(files.HostPath(environment.SpecialFolder("Favorites")));
  }
  SimRegistryStore registry;
  SimFileSystem files;
  SimEnvironment environment;
  SimProcesses processes;
  SimShell shell;
  RegFileEditor editor;
  SimArchiver archiver;
  std::ostringstream messages;
  cli::UnattendedUi ui;
  SimClock clock;
  Platform platform;
  cli::NoFormHost host;
};

// A backup into an empty destination, as the baselines write into fresh files.
double TimeBackup(Machine& machine, bool compress) {
  fs::remove_all(machine.files.HostPath(machine.environment.SpecialFolder("Desktop") + "\\Vorn_bkup"));
  Program program(machine.platform, machine.host);
  Main(program, false);
  Form1& form = program.form1();
  form.MnLHA.checked = compress;
  form.Option1_Click(Form1::kBackupMode);
  form.List1_Click(0);
  return Seconds([&] { form.Command1_Click(Form1::kOk); });
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 500;
  const fs::path root = fs::temp_directory_path() / "vorn-backup-bench";
  fs::remove_all(root);
  Machine machine(root);
  fs::create_directories(machine.files.HostPath(kStore));
  for (int i = 0; i < kStoreFiles; ++i)
    WriteStoreFile(machine.files.HostPath(kStore + "\\Folder" + std::to_string(i) + ".dbx"),
                   megabytes * 1024 * 1024 / kStoreFiles, static_cast<unsigned>(i));
  std::printf("store: %llu MB in %d .dbx files\n", static_cast<unsigned long long>(megabytes), kStoreFiles);

  // Each figure is the best of kRounds runs, the two kinds taking turns (the machine may be busy).
  double copy = 1e9, plain = 1e9, pack = 1e9, compressed = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    copy = std::min(copy, Seconds([&] {
      machine.files.CreateDirectory("C:\\Copy");
      for (const auto& entry : machine.files.List(kStore, "*.dbx"))
        machine.files.CopyFile(kStore + "\\" + entry.name, "C:\\Copy\\" + entry.name, true);
    }));
    plain = std::min(plain, TimeBackup(machine, false));
  }
  std::printf("plain:      backup %.2f s, plain copy %.2f s, ratio %.2f (target <= 1.30)\n", plain, copy, plain / copy);

  for (int round = 0; round < kRounds; ++round) {
    machine.files.DeleteFile("C:\\Packed.lzh");
    pack = std::min(pack, Seconds([&] {
      machine.archiver.Unlha(0, MailArchiveCommandLine("C:\\Packed.lzh", "C:\\Program Files\\Vorn", kStore),
                             nullptr, 0);
    }));
    compressed = std::min(compressed, TimeBackup(machine, true));
  }
  std::printf("compressed: backup %.2f s, archiver %.2f s, ratio %.2f (target <= 1.30)\n", compressed, pack,
              compressed / pack);
  fs::remove_all(root);
  return 0;
}
