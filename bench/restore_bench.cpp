// Restores a generated mail store (500 MB unless a size in MB is given) from a compressed and
// from a plain set onto another user, each run the whole restore from the main window (the
// staging of the new store beside the Store Root and the removal of the old one included), and
// prints its time beside our own unpacking of the archive and beside a plain copy of the files.
//
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF
//   cmake --build build/bench --target bench_restore && build/bench/bench/bench_restore [MB]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_machine.h"
#include "restore/mail_store_restore.h"

namespace {

using namespace vorn;
using namespace vorn::bench;
namespace fs = std::filesystem;

const std::string kTaroStore = "C:\\Store";
const std::string kHanakoStore = "C:\\Hanako\\Outlook Express";
constexpr uint64_t kHanakosMegabytes = 50;

// taro's set of either kind, moved to a folder of its own.
std::string MakeSet(BenchMachine& machine, bool compress, const std::string& where) {
  Program program(machine.platform, machine.host);
  Form1& form = PickInMainWindow(program, Form1::kBackupMode, 0);
  form.MnLHA.checked = compress;
  form.Command1_Click(Form1::kOk);
  const fs::path set = machine.files.HostPath(machine.environment.SpecialFolder("Desktop") + "\\Vorn_bkup\\taro");
  fs::create_directories(machine.files.HostPath(where).parent_path());
  fs::rename(set, machine.files.HostPath(where));
  return where;
}

// A restore onto hanako, whose own store of kHanakosMegabytes it replaces.
double TimeRestore(BenchMachine& machine, const std::string& set) {
  fs::remove_all(machine.files.HostPath(kHanakoStore));
  WriteStore(machine.files.HostPath(kHanakoStore), kHanakosMegabytes, 100);
  Program program(machine.platform, machine.host);
  Form1& form = PickInMainWindow(program, Form1::kRestoreMode, 1);
  machine.ui.AnswerYes(set);
  double seconds = 0;
  try {
    seconds = Seconds([&] { form.Command1_Click(Form1::kOk); });
  } catch (const ProgramEnded&) {
  }
  if (machine.files.FileSize(kHanakoStore + "\\Folder1.dbx") != machine.files.FileSize(kTaroStore + "\\Folder1.dbx")) {
    std::fprintf(stderr, "the restore from %s did not complete:\n%s", set.c_str(), machine.messages.str().c_str());
    std::exit(1);
  }
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 500;
  const fs::path root = fs::temp_directory_path() / "vorn-restore-bench";
  fs::remove_all(root);
  BenchMachine machine(root);
  machine.AddUser("{AAAAAAAA-1111-2222-3333-444444444444}", "taro", kTaroStore);
  machine.AddUser("{BBBBBBBB-1111-2222-3333-444444444444}", "hanako", kHanakoStore);
  WriteStore(machine.files.HostPath(kTaroStore), megabytes);
  const std::string plainSet = MakeSet(machine, false, "C:\\Sets\\plain");
  const std::string compressedSet = MakeSet(machine, true, "C:\\Sets\\compressed");
  std::printf("store: %llu MB in %d .dbx files, Mail.lzh %llu MB; the receiving store %llu MB\n",
              static_cast<unsigned long long>(megabytes), kStoreFiles,
              static_cast<unsigned long long>(*machine.files.FileSize(compressedSet + "\\Mail.lzh") >> 20),
              static_cast<unsigned long long>(kHanakosMegabytes));

  // Each figure is the best of kRounds runs, each kind taking turns with its baseline.
  double copy = 1e9, plain = 1e9, unpack = 1e9, compressed = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    copy = std::min(copy, PlainCopySeconds(machine, kTaroStore));
    plain = std::min(plain, TimeRestore(machine, plainSet));
  }
  std::printf("plain:      restore %.2f s, plain copy %.2f s, ratio %.2f (target <= 1.30)\n", plain, copy, plain / copy);

  for (int round = 0; round < kRounds; ++round) {
    fs::remove_all(machine.files.HostPath("C:\\Unpacked"));
    unpack = std::min(unpack, Seconds([&] {
      machine.archiver.Unlha(0, MeltCommandLine(compressedSet, "C:\\Unpacked"), nullptr, 0);
    }));
    compressed = std::min(compressed, TimeRestore(machine, compressedSet));
  }
  std::printf("compressed: restore %.2f s, unpacking %.2f s, ratio %.2f (target <= 1.30)\n", compressed, unpack,
              compressed / unpack);
  fs::remove_all(root);
  return 0;
}
