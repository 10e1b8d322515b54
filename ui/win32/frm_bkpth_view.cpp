#include "ui/win32/frm_bkpth_view.h"

#include "ui/win32/control_ids.h"
#include "ui/win32/view_support.h"

namespace vorn::win32ui {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 142;

[[maybe_unused]] const bool kRegistered = RegisterModalView<FrmBkpth, FrmBkpthView>();

}  // namespace

FrmBkpthView::FrmBkpthView(FrmBkpth& dialog) : ModalView(dialog), dialog_(dialog) {}

HWND FrmBkpthView::Create(HWND owner) {
  CreateDialogWindow(kFrmBkpthClass, dialog_.caption, owner, kClientWidth, kClientHeight);
  // In tab order from the top: the options, the browse button, the path box, OK, キャンセル.
  for (int index : {FrmBkpth::kDesktop, FrmBkpth::kOther})
    option1_[index] = CreateControl(window_, "BUTTON", dialog_.Option1.captions[index],
                                    BS_RADIOBUTTON | (index == 0 ? WS_GROUP : 0),
                                    kFrmBkpthOption1First + index, {16, 12 + index * 28, index == 0 ? 320 : 200, 22});
  browse_ = CreateControl(window_, "BUTTON", dialog_.CmdBrowse.caption, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
                          kFrmBkpthBrowse, {260, 39, 84, 26});
  // The path box shows what the picker chose; a typed path would be stored unchecked.
  text1_ = CreateControl(window_, "EDIT", "", ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, kFrmBkpthText1,
                         {36, 72, 308, 24});
  ok_ = CreateControl(window_, "BUTTON", dialog_.CmdOk.caption, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
                      {168, 106, 84, 28});
  cancel_ = CreateControl(window_, "BUTTON", dialog_.CmdCancel.caption, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL,
                          {260, 106, 84, 28});
  return nullptr;  // the selected option, the first in tab order
}

void FrmBkpthView::Sync() {
  SetWindowTextIfChanged(window_, dialog_.caption);
  for (int index : {FrmBkpth::kDesktop, FrmBkpth::kOther}) SyncOption(option1_[index], dialog_.Option1, index);
  SyncTextBox(text1_, dialog_.Text1);
  SyncButton(browse_, dialog_.CmdBrowse, true);
  SyncButton(ok_, dialog_.CmdOk, true);
  SyncButton(cancel_, dialog_.CmdCancel, true);
}

void FrmBkpthView::OnCommand(int id, int code) {
  switch (id) {
    case kFrmBkpthOption1First + FrmBkpth::kDesktop:
    case kFrmBkpthOption1First + FrmBkpth::kOther:
      if (code == BN_CLICKED) dialog_.Option1_Click(id - kFrmBkpthOption1First);
      break;
    case kFrmBkpthBrowse:
      if (dialog_.CmdBrowse.enabled) dialog_.CmdBrowse_Click();
      break;
    case IDOK:
      dialog_.CmdOk_Click();
      break;
    case IDCANCEL:
      dialog_.CmdCancel_Click();
      break;
  }
  if (!dialog_.closed) Sync();
}

LRESULT FrmBkpthView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      dialog_.CmdCancel_Click();
      return 0;
  }
  return win32::DefaultProcedure(window_, message, wParam, lParam);
}

}  // namespace vorn::win32ui
