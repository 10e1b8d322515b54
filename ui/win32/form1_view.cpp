#include "ui/win32/form1_view.h"

#include <algorithm>
#include <iterator>

#include "ui/win32/control_ids.h"
#include "ui/win32/view_support.h"

namespace vorn::win32ui {
namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 262;
constexpr int kMenuIdBase = kForm1MenuFirst;

// The menus in order; an entry without an item is a separator.
struct MenuEntry {
  int menu;
  MenuItem Form1::*item;
  void (Form1::*click)();
  const char* shortcut;
};
constexpr const char* kMenuTitles[] = {"設定(&S)", "ﾂｰﾙ(&T)", "ﾍﾙﾌﾟ(&H)"};
constexpr MenuEntry kMenu[] = {
    {0, &Form1::MnWab, &Form1::MnWab_Click, nullptr},
    {0, &Form1::MnFavo, &Form1::MnFavo_Click, nullptr},
    {0, nullptr, nullptr, nullptr},
    {0, &Form1::MnLHA, &Form1::MnLHA_Click, nullptr},
    {0, nullptr, nullptr, nullptr},
    {0, &Form1::MnChSave, &Form1::MnChSave_Click, nullptr},
    {0, nullptr, nullptr, nullptr},
    {0, &Form1::MnOp, &Form1::MnOp_Click, "Ctrl+O"},
    {0, nullptr, nullptr, nullptr},
    {0, &Form1::MnEnd, &Form1::MnEnd_Click, nullptr},
    {1, &Form1::MnChanger, &Form1::MnChanger_Click, nullptr},
    {1, &Form1::MnComp, &Form1::MnComp_Click, nullptr},
    {2, &Form1::MnMokuji, &Form1::MnMokuji_Click, nullptr},
    {2, nullptr, nullptr, nullptr},
    {2, &Form1::MnMail, &Form1::MnMail_Click, nullptr},
};
static_assert(kMenu[kForm1MenuLHA - kMenuIdBase].item == &Form1::MnLHA);
static_assert(kMenu[kForm1MenuChSave - kMenuIdBase].item == &Form1::MnChSave);
static_assert(kMenu[kForm1MenuOp - kMenuIdBase].item == &Form1::MnOp);
static_assert(kMenu[kForm1MenuMokuji - kMenuIdBase].item == &Form1::MnMokuji);
static_assert(kMenu[kForm1MenuMail - kMenuIdBase].item == &Form1::MnMail);

// Windows puts a new main window in the next place of a cascade that starts just inside the
// corner of the work area. Where the system leaves it in the corner itself (Wine does, for a
// window manager to place it, which a virtual desktop lacks), it goes to that first place.
void PlaceAsTheSystemDoes(HWND window) {
  RECT area, frame;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(window, &frame);
  if (frame.left != area.left || frame.top != area.top) return;
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  const int left = std::max<int>(area.left, std::min<int>(area.left + step, area.right - (frame.right - frame.left)));
  const int top = std::max<int>(area.top, std::min<int>(area.top + step, area.bottom - (frame.bottom - frame.top)));
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Form1View::Form1View(Form1& form) : form_(form) {}

void Form1View::Show() {
  if (!window_) Create();
  Sync();
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

void Form1View::Create() {
  static const ATOM registered = RegisterWindowClass(kForm1Class, WindowProc);
  (void)registered;
  menuBar_ = CreateMenuBar();
  window_ = CreateTopLevel(kForm1Class, form_.caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           nullptr, menuBar_, kClientWidth, kClientHeight, this);
  PlaceAsTheSystemDoes(window_);
  form_.hwnd = reinterpret_cast<WindowHandle>(window_);

  image1_ = CreateControl(window_, "STATIC", "", SS_OWNERDRAW | SS_NOTIFY, kForm1Image1, {12, 12, 48, 48});
  // In tab order from the top: the mode, the user list, the Store Root, OK, 終了.
  for (int index = 1; index <= 2; ++index)
    option1_[index] = CreateControl(window_, "BUTTON", form_.Option1.captions[index],
                                    BS_RADIOBUTTON | (index == 1 ? WS_GROUP : 0),
                                    kForm1Option1First + index, {76, 12 + (index - 1) * 26, 200, 22});
  list1_ = CreateControl(window_, "LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP | WS_GROUP, kForm1List1,
                         {12, 70, 376, 116});
  text1_ = CreateControl(window_, "EDIT", "", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, kForm1Text1,
                         {12, 192, 376, 24});
  command1_[Form1::kOk] = CreateControl(window_, "BUTTON", form_.Command1[Form1::kOk].caption,
                                        BS_DEFPUSHBUTTON | WS_TABSTOP, kForm1Ok, {212, 226, 84, 28});
  command1_[Form1::kExit] = CreateControl(window_, "BUTTON", form_.Command1[Form1::kExit].caption,
                                          BS_PUSHBUTTON | WS_TABSTOP, kForm1Exit, {304, 226, 84, 28});

  ACCEL optionsKey{FCONTROL | FVIRTKEY, 'O', static_cast<WORD>(kForm1MenuOp)};
  accelerators_ = CreateAcceleratorTableA(&optionsKey, 1);
}

HMENU Form1View::CreateMenuBar() {
  HMENU bar = CreateMenu();
  HMENU menus[std::size(kMenuTitles)];
  for (auto& menu : menus) menu = CreatePopupMenu();
  for (size_t i = 0; i < std::size(kMenu); ++i) {
    const MenuEntry& entry = kMenu[i];
    if (!entry.item) {
      AppendMenuA(menus[entry.menu], MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = (form_.*entry.item).caption;
    if (entry.shortcut) caption += std::string("\t") + entry.shortcut;
    win32::AppendMenuText(menus[entry.menu], MF_STRING, kMenuIdBase + i, caption);
  }
  for (size_t m = 0; m < std::size(kMenuTitles); ++m)
    win32::AppendMenuText(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menus[m]), kMenuTitles[m]);
  return bar;
}

void Form1View::Sync() {
  if (!window_) return;
  SetWindowTextIfChanged(window_, form_.caption);
  for (size_t i = 0; i < std::size(kMenu); ++i)
    if (kMenu[i].item) SyncMenuItem(menuBar_, kMenuIdBase + static_cast<int>(i), form_.*kMenu[i].item);
  for (int index = 1; index <= 2; ++index) SyncOption(option1_[index], form_.Option1, index, form_.Frame1.enabled, 1);
  SyncListBox(list1_, form_.List1, form_.Frame1.enabled);
  SyncTextBox(text1_, form_.Text1);
  for (int index : {Form1::kOk, Form1::kExit}) SyncButton(command1_[index], form_.Command1[index], true);
}

void Form1View::OnCommand(int id, int code) {
  if (id >= kMenuIdBase && id < kMenuIdBase + static_cast<int>(std::size(kMenu))) {
    const MenuEntry& entry = kMenu[id - kMenuIdBase];
    if (entry.item && (form_.*entry.item).enabled) (form_.*entry.click)();
  } else if (id == kForm1Ok || id == kForm1Exit) {
    int index = id == kForm1Ok ? Form1::kOk : Form1::kExit;
    if (form_.Command1[index].enabled && !form_.Busy()) {
      form_.Command1_Click(index);
      // A run disabled the button that had the focus; once it is over the focus is on OK.
      Sync();
      GiveFocus(window_, command1_[Form1::kOk]);
    }
  } else if (id > kForm1Option1First && id <= kForm1Option1First + 2 && code == BN_CLICKED) {
    form_.Option1_Click(id - kForm1Option1First);
  } else if (id == kForm1List1 && code == LBN_SELCHANGE) {
    form_.List1_Click(static_cast<int>(win32::Send(list1_, LB_GETCURSEL, 0, 0)));
  } else if (id == kForm1Image1 && code == STN_DBLCLK) {
    form_.Image1_DblClick();
  }
  Sync();
}

LRESULT CALLBACK Form1View::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RememberView(window, message, lParam);
  Form1View* view = ViewOf<Form1View>(window);
  if (!view || !view->window_) return win32::DefaultProcedure(window, message, wParam, lParam);
  return view->Handle(message, wParam, lParam);
}

LRESULT Form1View::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      if (wParam == kForm1Image1) {
        DrawEnvelopePicture(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(kForm1Ok, DC_HASDEFID);
    case WM_SETCURSOR:
      if (KeepWaitCursor()) return TRUE;
      break;
    case WM_CLOSE:
      // Closing the main window ends the program, as its Exit menu item does.
      form_.MnEnd_Click();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return win32::DefaultProcedure(window_, message, wParam, lParam);
}

}  // namespace vorn::win32ui
