#include "ui/win32/opt_view.h"

#include "ui/win32/control_ids.h"
#include "ui/win32/folder_images.h"
#include "ui/win32/view_support.h"

namespace vorn::win32ui {
namespace {

constexpr int kClientWidth = 660;
constexpr int kClientHeight = 446;
constexpr int kNoId = -1;

constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kFrame = BS_GROUPBOX;

[[maybe_unused]] const bool kRegistered = RegisterModalView<Opt, OptView>();

// Draws a control without visual styles. uxtheme.dll came with XP; on the systems before it
// every control is drawn that way already, so it is looked up, not imported.
void WithoutVisualStyles(HWND control) {
  using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setWindowTheme = [] {
    HMODULE module = LoadLibraryA("uxtheme.dll");
    return module ? reinterpret_cast<SetWindowThemeFunction>(reinterpret_cast<void*>(GetProcAddress(module, "SetWindowTheme")))
                  : nullptr;
  }();
  if (setWindowTheme) setWindowTheme(control, L" ", L" ");
}

}  // namespace

OptView::OptView(Opt& form) : ModalView(form), form_(form) {}

OptView::~OptView() {
  form_.showNow = nullptr;
  if (images_) ImageList_Destroy(images_);
}

HWND OptView::Add(int tab, const char* windowClass, const std::string& text, DWORD style, int id, const Box& box) {
  HWND control = CreateControl(window_, windowClass, text, style, id, box);
  pages_[tab].push_back(control);
  return control;
}

HWND OptView::Create(HWND owner) {
  CreateDialogWindow(kOptClass, form_.caption, owner, kClientWidth, kClientHeight);
  CreateSettingsPage();
  CreateMailStorePage();
  // Below the pages' controls in the z-order, and clipped by them, so it never paints over them.
  tab_ = CreateControl(window_, WC_TABCONTROLA, "", WS_CLIPSIBLINGS | WS_TABSTOP, kOptTab,
                       {8, 8, kClientWidth - 16, kClientHeight - 16});
  // The classic page is the dialog's own colour; a themed page shows through in the gaps between
  // the controls of the other page.
  WithoutVisualStyles(tab_);
  for (size_t i = 0; i < form_.SSTab1.captions.size(); ++i) InsertTab(tab_, static_cast<int>(i), form_.SSTab1.captions[i]);
  form_.showNow = [this] {
    Sync();
    UpdateWindow(window_);
  };
  return check_[1];
}

void OptView::CreateSettingsPage() {
  const int tab = Opt::kSettingsTab;
  Add(tab, "BUTTON", "Vorn", kFrame, kNoId, {20, 40, 344, 98});
  check_[1] = Add(tab, "BUTTON", form_.Check1.caption, kCheck | WS_GROUP, kOptCheckFirst + 1, {30, 60, 330, 22});
  check_[5] = Add(tab, "BUTTON", form_.Check5.caption, kCheck, kOptCheckFirst + 5, {30, 84, 330, 22});
  check_[2] = Add(tab, "BUTTON", form_.Check2.caption, kCheck, kOptCheckFirst + 2, {30, 108, 330, 22});

  Add(tab, "BUTTON", "アドレス帳 / お気に入り の保存オプション(&P)", kFrame, kNoId, {20, 146, 344, 118});
  for (int i = 0; i < 2; ++i)
    option3_[i] = Add(tab, "BUTTON", form_.Option3.captions[static_cast<size_t>(i)],
                      BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), kOptOption3First + i,
                      {30 + i * 150, 166, 146, 22});
  check_[3] = Add(tab, "BUTTON", form_.Check3.caption, kCheck | WS_GROUP, kOptCheckFirst + 3, {30, 194, 330, 22});
  check_[4] = Add(tab, "BUTTON", form_.Check4.caption, kCheck, kOptCheckFirst + 4, {30, 220, 330, 22});

  Add(tab, "BUTTON", "アドレス帳の保存場所の変更(&W)", kFrame, kNoId, {20, 272, 344, 58});
  text3_ = Add(tab, "EDIT", "", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kOptText3, {30, 294, 244, 24});
  command4_ = Add(tab, "BUTTON", form_.Command4.caption, kPush, kOptCommand4, {280, 293, 76, 26});
  Add(tab, "BUTTON", "お気に入りの保存場所の変更(&F)", kFrame, kNoId, {20, 338, 344, 58});
  text5_ = Add(tab, "EDIT", "", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kOptText5, {30, 360, 244, 24});
  command10_ = Add(tab, "BUTTON", form_.Command10.caption, kPush, kOptCommand10, {280, 359, 76, 26});

