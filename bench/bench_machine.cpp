#include "bench/bench_machine.h"

#include <chrono>
#include <fstream>
#include <random>

#include <unistd.h>

#include "platform/codepage.h"
#include "ui/startup.h"

namespace vorn::bench {
namespace {

namespace fs = std::filesystem;

RegValue Text(const std::string& utf8) {
  std::string ansi = Utf8ToCp932(utf8);
  RegValue value{regtype::kSz, {ansi.begin(), ansi.end()}};
  value.data.push_back(0);
  return value;
}

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

}  // namespace

void WriteStore(const fs::path& folder, uint64_t megabytes, unsigned seed) {
  fs::create_directories(folder);
  for (int i = 0; i < kStoreFiles; ++i)
    WriteStoreFile(folder / (i == 0 ? std::string("Folders.dbx") : "Folder" + std::to_string(i) + ".dbx"),
                   megabytes * 1024 * 1024 / kStoreFiles, seed + static_cast<unsigned>(i));
}

Form1& PickInMainWindow(Program& program, int mode, int user) {
  Main(program, false);
  Form1& form = program.form1();
  form.Option1_Click(mode);
  form.List1_Click(user);
  return form;
}

double Seconds(const std::function<void()>& work) {
  ::sync();
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

BenchMachine::BenchMachine(const fs::path& root)
    : files(root), environment(files), shell(files), editor(registry, files, [] { return RegDialect::Version5; }),
      archiver(files), ui(messages), platform{registry, environment, files, processes, shell, ui, clock, editor, archiver} {
  environment.SetUpWindowsXp();
  const std::string oe = "C:\\Program Files\\Outlook Express\\msimn.exe";
  fs::create_directories(files.HostPath("C:\\Program Files\\Outlook Express"));
  std::ofstream(files.HostPath(oe)) << "exe";
  environment.executableVersions[oe] = {6, 0, 2900, 5512};
  fs::create_directories(files.HostPath("C:\\WINDOWS\\system32"));
  std::ofstream(files.HostPath("C:\\WINDOWS\\system32\\unlha32.dll")) << "dll";
  registry.WriteValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msimn.exe", "",
                      Text(oe));
  registry.WriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "", Text("C:\\taro.wab"));
  registry.WriteValue(RegRoot::CurrentUser, "Software\\Microsoft\\Internet Account Manager\\Accounts\\00000001",
                      "Account Name", Text("taro"));
  std::ofstream(files.HostPath("C:\\taro.wab")) << "wab";
  for (const char* folder : {"TEMP", "USERPROFILE"}) fs::create_directories(files.HostPath(*environment.Variable(folder)));
  fs::create_directories(files.HostPath(environment.SpecialFolder("Desktop")));
  fs::create_directories(files.HostPath(environment.SpecialFolder("Favorites")));
}

void BenchMachine::AddUser(const std::string& guid, const std::string& name, const std::string& storeRoot) {
  registry.WriteValue(RegRoot::CurrentUser, "Identities\\" + guid, "Username", Text(name));
  registry.WriteValue(RegRoot::CurrentUser, "Identities\\" + guid + "\\Software\\Microsoft\\Outlook Express\\5.0",
                      "Store Root", Text(storeRoot));
  fs::create_directories(files.HostPath(storeRoot));
}

double PlainCopySeconds(BenchMachine& machine, const std::string& store) {
  fs::remove_all(machine.files.HostPath("C:\\Copy"));
  return Seconds([&] {
    machine.files.CreateDirectory("C:\\Copy");
    for (const auto& entry : machine.files.List(store, "*.dbx"))
      machine.files.CopyFile(store + "\\" + entry.name, "C:\\Copy\\" + entry.name, true);
  });
}

}  // namespace vorn::bench
