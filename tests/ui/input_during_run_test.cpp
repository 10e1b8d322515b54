// While a run goes its steps let the window events run; the main window then takes none of its
// own input: no second run, no change of the user or the switches the run reads, no dialog.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/backup/backup_machine.h"
#include "tests/dbx/dbx_writer.h"
#include "ui/form1.h"
#include "ui/opt.h"

namespace vorn {
namespace {

// What the main window's input could change.
auto StateOf(Program& p) {
  const Form1& f = p.form1();
  return std::make_tuple(p.env.selectedIdentityGuid, f.Option1.selected, f.MnWab.checked, f.MnFavo.checked,
                         f.MnLHA.checked, p.extraListFlag);
}

// Each run calls `queueInput` just before it starts and `ended` as soon as it is over.
struct Around {
  std::function<void()> queueInput, ended;
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

// The options window over a main window ready for a backup; `use` runs one of its tools.
void InOptions(BackupMachine& b, const Around& around, const std::function<void(Opt&)>& use) {
  b.StartAndPick(0);
  b.m.host.Expect<Opt>([&](Opt& opt) {
    around.queueInput();
    use(opt);
    around.ended();
  });
  b.m.app->form1().MnOp_Click();
}

void Conversion(BackupMachine& b, const Around& around) {
  test::DbxDescription inbox;
  inbox.messages.resize(2);
  inbox.messages[0].text = inbox.messages[1].text = "m\r\n";
  const std::vector<unsigned char> bytes = test::WriteDbx(inbox).bytes;
  b.m.CreateFile(b.StoreRoot(kTaroGuid) + "\\受信トレイ.dbx", std::string(bytes.begin(), bytes.end()));
  InOptions(b, around, [](Opt& opt) {
    opt.SSTab1_Click(Opt::kMailStoreTab);
    for (size_t node = 0; node < opt.TreeView1.nodes.size(); ++node)
      if (opt.TreeView1.nodes[node].text == "受信トレイ") opt.TreeView1_NodeClick(static_cast<int>(node));
    ASSERT_TRUE(opt.Command5.enabled);
    opt.Command5_Click();
  });
}

void TemporaryFileCleanUp(BackupMachine& b, const Around& around) {
  InOptions(b, around, [](Opt& opt) { opt.Command9_Click(); });
}

TEST(InputDuringARun, TheMainWindowTakesNoneOfItsOwnWhileAnyRunGoes) {
  // The menu commands (Ctrl+O is the options command), OK, 終了, the mode, the user list, the picture.
  const std::vector<void (*)(Form1&)> inputs = {
      [](Form1& f) { f.MnWab_Click(); }, [](Form1& f) { f.MnFavo_Click(); }, [](Form1& f) { f.MnLHA_Click(); },
      [](Form1& f) { f.MnChSave_Click(); }, [](Form1& f) { f.MnOp_Click(); }, [](Form1& f) { f.MnEnd_Click(); },
      [](Form1& f) { f.MnChanger_Click(); }, [](Form1& f) { f.MnMokuji_Click(); }, [](Form1& f) { f.MnMail_Click(); },
      [](Form1& f) { f.Command1_Click(Form1::kOk); }, [](Form1& f) { f.Command1_Click(Form1::kExit); },
      [](Form1& f) { f.Option1_Click(Form1::kBackupMode + Form1::kRestoreMode - f.Option1.selected); },
      [](Form1& f) { f.List1_Click(0), f.List1_Click(1); }, [](Form1& f) { f.Image1_DblClick(); }};
  const std::tuple<const char*, int, void (*)(BackupMachine&, const Around&)> runs[] = {
      {"backup", 1, Backup}, {"restore", 1, Restore}, {"conversion", 0, Conversion},
      {"temporary file clean-up", 0, TemporaryFileCleanUp}};
  for (const auto& [name, ownRuns, start] : runs) {  // ownRuns: the backups and restores OK started
    SCOPED_TRACE(name);
    BackupMachine b;
    b.m.CreateFile("C:\\Program Files\\Vorn\\Ruvelt.exe");
    int windowRuns = 0;
    size_t inputsTaken = 0;
    decltype(StateOf(*b.m.app)) before, after;
    const auto queueInput = [&] {
      Form1& form = b.m.app->form1();
      for (auto* entry : {&form.runBackup, &form.runRestore})
        *entry = [&windowRuns, real = *entry] { ++windowRuns, real(); };
      before = StateOf(*b.m.app);
      for (auto input : inputs)
        b.m.ui.pendingEvents.push_back([&, input] {
          EXPECT_TRUE(form.Busy());
          input(form);
          ++inputsTaken;
        });
    };
    ASSERT_FALSE(EndsProgram([&] { start(b, {queueInput, [&] { after = StateOf(*b.m.app); }}); }));
    EXPECT_EQ(inputsTaken, inputs.size());
    EXPECT_EQ(windowRuns, ownRuns);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(b.m.ui.helpShown.empty());
    EXPECT_LE(b.m.processes.started.size(), 1u);  // at most the backup's own folder window
    EXPECT_FALSE(b.m.app->form1().Busy());
  }
}

}  // namespace
}  // namespace vorn