  Add(tab, "BUTTON", "OE", kFrame, kNoId, {376, 40, 264, 304});
  combo2_ = Add(tab, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, kOptCombo2,
                {388, 62, 240, 200});
  command9_ = Add(tab, "BUTTON", form_.Command9.caption, kPush, kOptCommand9, {388, 94, 240, 28});
  Add(tab, "BUTTON", "画像スライドショー機能の変更(&S)", kFrame, kNoId, {388, 132, 240, 104});
  for (int i = 0; i < 3; ++i)
    option1_[i] = Add(tab, "BUTTON", form_.Option1.captions[static_cast<size_t>(i)],
                      BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), kOptOption1First + i,
                      {400, 154 + i * 26, 220, 22});
  Add(tab, "BUTTON", "OE 起動ロゴ(&L)", kFrame, kNoId, {388, 244, 240, 88});
  for (int i = 0; i < 2; ++i)
    option2_[i] = Add(tab, "BUTTON", form_.Option2.captions[static_cast<size_t>(i)],
                      BS_AUTORADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), kOptOption2First + i,
                      {400, 266 + i * 26, 220, 22});

  Add(tab, "STATIC", "", SS_OWNERDRAW | SS_NOTIFY, kOptImage4, {376, 356, 40, 40});
  command8_[Opt::kClose] = Add(tab, "BUTTON", form_.Command8[Opt::kClose].caption, kPush | WS_GROUP,
                               kOptCommand8First + Opt::kClose, {464, 400, 84, 28});
  command8_[Opt::kHelp] = Add(tab, "BUTTON", form_.Command8[Opt::kHelp].caption, kPush,
                              kOptCommand8First + Opt::kHelp, {556, 400, 84, 28});
}

