// While a run goes its steps let the window events run; the main window then takes none of its
// own input: no second run, no change of the user or the switches the run reads, no dialog.
#include <gtest/gtest.h>

#include "tests/backup/backup_machine.h"
#include "tests/dbx/dbx_writer.h"
#include "ui/form1.h"
#include "ui/opt.h"

namespace vorn {
namespace {

// Called by each run: `queueInput` just before it starts, `ended` as soon as it is over.
struct Around {
  std::function<void()> queueInput, ended;
};

// What the main window's input could change; the same after the run as before it.
struct WindowState {
  std::string identity;
  int mode;
  bool switches[3];
  bool extraList;
  bool operator==(const WindowState& other) const {
    return identity == other.identity && mode == other.mode && std::equal(switches, switches + 3, other.switches) &&
           extraList == other.extraList;
  }
};

WindowState StateOf(Program& program) {
  const Form1& form = program.form1();
  return {program.env.selectedIdentityGuid, form.Option1.selected,
          {form.MnWab.checked, form.MnFavo.checked, form.MnLHA.checked}, program.extraListFlag};
}

struct RunKind {
  const char* name;
  int windowRuns;  // backups and restores the OK button started: the run itself, if any
  void (*start)(BackupMachine& b, const Around& around);
};

void Backup(BackupMachine& b, const Around& around) {
  b.StartAndPick(0);
  around.queueInput();
  b.PressOk();
  around.ended();
}

void Restore(BackupMachine& b, const Around& around) {
  b.StartAndPick(0);
  b.PressOk();
  Form1& form = b.m.app->form1();
  form.Option1_Click(Form1::kRestoreMode);
  form.List1_Click(1);
  b.m.ui.pickedFolders = {b.UserFolder()};
  around.queueInput();
  form.Command1_Click(Form1::kOk);
  around.ended();
}

// The options window opened over a main window ready for a backup, its tool run by `use`.
void InOptions(BackupMachine& b, const std::function<void(Opt&)>& use) {
  b.StartAndPick(0);
  b.m.host.Expect<Opt>(use);
  b.m.app->form1().MnOp_Click();
}

void Conversion(BackupMachine& b, const Around& around) {
  test::DbxDescription inbox;
  inbox.messages.resize(2);
  inbox.messages[0].text = "m0\r\n";
  inbox.messages[1].text = "m1\r\n";
  const std::vector<unsigned char> bytes = test::WriteDbx(inbox).bytes;
  b.m.CreateFile(b.StoreRoot(kTaroGuid) + "\\受信トレイ.dbx", std::string(bytes.begin(), bytes.end()));
  InOptions(b, [&](Opt& opt) {
    opt.SSTab1_Click(Opt::kMailStoreTab);
    for (size_t node = 0; node < opt.TreeView1.nodes.size(); ++node)
      if (opt.TreeView1.nodes[node].text == "受信トレイ") opt.TreeView1_NodeClick(static_cast<int>(node));
    ASSERT_TRUE(opt.Command5.enabled);
    around.queueInput();
    opt.Command5_Click();
    around.ended();
  });
}

void TemporaryFileCleanUp(BackupMachine& b, const Around& around) {
  InOptions(b, [&](Opt& opt) {
    around.queueInput();
    opt.Command9_Click();
    around.ended();
  });
}

TEST(InputDuringARun, TheMainWindowTakesNoneOfItsOwnWhileAnyRunGoes) {
  // The menu commands (Ctrl+O is the options command), OK, 終了, the mode and the user list.
  const std::vector<void (*)(Form1&)> inputs = {
      [](Form1& f) { f.MnWab_Click(); },     [](Form1& f) { f.MnFavo_Click(); },
      [](Form1& f) { f.MnLHA_Click(); },     [](Form1& f) { f.MnChSave_Click(); },
      [](Form1& f) { f.MnOp_Click(); },      [](Form1& f) { f.MnEnd_Click(); },
      [](Form1& f) { f.MnChanger_Click(); }, [](Form1& f) { f.MnMokuji_Click(); },
      [](Form1& f) { f.MnMail_Click(); },    [](Form1& f) { f.Command1_Click(Form1::kOk); },
      [](Form1& f) { f.Command1_Click(Form1::kExit); },
      [](Form1& f) { f.Option1_Click(Form1::kBackupMode + Form1::kRestoreMode - f.Option1.selected); },
      [](Form1& f) {
        f.List1_Click(0);
        f.List1_Click(1);
      },
      [](Form1& f) { f.Image1_DblClick(); },
  };
  const RunKind runs[] = {{"backup", 1, Backup},
                      {"restore", 1, Restore},
                      {"conversion", 0, Conversion},
                      {"temporary file clean-up", 0, TemporaryFileCleanUp}};
  for (const RunKind& run : runs) {
    SCOPED_TRACE(run.name);
    BackupMachine b;
    b.m.CreateFile("C:\\Program Files\\Vorn\\Ruvelt.exe");
    int windowRuns = 0;
    size_t inputsTaken = 0;
    WindowState before{}, after{};
    const auto queueInput = [&] {
      Form1& form = b.m.app->form1();
      for (auto* entry : {&form.runBackup, &form.runRestore})
        *entry = [&windowRuns, real = *entry] {
          ++windowRuns;
          real();
        };
      before = StateOf(*b.m.app);
      for (auto input : inputs)
        b.m.ui.pendingEvents.push_back([&, input] {
          EXPECT_TRUE(form.Busy());
          input(form);
          ++inputsTaken;
        });
    };
    const auto ended = [&] { after = StateOf(*b.m.app); };
    ASSERT_FALSE(EndsProgram([&] { run.start(b, {queueInput, ended}); }));  // neither 終了 ended it
    EXPECT_EQ(inputsTaken, inputs.size());
    EXPECT_EQ(windowRuns, run.windowRuns);
    EXPECT_TRUE(after == before);
    EXPECT_TRUE(b.m.ui.helpShown.empty());
    EXPECT_TRUE(b.m.processes.started.size() <= 1u);  // at most the backup's own folder window
    EXPECT_FALSE(b.m.app->form1().Busy());
  }
}

}  // namespace
}  // namespace vorn
