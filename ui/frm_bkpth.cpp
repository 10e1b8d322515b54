#include "ui/frm_bkpth.h"

#include "core/app.h"

namespace vorn {

namespace {
const char* const kBrowseTitle = "指定先にVorn_bkupフォルダが作成され、そこに保存します。";
const std::string kFolderSuffix = std::string("\\") + kBackupFolderName;
}  // namespace

FrmBkpth::FrmBkpth(App& app) : ModalForm("Vorn - 保存先の変更 ..."), app_(app) {}

void FrmBkpth::UseDesktopDefault() {
  Option1.selected = kDesktop;
  CmdBrowse.enabled = false;
  Text1.text.clear();
  app_.settings.backupPath = DefaultBackupPath(app_.env);
}

void FrmBkpth::Form_Load() {
  const std::string stored = ReadStoredBackupPath(app_.reg);
  if (stored == DefaultBackupPath(app_.env)) {
    Option1.selected = kDesktop;
    CmdBrowse.enabled = false;
    Text1.text.clear();
  } else if (stored.empty()) {
    UseDesktopDefault();
    SaveBackupPath(app_.reg, app_.settings.backupPath);
  } else {
    Text1.text = stored;
    Option1.selected = kOther;
    CmdBrowse.enabled = true;
  }
}

void FrmBkpth::Option1_Click(int index) {
  Option1.selected = index;
  if (index == kDesktop) {
    CmdBrowse.enabled = false;
    Text1.text.clear();
  } else {
    CmdBrowse.enabled = true;
  }
}

void FrmBkpth::CmdBrowse_Click() {
  std::string picked = app_.platform.ui.BrowseForFolder(hwnd, kBrowseTitle, "", 0);
  if (picked.empty()) {
    if (Option1.selected != kOther) UseDesktopDefault();
    return;
  }
  FileSystem& files = app_.platform.files;
  if (picked.back() == '\\') {
    picked += kBackupFolderName;
    files.CreateDirectory(picked);
  }
  if (picked.size() < kFolderSuffix.size() ||
      picked.compare(picked.size() - kFolderSuffix.size(), kFolderSuffix.size(), kFolderSuffix) != 0) {
    picked += kFolderSuffix;
    files.CreateDirectory(picked);
  }
  Text1.text = picked;
  app_.settings.backupPath = picked;
}

void FrmBkpth::CmdOk_Click() {
  if (Option1.selected == kDesktop) {
    UseDesktopDefault();
    SaveBackupDestination(app_.reg, app_.settings.backupPath, 0);
    closed = true;
    return;
  }
  if (Text1.text.empty()) return;
  app_.settings.backupPath = Text1.text;
  SaveBackupDestination(app_.reg, app_.settings.backupPath, 1);
  closed = true;
}

void FrmBkpth::CmdCancel_Click() { closed = true; }

}  // namespace vorn