void OptView::CreateMailStorePage() {
  const int tab = Opt::kMailStoreTab;
  Add(tab, "STATIC", "ユーザー(&U):", SS_LEFT, kNoId, {20, 46, 76, 20});
  combo1_ = Add(tab, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, kOptCombo1,
                {98, 42, 190, 200});
  Add(tab, "STATIC", "Store Root:", SS_LEFT, kNoId, {300, 46, 74, 20});
  text1_ = Add(tab, "EDIT", "", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kOptText1, {376, 42, 264, 24});
  tree_ = Add(tab, WC_TREEVIEWA, "",
              TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | WS_GROUP,
              kOptTreeView1, {20, 76, 300, 316});
  images_ = CreateFolderImageList();
  win32::Send(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
  Add(tab, "BUTTON", "フォルダ情報", kFrame, kNoId, {332, 76, 308, 108});
  for (int i = 0; i < 3; ++i)
    label6_[i] = Add(tab, "STATIC", "", SS_LEFT | SS_NOPREFIX, kOptLabel6First + i, {346, 98 + i * 26, 282, 20});
  label7_ = Add(tab, "STATIC", form_.Label7.caption, SS_LEFT, kOptLabel7, {346, 194, 200, 20});
  command1_ = Add(tab, "BUTTON", form_.Command1.caption, kPush | WS_GROUP, kOptCommand1, {332, 220, 110, 28});
  command5_ = Add(tab, "BUTTON", form_.Command5.caption, kPush, kOptCommand5, {452, 220, 110, 28});
  progress_ = Add(tab, PROGRESS_CLASSA, "", PBS_SMOOTH | WS_BORDER, kOptProgressBar1, {332, 262, 308, 20});
  // Without visual styles the bar shows the colour the run asks for.
  WithoutVisualStyles(progress_);
  command8_[Opt::kMailStoreClose] = Add(tab, "BUTTON", form_.Command8[Opt::kMailStoreClose].caption,
                                        kPush | WS_GROUP, kOptCommand8First + Opt::kMailStoreClose, {464, 400, 84, 28});
  command8_[Opt::kMailStoreHelp] = Add(tab, "BUTTON", form_.Command8[Opt::kMailStoreHelp].caption, kPush,
                                       kOptCommand8First + Opt::kMailStoreHelp, {556, 400, 84, 28});
}

void OptView::Sync() {
  if (!window_) return;
  const bool input = !form_.working;
  const int tab = form_.SSTab1.selected;
  if (win32::Send(tab_, TCM_GETCURSEL, 0, 0) != tab) win32::Send(tab_, TCM_SETCURSEL, tab, 0);
  for (int page = 0; page < 2; ++page)
    for (HWND control : pages_[page])
      if (page != tab) SyncEnabledVisible(control, IsWindowEnabled(control), false);

  if (tab == Opt::kSettingsTab) {
    const CheckBox* checks[6] = {nullptr, &form_.Check1, &form_.Check2, &form_.Check3, &form_.Check4, &form_.Check5};
    for (int n = 1; n <= 5; ++n) SyncCheckBox(check_[n], *checks[n], input);
    for (int i = 0; i < 3; ++i) SyncOption(option1_[i], form_.Option1, i);
    for (int i = 0; i < 2; ++i) SyncOption(option2_[i], form_.Option2, i);
    for (int i = 0; i < 2; ++i) SyncOption(option3_[i], form_.Option3, i);
    SyncComboBox(combo2_, form_.Combo2, input);
    SyncPathBox(text3_, form_.Text3);
    SyncPathBox(text5_, form_.Text5);
    SyncButton(command4_, form_.Command4, input);
    SyncButton(command10_, form_.Command10, input);
    SyncButton(command9_, form_.Command9, input);
    for (int index : {Opt::kClose, Opt::kHelp}) SyncButton(command8_[index], form_.Command8[index], input);
    for (HWND control : pages_[tab])
      if (GetDlgCtrlID(control) == kNoId || GetDlgCtrlID(control) == kOptImage4) SyncEnabledVisible(control, true, true);
    return;
  }
  SyncComboBox(combo1_, form_.Combo1, input);
  SyncPathBox(text1_, form_.Text1);
  SyncTree();
  SyncEnabledVisible(tree_, input, true);
  for (int i = 0; i < 3; ++i) SyncLabel(label6_[i], form_.Label6[i]);
  SyncLabel(label7_, form_.Label7);
  SyncButton(command1_, form_.Command1, input);
  SyncButton(command5_, form_.Command5, input);
  for (int index : {Opt::kMailStoreClose, Opt::kMailStoreHelp}) SyncButton(command8_[index], form_.Command8[index], input);
  const ProgressBar& bar = form_.ProgressBar1;
  win32::Send(progress_, PBM_SETRANGE32, 0, std::max<int32_t>(bar.maximum, 1));
  win32::Send(progress_, PBM_SETBARCOLOR, 0, bar.barColor ? static_cast<LPARAM>(bar.barColor) : CLR_DEFAULT);
  win32::Send(progress_, PBM_SETPOS, bar.value, 0);
  SyncEnabledVisible(progress_, true, bar.visible);
  for (HWND control : pages_[tab])
    if (GetDlgCtrlID(control) == kNoId) SyncEnabledVisible(control, true, true);
}

void OptView::SyncTree() {
  const TreeView& tree = form_.TreeView1;
  if (tree.nodes != shownNodes_) {
    win32::Send(tree_, WM_SETREDRAW, FALSE, 0);
    win32::Send(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    items_.clear();
    for (size_t i = 0; i < tree.nodes.size(); ++i) {
      const TreeNode& node = tree.nodes[i];
      TVINSERTSTRUCTA insert{};
      insert.hParent = node.parent >= 0 ? items_[static_cast<size_t>(node.parent)] : TVI_ROOT;
      insert.hInsertAfter = TVI_LAST;
      insert.item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
      insert.item.iImage = insert.item.iSelectedImage = FolderImageIndex(node.imageKey);
      insert.item.lParam = static_cast<LPARAM>(i);
      items_.push_back(InsertTreeItem(tree_, insert, node.text));
    }
    for (size_t i = 0; i < tree.nodes.size(); ++i)
      if (tree.nodes[i].expanded) win32::Send(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(items_[i]));
    shownNodes_ = tree.nodes;
    win32::Send(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
  }
  HTREEITEM wanted = tree.selected >= 0 && tree.selected < static_cast<int>(items_.size())
                         ? items_[static_cast<size_t>(tree.selected)]
                         : nullptr;
  if (reinterpret_cast<HTREEITEM>(win32::Send(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0)) != wanted)
    win32::Send(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(wanted));
}

void OptView::ChooseTab(int tab) {
  form_.SSTab1_Click(tab);
  Sync();
  if (tab == Opt::kSettingsTab)
    for (HWND text : {text3_, text5_}) ShowPathEnd(text);
}

bool OptView::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000) || form_.Busy()) return false;
  if (message.wParam != VK_TAB && message.wParam != VK_PRIOR && message.wParam != VK_NEXT) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  ChooseTab(1 - form_.SSTab1.selected);
  SetFocus(tab_);
  return true;
}

