#include "ui/win32/mailme_view.h"

#include "platform/win32/family_functions.h"

#include "ui/win32/control_ids.h"
#include "ui/win32/view_support.h"

namespace vorn::win32ui {
namespace {

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 186;
constexpr UINT_PTR kTimer1 = 1;
constexpr LONG kLayeredStyle = 0x80000;
constexpr DWORD kAlphaFlag = 2;

[[maybe_unused]] const bool kRegistered = RegisterModalView<Mailme, MailmeView>();

}  // namespace

MailmeView::MailmeView(Mailme& sheet) : ModalView(sheet), sheet_(sheet) {}

HWND MailmeView::Create(HWND owner) {
  CreateDialogWindow(kMailmeClass, sheet_.caption, owner, kClientWidth, kClientHeight);
  CreateControl(window_, "BUTTON", "選択", BS_GROUPBOX, kMailmeFrame, {12, 8, 276, 128});
  for (int index = 0; index < 4; ++index)
    option1_[index] = CreateControl(window_, "BUTTON", sheet_.Option1.captions[index],
                                    BS_RADIOBUTTON | WS_TABSTOP | (index == 0 ? WS_GROUP : 0),
                                    kMailmeOption1First + index, {28, 30 + index * 25, 244, 22});
  command1_[Mailme::kOk] = CreateControl(window_, "BUTTON", sheet_.Command1[Mailme::kOk].caption,
                                         BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, {112, 148, 84, 28});
  command1_[Mailme::kCancel] = CreateControl(window_, "BUTTON", sheet_.Command1[Mailme::kCancel].caption,
                                             BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, {204, 148, 84, 28});
  return command1_[Mailme::kOk];
}

void MailmeView::Sync() {
  if (sheet_.closed) {
    if (timerRunning_) KillTimer(window_, kTimer1);
    timerRunning_ = false;
    return;
  }
  SetWindowTextIfChanged(window_, sheet_.caption);
  for (int index = 0; index < 4; ++index) SyncOption(option1_[index], sheet_.Option1, index);
  for (int index : {Mailme::kOk, Mailme::kCancel}) SyncButton(command1_[index], sheet_.Command1[index], true);
  SyncFade();
}

// The layered style and its alpha, and the timer that drives them.
void MailmeView::SyncFade() {
  // Layered windows came with 2000: on the 98 family the sheet is shown whole from the start.
  if (sheet_.layered && alphaShown_ != sheet_.alpha && win32::IsNtFamily()) {
    const LONG style = GetWindowLongA(window_, GWL_EXSTYLE);
    if (!(style & kLayeredStyle)) SetWindowLongA(window_, GWL_EXSTYLE, style | kLayeredStyle);
    win32::Nt().SetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(sheet_.alpha), kAlphaFlag);
    alphaShown_ = sheet_.alpha;
  }
  if (sheet_.Timer1.enabled != timerRunning_) {
    if (sheet_.Timer1.enabled)
      SetTimer(window_, kTimer1, sheet_.Timer1.interval, nullptr);
    else
      KillTimer(window_, kTimer1);
    timerRunning_ = sheet_.Timer1.enabled;
  }
}

void MailmeView::OnCommand(int id, int code) {
  if (id >= kMailmeOption1First && id < kMailmeOption1First + 4) {
    if (code == BN_CLICKED) sheet_.Option1.selected = id - kMailmeOption1First;
  } else if (id == IDOK) {
    sheet_.Command1_Click(Mailme::kOk);
  } else if (id == IDCANCEL) {
    sheet_.Command1_Click(Mailme::kCancel);
  }
  Sync();
}

LRESULT MailmeView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam != kTimer1) break;
      sheet_.Timer1_Timer();
      Sync();
      return 0;
    case WM_SIZE:
      InvalidateRect(window_, nullptr, TRUE);
      break;
    case WM_CLOSE:
      sheet_.Unload();
      Sync();
      return 0;
  }
  return win32::DefaultProcedure(window_, message, wParam, lParam);
}

}  // namespace vorn::win32ui
