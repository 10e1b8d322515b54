#pragma once
// The backup information dialog: the system, Outlook Express and user a set was taken from
// beside the running environment, with a detailed size that adds the paths and the user's id.
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/modal_form.h"

namespace vorn {

class ExInfo : public ModalForm {
 public:
  // fields: the set's information file by line (missing ones stay empty); the current
  // environment is shown as OS kind and Outlook Express version.
  ExInfo(const std::vector<std::string>& fields, std::string osKind, std::string oeVersion);

  void Form_Load() override;
  void Command1_Click(int index);
  bool Detailed() const { return height == kDetailedHeight; }

  static constexpr int kOk = 0;
  static constexpr int kDetail = 1;
  static constexpr int kFieldCount = 8;
  // Sizes in twips, 15 to a pixel at 96 dots per inch.
  static constexpr int kWidth = 8325;
  static constexpr int kNormalHeight = 3225;
  static constexpr int kDetailedHeight = 5505;
  static constexpr int kTwipsPerPixel = 15;
  // The fields of the backup environment frame and of the details panel, in display order.
  static constexpr int kEnvironmentFields[] = {0, 1, 2, 4};
  static constexpr int kDetailFields[] = {3, 5, 6, 7};

  bool loaded = false;
  int width = 0;   // twips
  int height = 0;  // twips
  Frame Frame1{"バックアップ時の環境"};
  Frame Frame2{"現在の環境"};
  Frame Frame3;  // the details panel, below the normal height
  TextBox Text1[kFieldCount];
  std::string Label1[kFieldCount] = {"日時 ：",         "OS ：",    "OE ：",             "StoreRoot [保存先]：",
                                     "ユーザー名 ：", "User ID：", "アドレス帳のパス：", "バックアップ パス："};
  std::string Label2 =
      "現在の環境は、バックアップデータをとった環境と異なっています。"
      "OSが異なる場合は、ダイヤルアップ接続設定をリストアできません。";
  std::string Label3;
  Button Command1[2] = {{"OK(&O)"}, {"詳細表示(&D)"}};

 private:
  std::string osKind_;
  std::string oeVersion_;
};

}  // namespace vorn
