#pragma once
// Window classes and control ids of the main window, also used by the smoke test's probe.
namespace vorn::win32ui {

constexpr wchar_t kForm1Class[] = L"VornForm1";
constexpr wchar_t kFrmBkpthClass[] = L"VornFrmBkpth";

// Form1: OK is the window's default button, so it takes IDOK (1).
constexpr int kForm1Ok = 1;
constexpr int kForm1Exit = 201;
constexpr int kForm1List1 = 202;
constexpr int kForm1Text1 = 203;
constexpr int kForm1Image1 = 204;
constexpr int kForm1Option1First = 210;  // + index 1 and 2 (index 0 is hidden)

}  // namespace vorn::win32ui
