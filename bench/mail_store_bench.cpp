// A generated Store Root of 200 folder files (about 2 GB, news and mail, ten of them with 30,000
// messages): the first scan and a cached identity choice, then one 30,000-message folder extracted
// beside undbx and beside plain writes of the same files, and the peak memory of it all.
// VORN_BENCH_DIR picks the disk; on a disk other programs write to, a memory disk (/dev/shm)
// gives steadier figures.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/dbx_bench_support.h"
#include "dbx/folder_scan.h"
#include "dbx/folder_scan_cache.h"
#include "dbx/mail_folder_tree.h"
#include "bench/direct_file_system.h"
#include "platform/sim/sim_registry_store.h"

namespace {

namespace fs = std::filesystem;
using vorn::MessageKind;
using vorn::bench::Clock;
using vorn::bench::Seconds;

constexpr int kFolders = 200;
constexpr int kLargeFolders = 10;
constexpr size_t kLargeMessages = 30000;
constexpr size_t kTotalBytes = size_t{1840} << 20;  // message text; the files come to about 2 GB
constexpr size_t kDirectLimit = 15u << 20;  // a pointer held in a slot has 24 bits

struct FolderPlan {
  std::string name;
  MessageKind kind;
  size_t messages;
  size_t averageSize;
};

std::vector<FolderPlan> Plan() {
  std::vector<FolderPlan> plan;
  const char* standard[] = {"受信トレイ", "送信トレイ", "送信済みアイテム", "削除済みアイテム", "下書き"};
  for (int i = 0; i < kFolders; ++i) {
    const bool large = i < kLargeFolders;
    const bool news = i % 2 == 1;
    std::string name = i < 5 ? standard[i]
                       : news ? "fj.comp.group" + std::to_string(i)
                              : "フォルダ" + std::to_string(i);
    plan.push_back({name, news ? MessageKind::News : MessageKind::Mail, large ? kLargeMessages : 0, 3000});
  }
  // The rest of the 2 GB spread over the smaller folders.
  const size_t largeBytes = kLargeFolders * kLargeMessages * 3000;
  const size_t perSmall = (kTotalBytes - largeBytes) / (kFolders - kLargeFolders);
  std::mt19937 random(7);
  for (auto& folder : plan) {
    if (folder.messages) continue;
    folder.averageSize = 2000 + random() % 6000;
    folder.messages = perSmall / folder.averageSize;
  }
  return plan;
}

vorn::test::DbxDescription Describe(const FolderPlan& plan, unsigned seed) {
  vorn::test::DbxDescription description;
  std::mt19937 random(seed);
  size_t offset = 0;
  for (size_t m = 0; m < plan.messages; ++m) {
    vorn::test::DbxMessage message;
    message.kind = plan.kind;
    const size_t size = plan.averageSize / 2 + random() % plan.averageSize;
    message.text = "From: user" + std::to_string(m) + "@example.jp\r\nSubject: message " + std::to_string(m) + "\r\n\r\n";
    message.text.resize(size, static_cast<char>('a' + m % 26));
    // Large folders keep their pointers in the records' data areas throughout, the scan's worst case.
    message.direct = plan.messages < kLargeMessages && offset + size < kDirectLimit;
    offset += size + 64;
    description.messages.push_back(std::move(message));
  }
  return description;
}

void Generate(const fs::path& store, const std::vector<FolderPlan>& plan) {
  vorn::bench::InChildProcess([&] {
    for (size_t i = 0; i < plan.size(); ++i)
      vorn::bench::WriteImage(store / (plan[i].name + ".dbx"), Describe(plan[i], static_cast<unsigned>(i)));
    for (const char* list : {"Folders.dbx", "Pop3uidl.dbx", "Offline.dbx"})
      vorn::bench::WriteImage(store / list, {});
  });
}

uint64_t FolderBytes(const fs::path& folder) {
  uint64_t total = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) total += entry.file_size();
  return total;
}

// The same number of files of the same sizes as the extraction made, written plainly: the floor
// for making that many files through the same file interface.
double PlainWrites(vorn::FileSystem& files, const fs::path& extracted, const std::string& target) {
  std::vector<uint64_t> sizes;
  for (const auto& entry : fs::directory_iterator(extracted)) sizes.push_back(entry.file_size());
  files.CreateDirectory(target);
  std::vector<char> buffer(64 * 1024, 'x');
  auto start = Clock::now();
  for (size_t i = 0; i < sizes.size(); ++i) {
    auto out = files.OpenWrite(target + "\\" + std::to_string(i) + ".eml");
    for (uint64_t left = sizes[i]; left > 0;) {
      size_t step = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
      out->Write(buffer.data(), step);
      left -= step;
    }
    out->Close();
  }
  return Seconds(start);
}

}  // namespace

