// The collection of help contexts from the code: every form the program uses, what must not
// count, and what must be reported rather than skipped.
#include <gtest/gtest.h>

#include "tests/help/help_context_scan.h"

namespace vorn::test {
namespace {

struct ScanCase {
  const char* what;
  std::map<std::string, std::string> sources;
  std::vector<int> contexts;
  size_t notUnderstood = 0;
};

std::vector<int> Contexts(const HelpContextScan& scan) {
  std::vector<int> contexts;
  for (const auto& [context, uses] : scan.contexts) contexts.push_back(context);
  return contexts;
}

TEST(HelpContextScan, FindsTheContextsOfMessagesAndViewerCalls) {
  const std::vector<ScanCase> cases = {
      {"message initializer", {{"a.cpp", "app.ShowMessage({\"t\", \"x\", MsgIcon::Warning, MsgButtons::Ok, 9});"}}, {9}},
      {"initializer over lines, constant in another file",
       {{"a.cpp", "app.ShowMessage({text,\n  \"x\", MsgIcon::Critical,\n  MsgButtons::YesNo, kCheck});"},
        {"b.h", "inline constexpr int kCheck = 13;"}},
       {13}},
      {"assignment and designated initializer",
       {{"a.cpp", "static constexpr int kScan = 18;\nmessage.helpContext = kScan;\nMessage m{.helpContext = 0x7, .text = t};"}},
       {7, 18}},
      {"viewer call, qualified constant and a choice",
       {{"a.cpp", "ui.ShowHelp(hwnd, app_.HelpFile(), Form1::kContents);\n"
                  "app_->platform.ui.ShowHelp(h, HelpFile(), index == 3 ? kFirst : 1080);"},
        {"a.h", "static constexpr int kContents = 1060;\nconst int kFirst = 1070;"}},
       {1060, 1070, 1080}},
      {"comments, strings, declarations, pass-throughs and no context",
       {{"a.cpp", "// ui.ShowHelp(h, f, 99);\n/* message.helpContext = 98; */\nLog(\"ui.ShowHelp(h, f, 97);\");\n"
                  "void ShowHelp(WindowHandle owner, const std::string& f, int context) override;\n"
                  "void Sim::ShowHelp(WindowHandle, const std::string& f, int c) { shown.push_back(c); }\n"
                  "spec.helpContext = message.helpContext;\nint helpContext = 0;\n"
                  "MessageSpec s{t, x, MsgIcon::None, MsgButtons::Ok, false};\nint n = 1'000;"}},
       {}},
      {"what cannot be told is reported",
       {{"a.cpp", "message.helpContext = ContextFor(id);\nui.ShowHelp(h, f, context);\n"
                  "app.ShowMessage({t, x, MsgIcon::None, MsgButtons::Ok, kTwice});"},
        {"b.cpp", "constexpr int kTwice = 1;"},
        {"c.cpp", "constexpr int kTwice = 2;"}},
       {},
       3},
  };
  for (const auto& scanCase : cases) {
    SCOPED_TRACE(scanCase.what);
    const HelpContextScan scan = ScanHelpContexts(scanCase.sources);
    EXPECT_EQ(Contexts(scan), scanCase.contexts);
    EXPECT_EQ(scan.notUnderstood.size(), scanCase.notUnderstood) << ::testing::PrintToString(scan.notUnderstood);
  }
}

TEST(HelpContextScan, SaysWhereEachContextIsUsed) {
  const HelpContextScan scan = ScanHelpContexts(
      {{"ui/form.cpp", "void F() {\n  \"{\";\n  app.ShowMessage({\"a\", \"b\",\n    MsgIcon::None, MsgButtons::Ok, 4});\n}\n"},
       {"ui/other.cpp", "x.helpContext = 4;"}});
  EXPECT_EQ(scan.contexts.at(4), (std::vector<std::string>{"ui/form.cpp:4", "ui/other.cpp:1"}));
  const HelpContextScan unclear = ScanHelpContexts({{"a.cpp", "\n\nui.ShowHelp(h, f, n);"}});
  EXPECT_EQ(unclear.notUnderstood, (std::vector<std::string>{"a.cpp:3: n"}));
}

}  // namespace
}  // namespace vorn::test
