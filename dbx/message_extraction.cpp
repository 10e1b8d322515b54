#include "dbx/message_extraction.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <vector>

#include "dbx/folder_damage.h"
#include "dbx/message_recovery.h"
#include "platform/folder_path.h"

namespace vorn {

namespace {

// Adds 1 unless the 16-bit counter is already at its largest value.
bool Increment(int16_t& counter) {
  if (counter == std::numeric_limits<int16_t>::max()) return false;
  ++counter;
  return true;
}

// The name is freed first: what is there (a file of an earlier run, a hidden or system one,
// which the system would not overwrite, or a link, whose target is never touched) is deleted
// and the file made anew. A plain file that cannot be deleted is truncated and written; a link
// or a folder under the name is refused.
std::unique_ptr<OutputFile> OpenMessageFile(FileSystem& files, const std::string& path) {
  if (const auto existing = files.Attributes(path)) {
    if (*existing & fileattr::kDirectory) return nullptr;
    if (files.DeleteFile(path) != FsResult::Ok) return *existing & fileattr::kReparsePoint ? nullptr : files.OpenWrite(path);
  }
  FsResult created = FsResult::Ok;
  return files.CreateNewFile(path, created);
}

DbxError WriteMessageFile(DbxFile& file, FileSystem& files, const std::string& path, int32_t pointer) {
  auto out = OpenMessageFile(files, path);
  if (!out) return DbxError::CannotCreate;
  DbxError error = CopyMessageText(file, pointer, *out);
  if (!out->Close() && error == DbxError::None) error = DbxError::WriteFailed;
  return error;
}

bool IndexDamaged(const FileSystem& files, const std::string& folderFile) {
  auto file = DbxFile::Open(files, folderFile);
  return file && IsReadDamage(IndexReadError(*file));
}

}  // namespace

std::string MessageFileName(int16_t number, MessageKind kind) {
  std::string digits = "0000" + std::to_string(number);
  return digits.substr(digits.size() - 5) + (kind == MessageKind::News ? ".nws" : ".eml");
}

DbxError ExtractMessages(DbxFile& file, FileSystem& files, const std::string& outputFolder, int32_t progressMaximum,
                         ExtractionProgress& progress, ExtractionCounters& counters) {
  // Never through a link: the messages would land wherever it points.
  const std::string folder = outputFolder.substr(0, outputFolder.find_last_not_of('\\') + 1);
  if (!CreateRealFolderPath(files, folder, folder).link.empty()) return DbxError::CannotCreate;
  // A header or walk that fails part-way still leaves the records found before it to extract.
  std::vector<int32_t> records;
  int32_t root = 0;
  if (ReadIndexRoot(file, root) == DbxError::None) CollectMessageInfoOffsets(file, root, records);

  for (int32_t record : records) {
    MessageInfo info;
    if (DbxError error = ClassifyMessageInfo(file, record, info); error != DbxError::None) return error;
    if (info.kind == MessageKind::Unclassified) continue;
    int16_t& number = info.kind == MessageKind::News ? counters.news : counters.mail;
    const std::string path = outputFolder + MessageFileName(number, info.kind);
    if (!Increment(number)) return DbxError::CounterOverflow;
    progress.Update(std::clamp<int32_t>(counters.written, 0, std::max(progressMaximum, 0)));
    if (DbxError error = WriteMessageFile(file, files, path, info.pointer); error != DbxError::None) return error;
    if (!Increment(counters.written)) return DbxError::CounterOverflow;
  }
  return DbxError::None;
}

ExtractionResult ExtractFile(FileSystem& files, const std::string& folderFilePath, const std::string& outputFolder,
                             ExtractionProgress& progress) {
  auto file = DbxFile::Open(files, folderFilePath);
  if (file) return ExtractFile(*file, files, outputFolder, progress);
  ExtractionResult result;
  result.error = DbxError::CannotOpen;
  progress.Begin(0);
  return result;
}

ExtractionResult ExtractFile(DbxFile& file, FileSystem& files, const std::string& outputFolder,
                             ExtractionProgress& progress) {
  ExtractionResult result;
  if (DbxError error = ReadMessageCount(file, result.messageCount); error != DbxError::None) {
    result.messageCount = 0;
    result.error = error;
  }
  progress.Begin(result.messageCount);
  if (result.messageCount != 0)
    result.error = ExtractMessages(file, files, outputFolder, result.messageCount, progress, result.counters);
  return result;
}

std::string ExtractionFolderName(const std::string& folderName) {
  std::string name = folderName;
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  return FolderNameOfItsOwn(name);
}

std::string ExtractionOutputFolder(const std::string& backupPath, const std::string& userFolderName,
                                   const std::string& folderName) {
  return backupPath + "\\" + userFolderName + "\\Eml_Nws\\" + ExtractionFolderName(folderName) + "\\";
}

std::string ResolveFolderFile(const FileSystem& files, const std::string& storeRoot,
                              const std::string& hotmailAccountName, const std::string& folderName) {
  std::string hotmailFile = storeRoot + "\\" + hotmailAccountName + " - " + folderName + ".dbx";
  if (files.Exists(hotmailFile)) return hotmailFile;
  return storeRoot + "\\" + folderName + ".dbx";
}

ExtractionResult ExtractFolder(FileSystem& files, UiServices& ui, const ExtractFolderRequest& request,
                               ExtractionProgress& progress) {
  const std::string folderFile =
      ResolveFolderFile(files, request.storeRoot, request.hotmailAccountName, request.folderName);
  const std::string outputFolder = ExtractionOutputFolder(request.backupPath, request.userFolderName, request.folderName);
  // The user's folder, "Eml_Nws" and the mail folder's own are the run's: each must be a real folder.
  const std::string link = files.FirstLinkAlong(outputFolder, request.backupPath + "\\" + request.userFolderName);
  ExtractionResult result;
  if (link.empty()) {
    result = ExtractFile(files, folderFile, outputFolder, progress);
  } else {
    result.error = DbxError::CannotCreate;
    progress.Begin(0);
  }
  const int32_t named = result.counters.Named();
  progress.End(named);
  MessageSpec done;
  done.text = std::to_string(named) + " 通のﾒｯｾｰｼﾞを処理しました。";
  done.title = "完了";
  done.icon = MsgIcon::Information;
  if (result.error != DbxError::None) {
    const bool writing = result.error == DbxError::CannotCreate || result.error == DbxError::WriteFailed;
    done.text += "\r\n途中で中止しました: " + DbxErrorDescription(result.error) + "\r\n" +
                 (writing ? (link.empty() ? outputFolder : link) : folderFile);
    done.icon = MsgIcon::Warning;
  }
  // The extraction passes over an index that fails part-way, or leads to fewer messages than counted.
  const bool damaged = IsReadDamage(result.error) || (result.error == DbxError::None && IndexDamaged(files, folderFile));
  if (damaged) {
    // Beside what the index gave, in a folder of its own: every message the block chains still hold.
    const std::string recovered = outputFolder + "recovered\\";
    const RecoveryReport report = RecoverMessages(files, folderFile, recovered);
    if (report.Found() > 0)
      done.text += "\r\n壊れたフォルダ ファイルからメッセージを直接探し、" + recovered + " に取り出しました: 完全 " +
                   std::to_string(report.whole) + " 通、途中で切れたもの " + std::to_string(report.cut) +
                   " 通、削除済み " + std::to_string(report.deleted) + " 通";
    files.RemoveDirectory(recovered + "deleted");
    files.RemoveDirectory(outputFolder + "recovered");
  }
  ui.ShowMessage(done);
  ui.Beep();
  return result;
}

}  // namespace vorn
