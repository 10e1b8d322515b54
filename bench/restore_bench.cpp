// Restores a generated mail store (500 MB unless a size in MB is given) from a compressed and
// from a plain set on the simulated platform over a host folder, the staging of the new store
// beside the Store Root included, and prints each run's time beside our own unpacking of the
// archive and beside a plain copy of the same files.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF
//   cmake --build build/bench --target bench_restore && build/bench/bench/bench_restore [MB]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include <unistd.h>

#include "backup/mail_archive.h"
#include "platform/codepage.h"
#include "platform/sim/sim_archiver.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_environment.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_processes.h"
#include "platform/sim/sim_registry_store.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_ui_services.h"
#include "regedit/reg_file_editor.h"
#include "restore/mail_store_restore.h"
#include "restore/restore_run.h"

namespace {

using namespace vorn;
namespace fs = std::filesystem;

const std::string kGuid = "{BBBBBBBB-1111-2222-3333-444444444444}";
const std::string kSource = "C:\\Source";
const std::string kStore = "C:\\Identities\\hanako\\Outlook Express";
const std::string kPlainSet = "C:\\Sets\\plain";
const std::string kCompressedSet = "C:\\Sets\\compressed";
constexpr int kStoreFiles = 10;
constexpr int kRounds = 3;
constexpr uint64_t kOldStoreBytes = 50ull << 20;

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

double Seconds(const std::function<void()>& work) {
  ::sync();
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Machine {
  explicit Machine(const fs::path& root)
      : files(root), environment(files), shell(files), editor(registry, files, [] { return RegDialect::Version5; }),
        archiver(files), platform{registry, environment, files, processes, shell, ui, clock, editor, archiver},
        app(platform) {
    environment.SetUpWindowsXp();
    app.archiverAvailable = true;
    EnvironmentRecord& env = app.env;
    env.osFamily = kFamilyNt;
    env.osKind = "WindowsXP";
    env.oeVersion = "6.0.2900.5512";
    env.userProfileFolder = *environment.Variable("USERPROFILE");
    env.selectedIdentityGuid = kGuid;
    env.storeRootFolder = kStore;
  }
  SimRegistryStore registry;
  SimFileSystem files;
  SimEnvironment environment;
  SimProcesses processes;
  SimShell shell;
  RegFileEditor editor;
  SimArchiver archiver;
  SimUiServices ui;
  SimClock clock;
  Platform platform;
  App app;
};

// A set's files besides its mail: the main user's accounts and the information file.
void WriteSetSettings(Machine& machine, const std::string& set) {
  fs::create_directories(machine.files.HostPath(set + "\\Reg"));
  std::ofstream(machine.files.HostPath(set + "\\Reg\\Account.reg"), std::ios::binary)
      << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts]\r\n"
         "\"AssociatedID\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10\r\n";
  std::ofstream(machine.files.HostPath(set + "\\Reg\\OE.reg"), std::ios::binary)
      << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Identities\\{AAAAAAAA-1111-2222-3333-444444444444}\\Software]\r\n";
  std::ofstream(machine.files.HostPath(set + "\\Reg\\VornInfo.dat"), std::ios::binary)
      << "\"Date       :2024/01/02 3:04:05\"\r\n\"OS         :WindowsXP\"\r\n\"OE         :6.0.2900.5512\"\r\n";
}

// The receiving user's own store, replaced by every restore.
void WriteOldStore(Machine& machine) {
  fs::remove_all(machine.files.HostPath(kStore));
  fs::create_directories(machine.files.HostPath(kStore));
  for (int i = 0; i < kStoreFiles; ++i)
    WriteStoreFile(machine.files.HostPath(kStore + "\\Folder" + std::to_string(i) + ".dbx"), kOldStoreBytes / kStoreFiles,
                   100 + static_cast<unsigned>(i));
}

double TimeRestore(Machine& machine, const std::string& set) {
  WriteOldStore(machine);
  machine.ui.pickedFolders = {set};
  RestoreState state;
  RestoreReport report;
  RestoreContext run{machine.app, state, report};
  RestoreEnd end = RestoreEnd::Cancelled;
  const double seconds = Seconds([&] { end = ResMain(run, {}); });
  if (end != RestoreEnd::Completed || !report.Complete()) {
    std::fprintf(stderr, "restore from %s did not complete\n", set.c_str());
    std::exit(1);
  }
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 500;
  const fs::path root = fs::temp_directory_path() / "vorn-restore-bench";
  fs::remove_all(root);
  Machine machine(root);
  fs::create_directories(machine.files.HostPath(kSource));
  fs::create_directories(machine.files.HostPath(kPlainSet + "\\Mail"));
  for (int i = 0; i < kStoreFiles; ++i) {
    const std::string name = i == 0 ? "Folders.dbx" : "Folder" + std::to_string(i) + ".dbx";
    WriteStoreFile(machine.files.HostPath(kSource + "\\" + name), megabytes * 1024 * 1024 / kStoreFiles,
                   static_cast<unsigned>(i));
    fs::copy_file(machine.files.HostPath(kSource + "\\" + name), machine.files.HostPath(kPlainSet + "\\Mail\\" + name));
  }
  WriteSetSettings(machine, kPlainSet);
  WriteSetSettings(machine, kCompressedSet);
  if (machine.archiver.Unlha(0, MailArchiveCommandLine(kCompressedSet + "\\Mail.lzh", "C:\\Program Files\\Vorn", kSource),
                             nullptr, 0) != 0)
    return 1;
  std::printf("store: %llu MB in %d .dbx files, Mail.lzh %llu MB\n", static_cast<unsigned long long>(megabytes),
              kStoreFiles,
              static_cast<unsigned long long>(*machine.files.FileSize(kCompressedSet + "\\Mail.lzh") >> 20));

  // Each figure is the best of kRounds runs, each kind taking turns with its baseline.
  double copy = 1e9, plain = 1e9, unpack = 1e9, compressed = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove_all(machine.files.HostPath("C:\\Copy"));
    copy = std::min(copy, Seconds([&] {
      machine.files.CreateDirectory("C:\\Copy");
      for (const auto& entry : machine.files.List(kSource, "*.dbx"))
        machine.files.CopyFile(kSource + "\\" + entry.name, "C:\\Copy\\" + entry.name, true);
    }));
    plain = std::min(plain, TimeRestore(machine, kPlainSet));
  }
  std::printf("plain:      restore %.2f s, plain copy %.2f s, ratio %.2f (target <= 1.30)\n", plain, copy, plain / copy);

  for (int round = 0; round < kRounds; ++round) {
    fs::remove_all(machine.files.HostPath("C:\\Unpacked"));
    unpack = std::min(unpack, Seconds([&] {
      machine.archiver.Unlha(0, MeltCommandLine(kCompressedSet, "C:\\Unpacked"), nullptr, 0);
    }));
    compressed = std::min(compressed, TimeRestore(machine, kCompressedSet));
  }
  std::printf("compressed: restore %.2f s, unpacking %.2f s, ratio %.2f (target <= 1.30)\n", compressed, unpack,
              compressed / unpack);
  fs::remove_all(root);
  return 0;
}
