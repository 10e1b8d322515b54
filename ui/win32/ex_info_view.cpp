#include "ui/win32/ex_info_view.h"

#include "ui/win32/control_ids.h"
#include "ui/win32/view_support.h"

namespace vorn::win32ui {
namespace {

constexpr int kMargin = 8;
constexpr int kRowHeight = 26;
constexpr int kFieldHeight = 22;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 26;

int Pixels(int twips) { return twips / ExInfo::kTwipsPerPixel; }

// "OS : ...  Outlook Express : ..." on a line each, so that no word wrap falls inside a name.
std::string OneLineEach(std::string text) {
  const size_t gap = text.find("  ");
  return gap == std::string::npos ? text : text.replace(gap, 2, "\r\n");
}

[[maybe_unused]] const bool kRegistered = RegisterModalView<ExInfo, ExInfoView>();

}  // namespace

ExInfoView::ExInfoView(ExInfo& dialog) : ModalView(dialog), dialog_(dialog) {}

HWND ExInfoView::Create(HWND owner) {
  CreateDialogWindow(kExInfoClass, dialog_.caption, owner, Pixels(ExInfo::kWidth), Pixels(ExInfo::kNormalHeight));
  // The form's sizes are the window's outer sizes; the details panel lies below the normal
  // size's client area.
  SetWindowPos(window_, nullptr, 0, 0, Pixels(ExInfo::kWidth), Pixels(ExInfo::kNormalHeight), SWP_NOMOVE | SWP_NOZORDER);
  RECT client;
  GetClientRect(window_, &client);
  const int width = client.right;
  const int normalHeight = client.bottom;
  const int leftWidth = width * 55 / 100;
  const int rightX = kMargin + leftWidth + kMargin;
  const int rightWidth = width - rightX - kMargin;

  auto field = [&](int index, int x, int y, int labelWidth, int fieldWidth) {
    CreateControl(window_, "STATIC", dialog_.Label1[index], SS_RIGHT | SS_CENTERIMAGE, 0,
                  {x, y, labelWidth, kFieldHeight});
    fields_[index] = CreateControl(window_, "EDIT", dialog_.Text1[index].text, ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP,
                                   kExInfoField1First + index, {x + labelWidth + 4, y, fieldWidth, kFieldHeight});
  };
  const int rows = static_cast<int>(std::size(ExInfo::kEnvironmentFields));
  CreateControl(window_, "BUTTON", dialog_.Frame1.caption, BS_GROUPBOX, 0,
                {kMargin, 2, leftWidth, 20 + rows * kRowHeight});
  for (int row = 0; row < rows; ++row)
    field(ExInfo::kEnvironmentFields[row], kMargin + 8, 20 + row * kRowHeight, 76, leftWidth - 16 - 80);

  CreateControl(window_, "BUTTON", dialog_.Frame2.caption, BS_GROUPBOX, 0, {rightX, 2, rightWidth, 62});
  label3_ = CreateControl(window_, "STATIC", "", SS_LEFT, kExInfoLabel3, {rightX + 8, 20, rightWidth - 16, 40});
  command1_[ExInfo::kOk] = CreateControl(window_, "BUTTON", dialog_.Command1[ExInfo::kOk].caption,
                                         BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
                                         {width - kMargin - kButtonWidth, 72, kButtonWidth, kButtonHeight});
  command1_[ExInfo::kDetail] = CreateControl(window_, "BUTTON", dialog_.Command1[ExInfo::kDetail].caption,
                                             BS_PUSHBUTTON | WS_TABSTOP, kExInfoDetail,
                                             {width - kMargin - kButtonWidth, 72 + kButtonHeight + 6, kButtonWidth,
                                              kButtonHeight});
  const int explanationY = 26 + rows * kRowHeight;
  CreateControl(window_, "STATIC", dialog_.Label2, SS_LEFT, 0,
                {kMargin, explanationY, width - 2 * kMargin, normalHeight - explanationY - 4});

  const int detailRows = static_cast<int>(std::size(ExInfo::kDetailFields));
  const int panelY = normalHeight + 2;
  CreateControl(window_, "BUTTON", dialog_.Frame3.caption, BS_GROUPBOX, 0,
                {kMargin, panelY, width - 2 * kMargin, 16 + detailRows * kRowHeight});
  for (int row = 0; row < detailRows; ++row)
    field(ExInfo::kDetailFields[row], kMargin + 8, panelY + 14 + row * kRowHeight, 128, width - 2 * kMargin - 16 - 132);

  return command1_[ExInfo::kOk];
}

void ExInfoView::Sync() {
  SetWindowTextIfChanged(window_, dialog_.caption);
  SetWindowTextIfChanged(label3_, OneLineEach(dialog_.Label3));
  for (int i = 0; i < ExInfo::kFieldCount; ++i) SyncTextBox(fields_[i], dialog_.Text1[i]);
  for (int i : {ExInfo::kOk, ExInfo::kDetail}) SyncButton(command1_[i], dialog_.Command1[i], true);
  RECT outer;
  GetWindowRect(window_, &outer);
  const int width = Pixels(dialog_.width), height = Pixels(dialog_.height);
  if (outer.right - outer.left != width || outer.bottom - outer.top != height)
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

LRESULT ExInfoView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) dialog_.Command1_Click(ExInfo::kOk);
      if (LOWORD(wParam) == kExInfoDetail) dialog_.Command1_Click(ExInfo::kDetail);
      if (!dialog_.closed) Sync();
      return 0;
    case WM_CLOSE:
      dialog_.Command1_Click(ExInfo::kOk);
      return 0;
  }
  return win32::DefaultProcedure(window_, message, wParam, lParam);
}

}  // namespace vorn::win32ui