void OptView::OnCommand(int id, int code) {
  if (form_.Busy()) return;
  if (id > kOptCheckFirst && id <= kOptCheckFirst + 5) {
    if (code != BN_CLICKED) return;
    const int n = id - kOptCheckFirst;
    CheckBox* boxes[6] = {nullptr, &form_.Check1, &form_.Check2, &form_.Check3, &form_.Check4, &form_.Check5};
    void (Opt::*clicks[6])() = {nullptr, &Opt::Check1_Click, &Opt::Check2_Click, &Opt::Check3_Click,
                                &Opt::Check4_Click, &Opt::Check5_Click};
    boxes[n]->checked = win32::Send(check_[n], BM_GETCHECK, 0, 0) == BST_CHECKED;
    (form_.*clicks[n])();
  } else if (id >= kOptOption3First && id < kOptOption3First + 2) {
    if (code == BN_CLICKED) form_.Option3_Click(id - kOptOption3First);
  } else if (id >= kOptOption1First && id < kOptOption1First + 3) {
    if (code == BN_CLICKED) form_.Option1_Click(id - kOptOption1First);
  } else if (id >= kOptOption2First && id < kOptOption2First + 2) {
    if (code == BN_CLICKED) form_.Option2_Click(id - kOptOption2First);
  } else if (id == kOptCombo1 || id == kOptCombo2) {
    if (code != CBN_SELCHANGE) return;
    const int index = static_cast<int>(win32::Send(id == kOptCombo1 ? combo1_ : combo2_, CB_GETCURSEL, 0, 0));
    id == kOptCombo1 ? form_.Combo1_Click(index) : form_.Combo2_Click(index);
  } else if (id >= kOptCommand8First + Opt::kClose && id <= kOptCommand8First + Opt::kMailStoreHelp) {
    form_.Command8_Click(id - kOptCommand8First);
  } else if (id == IDCANCEL) {
    form_.Command8_Click(form_.SSTab1.selected == Opt::kSettingsTab ? Opt::kClose : Opt::kMailStoreClose);
  } else if (id == kOptImage4) {
    if (code == STN_DBLCLK) form_.Image4_DblClick();
  } else if (code == BN_CLICKED) {
    struct ButtonClick {
      int id;
      const Button Opt::*button;
      void (Opt::*click)();
    };
    static constexpr ButtonClick kButtons[] = {
        {kOptCommand1, &Opt::Command1, &Opt::Command1_Click}, {kOptCommand4, &Opt::Command4, &Opt::Command4_Click},
        {kOptCommand5, &Opt::Command5, &Opt::Command5_Click}, {kOptCommand9, &Opt::Command9, &Opt::Command9_Click},
        {kOptCommand10, &Opt::Command10, &Opt::Command10_Click}};
    for (const auto& button : kButtons)
      if (button.id == id && (form_.*button.button).enabled) (form_.*button.click)();
  }
  if (!form_.closed) Sync();
}

void OptView::OnNotify(const NMHDR& header) {
  if (header.idFrom == kOptTab && header.code == TCN_SELCHANGE) {
    ChooseTab(static_cast<int>(win32::Send(tab_, TCM_GETCURSEL, 0, 0)));
  } else if (header.idFrom == kOptTab && header.code == TCN_SELCHANGING) {
    // No change of page while a scan or a run is under way.
  } else if (header.idFrom == kOptTreeView1 && IsTreeSelectionChange(header)) {
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    // Changes the view makes itself (rebuilding the tree, following the form) are not clicks.
    if (form_.Busy() || (change.action != TVC_BYMOUSE && change.action != TVC_BYKEYBOARD)) return;
    form_.TreeView1_NodeClick(static_cast<int>(change.itemNew.lParam));
    Sync();
  }
}

LRESULT OptView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom == kOptTab && header.code == TCN_SELCHANGING) return form_.Busy() ? TRUE : FALSE;
      OnNotify(header);
      return 0;
    }
    case WM_DRAWITEM:
      if (wParam == kOptImage4) {
        DrawEnvelopePicture(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_SHOWWINDOW:
      // The window's first showing is a resize of the form.
      if (wParam && !shown_) {
        shown_ = true;
        form_.Form_Resize();
      }
      break;
    case WM_SIZE:
      if (shown_ && wParam != SIZE_MINIMIZED) form_.Form_Resize();
      break;
    case WM_CLOSE:
      if (!form_.Busy()) OnCommand(IDCANCEL, BN_CLICKED);
      return 0;
  }
  return win32::DefaultProcedure(window_, message, wParam, lParam);
}

}  // namespace vorn::win32ui
