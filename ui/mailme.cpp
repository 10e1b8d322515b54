#include "ui/mailme.h"

#include "core/app.h"
#include "core/environment_discovery.h"
#include "platform/internet_shortcut.h"
#include "ui/form1.h"
#include "ui/support_address.h"

namespace vorn {

Mailme::Mailme(App& app, const Form1& mainWindow)
    : ModalForm("作者への問い合わせ ..."), app_(app), mainWindow_(mainWindow) {}

void Mailme::Form_Load() {
  layered = app_.env.IsNt();
  if (!layered) return;
  alpha = 1;
  fadeInLevel = 1;
  direction = Fade::In;
  closingConfirmed = false;
  Timer1.enabled = true;
}

void Mailme::Timer1_Timer() {
  if (direction == Fade::In) {
    fadeInLevel += kFadeStep;
    if (fadeInLevel > kOpaque) {
      Timer1.enabled = false;
      return;
    }
    alpha = fadeInLevel;
    return;
  }
  fadeOutLevel -= kFadeStep;
  if (fadeOutLevel < 0) {
    Timer1.enabled = false;
    closingConfirmed = true;
    Unload();
    return;
  }
  alpha = fadeOutLevel;
}

bool Mailme::Form_QueryUnload() {
  if (!layered) return false;
  fadeOutLevel = kOpaque;
  direction = Fade::Out;
  if (closingConfirmed) return false;
  Timer1.enabled = true;
  return true;
}

void Mailme::Unload() {
  if (!Form_QueryUnload()) closed = true;
}

void Mailme::Command1_Click(int index) {
  // Once the sheet is closing, a second OK would prepare a second mail.
  if (direction == Fade::Out || closed) return;
  if (index == kOk) {
    MailSheet(Option1.captions[Option1.selected]);
    app_.platform.processes.Start(app_.env.systemFolder + "\\rundll32.exe url.dll,FileProtocolHandler " + ShortcutPath(),
                                  WindowStyle::Normal);
  }
  Unload();
}

std::string Mailme::ShortcutPath() const { return app_.ProgramFolder() + "\\" + kShortcutName; }

std::string Mailme::MailUrl(const std::string& subject) {
  const Clock& clock = app_.platform.clock;
  // The kind is otherwise determined only by a backup or a restore; the mail needs it now.
  const std::string osKind = DetectOsKind(app_.platform.environment, app_.env);
  const std::string sibling =
      app_.FileExists(app_.ProgramFolder() + "\\Ruvelt.exe") ? "Ruvelt.exe 有り" : "Ruvelt.exe 無し";
  return std::string("mailto:") + kSupportAddress + "?Subject=" + subject + " <" + clock.FormatDateTime(clock.Now()) +
         ">" + "&BODY=" + "《 ユーザー様の環境 》" + "%0A OS:" + osKind + ", OEのバージョン:" + app_.env.oeVersion +
         ", OEのユーザー数:" + std::to_string(mainWindow_.List1.items.size()) + "%0A " + sibling +
         "%0A%0A ウィルス対策ソフトを導入されている" + "場合は、%0A ソフト名とバージョンを記載して下さい｡ (オプション)" +
         "%0A【ソフト名  】:%0A【バージョン】:" + "%0A" + std::string(59, '-') + "%0A'以下に内容をお書き下さい。";
}

void Mailme::MailSheet(const std::string& subject) {
  WriteInternetShortcut(app_.platform.files, ShortcutPath(), MailUrl(subject));
}

}  // namespace vorn