int main() {
  const fs::path root = vorn::bench::BenchFolder("vorn-store-bench");
  const fs::path store = root / "C" / "Store";
  fs::create_directories(store);
  const std::vector<FolderPlan> plan = Plan();
  auto generating = Clock::now();
  Generate(store, plan);
  std::printf("store root: %d folder files, %.2f GB (generated in %.0f s)\n", kFolders,
              static_cast<double>(FolderBytes(store)) / (1 << 30), Seconds(generating));

  vorn::bench::DirectFileSystem files(root);
  vorn::SimRegistryStore registry;
  vorn::RegistryAccess reg(registry);
  int errors = 0;
  auto scanning = Clock::now();
  const auto candidates = vorn::ListCandidateFiles(files, "C:\\Store");
  const vorn::FolderScanLists scanned =
      vorn::ClassifyCandidates(files, "C:\\Store", candidates, [&](const std::string&, vorn::DbxError) { ++errors; });
  vorn::SaveFolderScanCache(reg, "taro", scanned);
  const double scan = Seconds(scanning);
  std::printf("first scan:    %.2f s (%zu candidates: %zu news, %zu mail, %d unreadable; files in the page cache)\n",
              scan, candidates.size(), scanned.news.size(), scanned.mail.size(), errors);

  auto choosing = Clock::now();
  vorn::FolderScanLists cached;
  const bool rescan = vorn::LoadFolderScanCache(reg, "taro", cached);
  std::vector<vorn::FolderTreeNode> nodes = vorn::FixedFolderTreeNodes();
  for (const auto& news : cached.news) nodes.push_back(vorn::NewsFolderNode(news));
  std::printf("cached choice: %.3f ms (%zu nodes%s)\n", Seconds(choosing) * 1000, nodes.size(),
              rescan ? ", but the cache asked for a scan" : "");

  // Each figure is the best of three rounds taking turns, each into a fresh folder (the machine
  // may be busy, and the disk still writing the round before).
  const std::string large = plan[0].name + ".dbx";
  const double megabytes = static_cast<double>(fs::file_size(store / large)) / (1 << 20);
  const bool haveUndbx = std::system("command -v undbx >/dev/null 2>&1") == 0;
  double extraction = 1e9, plain = 1e9, undbx = 1e9;
  vorn::ExtractionResult result;
  for (int round = 0; round < 3; ++round) {
    fs::remove_all(root / "C" / "Out");
    fs::remove_all(root / "C" / "Plain");
    fs::remove_all(root / "undbx");
    vorn::bench::NoProgress progress;
    auto extracting = Clock::now();
    result = vorn::ExtractFile(files, "C:\\Store\\" + large, "C:\\Out\\", progress);
    extraction = std::min(extraction, Seconds(extracting));
    plain = std::min(plain, PlainWrites(files, root / "C" / "Out", "C:\\Plain"));
    if (haveUndbx) {
      auto start = Clock::now();
      const std::string command = "cd '" + store.string() + "' && undbx -v 0 '" + large + "' '" +
                                  (root / "undbx").string() + "' >/dev/null 2>&1";
      if (std::system(command.c_str()) == 0) undbx = std::min(undbx, Seconds(start));
    }
  }
  std::printf("extraction of %s (%.0f MB, %d messages%s), best of 3:\n", large.c_str(), megabytes,
              result.counters.Named(), result.error == vorn::DbxError::None ? "" : ", ended early");
  std::printf("  vorn:         %.2f s\n", extraction);
  std::printf("  plain writes: %.2f s (the same files written from memory, the floor)\n", plain);
  if (undbx < 1e9) {
    std::printf("  undbx:        %.2f s\n", undbx);
  } else {
    std::printf("  undbx:        %s\n", haveUndbx ? "failed" : "not installed");
  }
  std::printf("peak memory: %.1f MB (target below 64 MB)\n", vorn::bench::PeakMegabytes());
  fs::remove_all(root);
}
