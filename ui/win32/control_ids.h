#pragma once
// Window classes and control ids of the windows, also used by the smoke test's probe.
namespace vorn::win32ui {

constexpr char kForm1Class[] = "VornForm1";
constexpr char kFrmBkpthClass[] = "VornFrmBkpth";
constexpr char kExInfoClass[] = "VornExInfo";
constexpr char kMailmeClass[] = "VornMailme";
constexpr char kOptClass[] = "VornOpt";

// Form1: OK is the window's default button, so it takes IDOK (1).
constexpr int kForm1Ok = 1;
constexpr int kForm1Exit = 201;
constexpr int kForm1List1 = 202;
constexpr int kForm1Text1 = 203;
constexpr int kForm1Image1 = 204;
constexpr int kForm1Option1First = 210;  // + index 1 and 2 (index 0 is hidden)
// Menu items are numbered from kForm1MenuFirst in menu order, separators included.
constexpr int kForm1MenuFirst = 100;
constexpr int kForm1MenuLHA = kForm1MenuFirst + 3;
constexpr int kForm1MenuChSave = kForm1MenuFirst + 5;
constexpr int kForm1MenuOp = kForm1MenuFirst + 7;
constexpr int kForm1MenuMokuji = kForm1MenuFirst + 12;
constexpr int kForm1MenuMail = kForm1MenuFirst + 14;

// FrmBkpth: OK and キャンセル take IDOK and IDCANCEL.
constexpr int kFrmBkpthOption1First = 301;  // + index
constexpr int kFrmBkpthText1 = 303;
constexpr int kFrmBkpthBrowse = 304;

// ExInfo: OK takes IDOK.
constexpr int kExInfoDetail = 401;
constexpr int kExInfoLabel3 = 402;
constexpr int kExInfoField1First = 410;  // + field index

// Mailme: OK and キャンセル take IDOK and IDCANCEL.
constexpr int kMailmeFrame = 501;
constexpr int kMailmeOption1First = 510;  // + index

// Opt: each control by its form's name, and the tab control; Escape closes the window.
constexpr int kOptTab = 650;
constexpr int kOptCheckFirst = 600;  // + 1 to 5 for Check1 to Check5
constexpr int kOptOption3First = 610;  // + index
constexpr int kOptOption1First = 612;
constexpr int kOptOption2First = 615;
constexpr int kOptCombo2 = 620;
constexpr int kOptCommand9 = 621;
constexpr int kOptText3 = 622;
constexpr int kOptCommand4 = 623;
constexpr int kOptText5 = 624;
constexpr int kOptCommand10 = 625;
constexpr int kOptImage4 = 626;
constexpr int kOptCommand8First = 630;  // + index 2 to 5
constexpr int kOptCombo1 = 640;
constexpr int kOptText1 = 641;
constexpr int kOptTreeView1 = 642;
constexpr int kOptCommand1 = 643;
constexpr int kOptCommand5 = 644;
constexpr int kOptLabel6First = 645;  // + index
constexpr int kOptLabel7 = 648;
constexpr int kOptProgressBar1 = 649;

}  // namespace vorn::win32ui
