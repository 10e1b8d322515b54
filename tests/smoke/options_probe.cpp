#include "tests/smoke/options_probe.h"

#include <commctrl.h>

#include "tests/smoke/probe_support.h"
#include "ui/win32/control_ids.h"

namespace vorn::probe {
namespace {

namespace ids = vorn::win32ui;

int Number(const std::vector<std::wstring>& arguments, size_t at, int fallback = -1) {
  return at < arguments.size() ? std::stoi(arguments[at]) : fallback;
}

bool Checked(HWND opt, int id) { return SendMessageW(GetDlgItem(opt, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void PrintState(HWND opt) {
  HWND tab = GetDlgItem(opt, ids::kOptTab);
  Print("tab " + std::to_string(SendMessageW(tab, TCM_GETCURSEL, 0, 0)) + "\n");
  for (int n = 1; n <= 5; ++n) {
    HWND box = GetDlgItem(opt, ids::kOptCheckFirst + n);
    Print("check" + std::to_string(n) + " " + (Checked(opt, ids::kOptCheckFirst + n) ? "1" : "0") +
          (GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE ? "" : " hidden") + "\n");
  }
  const std::pair<const char*, std::pair<int, int>> groups[] = {{"option1", {ids::kOptOption1First, 3}},
                                                                {"option2", {ids::kOptOption2First, 2}},
                                                                {"option3", {ids::kOptOption3First, 2}}};
  for (const auto& [name, group] : groups) {
    std::string line = name;
    for (int i = 0; i < group.second; ++i)
      line += std::string(" ") + (Checked(opt, group.first + i) ? "*" : "") +
              (IsWindowEnabled(GetDlgItem(opt, group.first + i)) ? "" : "-") + std::to_string(i);
    Print(line + "\n");
  }
  for (const auto& [name, id] : std::vector<std::pair<const char*, int>>{
           {"combo1", ids::kOptCombo1}, {"combo2", ids::kOptCombo2}, {"text1", ids::kOptText1},
           {"text3", ids::kOptText3}, {"text5", ids::kOptText5}})
    Print(std::string(name) + " " + Text(GetDlgItem(opt, id)) + "\n");
  for (const auto& [name, id] : std::vector<std::pair<const char*, int>>{
           {"command1", ids::kOptCommand1}, {"command4", ids::kOptCommand4}, {"command5", ids::kOptCommand5},
           {"command10", ids::kOptCommand10}})
    Print(std::string(name) + (IsWindowEnabled(GetDlgItem(opt, id)) ? " on\n" : " off\n"));
}

void PrintLabels(HWND opt) {
  for (int i = 0; i < 3; ++i) Print(Text(GetDlgItem(opt, ids::kOptLabel6First + i)) + "\n");
  Print(IsWindowEnabled(GetDlgItem(opt, ids::kOptCommand5)) ? "convert on\n" : "convert off\n");
}

// Walks the tree from its top with the arrow keys, as a user does; `visit` returns false to stop there.
template <typename Visit>
void WalkFolders(HWND opt, Visit visit) {
  HWND tree = GetDlgItem(opt, ids::kOptTreeView1);
  // The keys move a selection; a tree that has none yet starts at its first node.
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  SendMessageW(tree, WM_KEYDOWN, VK_HOME, 0);
  LRESULT at = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
  for (int steps = 0; steps < 10000; ++steps) {
    if (!visit()) return;
    SendMessageW(tree, WM_KEYDOWN, VK_DOWN, 0);
    const LRESULT next = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    if (next == at) return;
    at = next;
  }
}

int ChooseTab(HWND opt, int wanted) {
  HWND tab = GetDlgItem(opt, ids::kOptTab);
  for (int attempt = 0; attempt < 2 && SendMessageW(tab, TCM_GETCURSEL, 0, 0) != wanted; ++attempt)
    SendMessageW(tab, WM_KEYDOWN, wanted > SendMessageW(tab, TCM_GETCURSEL, 0, 0) ? VK_RIGHT : VK_LEFT, 0);
  return SendMessageW(tab, TCM_GETCURSEL, 0, 0) == wanted ? 0 : 1;
}

int AnswerMessage(int seconds) {
  for (int attempt = 0; attempt < seconds * 20; ++attempt) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box && IsWindowVisible(box)) {
      Print(Text(box) + "\n" + Text(GetDlgItem(box, 0xFFFF)) + "\n");
      for (int button : {IDOK, IDYES}) {
        if (!GetDlgItem(box, button)) continue;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        break;
      }
      for (int wait = 0; wait < 100 && IsWindow(box) && IsWindowVisible(box); ++wait) Sleep(50);
      return 0;
    }
    Sleep(50);
  }
  return 1;
}

}  // namespace

int OptionsOperands(const std::wstring& command) {
  if (command == L"opt-option" || command == L"opt-combo") return 2;
  if (command == L"opt-focus-on") return 1;
  if (command == L"opt-tab" || command == L"opt-check" || command == L"opt-folder" || command == L"opt-message") return 1;
  return 0;
}

int RunOptionsCommand(HWND main, const std::wstring& command, const std::vector<std::wstring>& arguments) {
  if (command == L"opt-open") {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(ids::kForm1MenuOp, 0), 0);
    if (!WaitForWindow(ids::kOptClass)) return 1;
    Print("open\n");
    return 0;
  }
  if (command == L"opt-message") return AnswerMessage(Number(arguments, 0));
  HWND opt = FindWindowA(ids::kOptClass, nullptr);
  if (!opt || !IsWindowVisible(opt)) return 1;
  if (command == L"opt-state") {
    PrintState(opt);
  } else if (command == L"opt-tab") {
    return ChooseTab(opt, Number(arguments, 0));
  } else if (command == L"opt-check") {
    HWND box = GetDlgItem(opt, ids::kOptCheckFirst + Number(arguments, 0));
    if (!box) return 1;
    SendMessageW(box, BM_SETCHECK, SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    Notify(opt, GetDlgCtrlID(box), BN_CLICKED);
  } else if (command == L"opt-option") {
    const int first[] = {0, ids::kOptOption1First, ids::kOptOption2First, ids::kOptOption3First};
    const int group = Number(arguments, 0), index = Number(arguments, 1);
    if (group < 1 || group > 3 || index < 0) return 2;
    HWND button = GetDlgItem(opt, first[group] + index);
    if (!button || !IsWindowEnabled(button)) return 1;
    SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    Notify(opt, first[group] + index, BN_CLICKED);
  } else if (command == L"opt-combo") {
    const int id = Number(arguments, 0) == 1 ? ids::kOptCombo1 : ids::kOptCombo2;
    SendMessageW(GetDlgItem(opt, id), CB_SETCURSEL, Number(arguments, 1), 0);
    Notify(opt, id, CBN_SELCHANGE);
  } else if (command == L"opt-focus") {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(opt, nullptr), &thread)) return 1;
    Print(std::to_string(thread.hwndFocus ? GetDlgCtrlID(thread.hwndFocus) : 0) + "\n");
  } else if (command == L"opt-focus-on") {
    HWND control = GetDlgItem(opt, Number(arguments, 0));
    if (!control) return 1;
    PostMessageW(opt, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    Sleep(200);
  } else if (command == L"opt-image4") {
    Notify(opt, ids::kOptImage4, STN_DBLCLK);
  } else if (command == L"opt-folders") {
    WalkFolders(opt, [&] {
      const std::string name = Text(GetDlgItem(opt, ids::kOptLabel6First));
      if (!name.empty())
        Print(name + "|" + Text(GetDlgItem(opt, ids::kOptLabel6First + 1)) + "|" +
              Text(GetDlgItem(opt, ids::kOptLabel6First + 2)) + "\n");
      return true;
    });
  } else if (command == L"opt-folder") {
    if (arguments.empty()) return 2;
    const std::string wanted = Narrow(arguments[0]);
    bool found = false;
    WalkFolders(opt, [&] { return !(found = Text(GetDlgItem(opt, ids::kOptLabel6First)) == wanted); });
    if (!found) return 1;
    PrintLabels(opt);
  } else if (command == L"opt-refresh") {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(opt, WM_COMMAND, MAKEWPARAM(ids::kOptCommand1, BN_CLICKED),
                        reinterpret_cast<LPARAM>(GetDlgItem(opt, ids::kOptCommand1)), SMTO_NORMAL, 60000, &ignored);
  } else if (command == L"opt-convert") {
    PostMessageW(opt, WM_COMMAND, MAKEWPARAM(ids::kOptCommand5, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(opt, ids::kOptCommand5)));
  } else if (command == L"opt-progress") {
    HWND bar = GetDlgItem(opt, ids::kOptProgressBar1);
    Print(std::string(IsWindowVisible(bar) ? "shown " : "hidden ") + std::to_string(SendMessageW(bar, PBM_GETPOS, 0, 0)) +
          " " + std::to_string(SendMessageW(bar, PBM_GETRANGE, FALSE, 0)) + "\n");
  } else if (command == L"opt-close") {
    PostMessageW(opt, WM_COMMAND, MAKEWPARAM(ids::kOptCommand8First + 2, BN_CLICKED), 0);
    if (!WaitUntilGone(ids::kOptClass)) return 1;
    Print("closed\n");
  } else {
    return 2;
  }
  return 0;
}

}  // namespace vorn::probe
