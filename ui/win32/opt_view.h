#pragma once
// The options window on screen: a modal dialog with a tab control whose two pages hold the
// form's controls, the mail folder tree with the program's own pictures, and a progress bar that
// moves while Convert runs.
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/opt.h"
#include "ui/win32/modal_view.h"
#include "ui/win32/view_support.h"

#include <commctrl.h>

namespace vorn::win32ui {

class OptView : public ModalView {
 public:
  explicit OptView(Opt& form);
  ~OptView() override;

 private:
  HWND Create(HWND owner) override;
  void Sync() override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslate(const MSG& message) override;
  // A control on the page of that tab.
  HWND Add(int tab, const char* windowClass, const std::string& text, DWORD style, int id, const Box& box);
  void CreateSettingsPage();
  void CreateMailStorePage();
  void SyncTree();
  void OnCommand(int id, int code);
  void OnNotify(const NMHDR& header);
  void ChooseTab(int tab);

  Opt& form_;
  HWND tab_ = nullptr;
  std::vector<HWND> pages_[2];
  HWND check_[6] = {};  // Check1 to Check5 by their numbers
  HWND option1_[3] = {}, option2_[2] = {}, option3_[2] = {};
  HWND combo1_ = nullptr, combo2_ = nullptr;
  HWND text1_ = nullptr, text3_ = nullptr, text5_ = nullptr;
  HWND command1_ = nullptr, command4_ = nullptr, command5_ = nullptr, command9_ = nullptr, command10_ = nullptr;
  HWND command8_[6] = {};
  HWND label6_[3] = {}, label7_ = nullptr;
  HWND progress_ = nullptr;
  HWND tree_ = nullptr;
  HIMAGELIST images_ = nullptr;
  std::vector<TreeNode> shownNodes_;  // the nodes the tree control holds, in the form's order
  std::vector<HTREEITEM> items_;
  bool shown_ = false;
};

}  // namespace vorn::win32ui
