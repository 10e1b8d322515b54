#include "setread/set_mail.h"

#include <algorithm>

#include "dbx/folder_classification.h"
#include "lha/unlha_result.h"
#include "platform/text.h"
#include "set/set_layout.h"
#include "set/set_reading.h"

namespace vorn {
namespace {

// The archive member as the folder file reader's input, staying with its owner so that its
// CRC can be checked once the folder was read.
class BorrowedInput : public InputFile {
 public:
  explicit BorrowedInput(InputFile& input) : input_(input) {}
  std::optional<size_t> Read(void* buffer, size_t size) override { return input_.Read(buffer, size); }
  uint64_t Size() const override { return input_.Size(); }
  bool Seek(uint64_t offset) override { return input_.Seek(offset); }

 private:
  InputFile& input_;
};

std::string LastPart(const std::string& name) { return name.substr(name.find_last_of('\\') + 1); }

bool IsFolderMember(const unlha::MemberInfo& member) {
  return !member.directory && IsFolderFileName(LastPart(member.name));
}

}  // namespace

std::unique_ptr<SetMailFolders> SetMailFolders::Open(const FileSystem& files, const std::string& userFolder) {
  std::unique_ptr<SetMailFolders> mail;
  if (FindMailData(files, userFolder) == MailData::Archive) {
    mail.reset(new SetMailFolders(files, kMailArchiveName));
    mail->currentPath_ = SetLayout(userFolder).MailArchive();
    // A first pass over the headers alone counts the folder files.
    if (auto counting = unlha::ArchiveMembers::Open(files, mail->currentPath_)) {
      unlha::MemberInfo member;
      while (counting->Next(member) == unlha::ArchiveMembers::Step::Member) mail->count_ += IsFolderMember(member);
    }
    mail->members_ = unlha::ArchiveMembers::Open(files, mail->currentPath_);
    if (!mail->members_) mail->problem_ = "Mail.lzh: " + std::string(unlha::DescribeResult(unlha::kArchiveNotFound));
    return mail;
  }
  const std::string folder = SetLayout(userFolder).MailFolder();
  if (!files.IsDirectory(folder)) return nullptr;
  mail.reset(new SetMailFolders(files, kMailFolderName));
  mail->copyFolder_ = folder;
  for (const auto& entry : files.List(folder, "*.dbx"))
    if (!entry.isDirectory && IsFolderFileName(entry.name)) mail->copyNames_.push_back(entry.name);
  std::sort(mail->copyNames_.begin(), mail->copyNames_.end(),
            [](const std::string& a, const std::string& b) { return AsciiLower(a) < AsciiLower(b); });
  mail->count_ = mail->copyNames_.size();
  return mail;
}

SetMailFolders::SetMailFolders(const FileSystem& files, std::string sourceName)
    : files_(files), sourceName_(std::move(sourceName)) {}

SetMailFolders::~SetMailFolders() = default;

SetMailFolders::Step SetMailFolders::Next(SetFolderFile& folder) {
  data_.reset();
  if (!members_) {
    if (!problem_.empty()) return Step::Damaged;
    if (nextCopy_ == copyNames_.size()) return Step::End;
    const std::string& name = copyNames_[nextCopy_++];
    currentPath_ = copyFolder_ + "\\" + name;
    folder = {name, name, "Mail\\" + name, files_.FileSize(currentPath_).value_or(0)};
    return Step::Folder;
  }
  unlha::MemberInfo member;
  if (!NextMember(member)) return problem_.empty() ? Step::End : Step::Damaged;
  folder = {LastPart(member.name), member.name, "Mail.lzh: " + member.name, member.size};
  return Step::Folder;
}

bool SetMailFolders::NextMember(unlha::MemberInfo& member) {
  for (;;) {
    switch (members_->Next(member)) {
      case unlha::ArchiveMembers::Step::End: return false;
      case unlha::ArchiveMembers::Step::EndWithoutMark:
        problem_ = "Mail.lzh: no end mark, the archive is cut short" +
                   (lastMember_.empty() ? std::string() : " after " + lastMember_);
        return false;
      case unlha::ArchiveMembers::Step::Damaged:
        problem_ = "Mail.lzh: " + std::string(unlha::DescribeResult(unlha::kArchiveDamaged)) +
                   (lastMember_.empty() ? "" : " after " + lastMember_);
        return false;
      case unlha::ArchiveMembers::Step::Member: break;
    }
    lastMember_ = member.name;
    if (IsFolderMember(member)) return true;
  }
}

std::unique_ptr<DbxFile> SetMailFolders::OpenFolder() {
  if (!members_) return DbxFile::Open(files_, currentPath_);
  data_ = members_->OpenData();
  if (!data_) return nullptr;
  return DbxFile::Open([this] { return std::make_unique<BorrowedInput>(*data_); });
}

std::string SetMailFolders::Damage() {
  if (!data_) return "";
  const int32_t check = data_->Check();
  return check == unlha::kOk ? "" : unlha::DescribeResult(check);
}

}  // namespace vorn
