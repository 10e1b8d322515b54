// Backs up a generated mail store (500 MB unless a size in MB is given) on the simulated
// platform over a host folder, plain and compressed, and prints each run's time beside the
// plain copy of the same files and beside the archiver's own packing of them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "backup/mail_archive.h"
#include "bench/bench_machine.h"

namespace {

using namespace vorn;
using namespace vorn::bench;
namespace fs = std::filesystem;

const std::string kGuid = "{AAAAAAAA-1111-2222-3333-444444444444}";
const std::string kStore = "C:\\Store";

// A backup into an empty destination, as the baselines write into fresh files.
double TimeBackup(BenchMachine& machine, bool compress) {
  fs::remove_all(machine.files.HostPath(machine.environment.SpecialFolder("Desktop") + "\\Vorn_bkup"));
  Program program(machine.platform, machine.host);
  Form1& form = PickInMainWindow(program, Form1::kBackupMode, 0);
  form.MnLHA.checked = compress;
  return Seconds([&] { form.Command1_Click(Form1::kOk); });
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 500;
  const fs::path root = fs::temp_directory_path() / "vorn-backup-bench";
  fs::remove_all(root);
  BenchMachine machine(root);
  machine.AddUser(kGuid, "taro", kStore);
  WriteStore(machine.files.HostPath(kStore), megabytes);
  std::printf("store: %llu MB in %d .dbx files\n", static_cast<unsigned long long>(megabytes), kStoreFiles);

  // Each figure is the best of kRounds runs, the two kinds taking turns (the machine may be busy).
  double copy = 1e9, plain = 1e9, pack = 1e9, compressed = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    copy = std::min(copy, PlainCopySeconds(machine, kStore));
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
