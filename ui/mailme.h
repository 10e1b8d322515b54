#pragma once
// The support mail sheet: the user picks the kind of message, and OK prepares a new mail to the
// support address in the default mail program, its body already listing the user's
// environment. On the 2000 family the sheet fades in when it opens and out when it closes.
#include <string>

#include "ui/controls.h"
#include "ui/modal_form.h"

namespace vorn {

class App;
class Form1;

class Mailme : public ModalForm {
 public:
  // mainWindow: its user list gives the number of Outlook Express users in the mail.
  Mailme(App& app, const Form1& mainWindow);

  void Form_Load() override;
  void Command1_Click(int index);
  void Timer1_Timer();
  // A close request (OK, Cancel or the window's close box): the sheet closes, or on the 2000
  // family first fades out, refusing every request until the fade-out has ended.
  void Unload();
  // Writes the mail URL for the subject into "VornMail.url" in the program folder, replacing
  // the previous one; a failure is not reported (the URL handler then opens what is there).
  void MailSheet(const std::string& subject);

  static constexpr int kOk = 0;
  static constexpr int kCancel = 1;
  static constexpr int kFadeStep = 5;
  static constexpr int kOpaque = 255;
  static constexpr const char* kShortcutName = "VornMail.url";

  OptionGroup Option1{{"Vorn の操作上の質問", "Vorn のエラー報告", "Vorn への要望", "Vorn その他"}, 0};
  Button Command1[2] = {{"OK(&O)"}, {"キャンセル"}};
  Timer Timer1{1, false};

  // The fade: a layered window (2000 family only) shown at alpha, 0 (clear) to 255 (opaque).
  enum class Fade { In, Out };
  bool layered = false;
  int alpha = kOpaque;
  int fadeInLevel = 1;
  int fadeOutLevel = kOpaque;
  Fade direction = Fade::In;
  bool closingConfirmed = false;

 private:
  // True when the close request is refused because the fade-out starts instead.
  bool Form_QueryUnload();
  std::string MailUrl(const std::string& subject);
  std::string ShortcutPath() const;
  App& app_;
  const Form1& mainWindow_;
};

}  // namespace vorn
