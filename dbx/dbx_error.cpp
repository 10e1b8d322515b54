#include "dbx/dbx_error.h"

namespace vorn {

bool IsReadDamage(DbxError error) {
  return error != DbxError::None && error != DbxError::CannotOpen && error != DbxError::CannotCreate &&
         error != DbxError::WriteFailed && error != DbxError::CounterOverflow;
}

int DbxErrorNumber(DbxError error) { return static_cast<int>(error); }

std::string DbxErrorDescription(DbxError error) {
  switch (error) {
    case DbxError::None: return "";
    case DbxError::CannotOpen: return "ファイルを開けません。";
    case DbxError::BadPosition: return "ファイル内の位置が範囲外です。";
    case DbxError::PastEndOfFile: return "ファイルの終わりを越えて読み込もうとしました。";
    case DbxError::ReadFailed: return "ファイルを読み込めません。";
    case DbxError::EmptyBlock: return "メッセージのデータブロックが空です。";
    case DbxError::IndexLoop: return "メッセージの索引が循環しています。";
    case DbxError::IndexTooDeep: return "メッセージの索引の階層が深すぎます。";
    case DbxError::IndexTooLarge: return "メッセージの索引が大きすぎます。";
    case DbxError::BlockLoop: return "メッセージのデータブロックが循環しています。";
    case DbxError::MessageTooLong: return "メッセージがファイルより長くなっています。";
    case DbxError::CounterOverflow: return "オーバーフローしました。";
    case DbxError::CannotCreate: return "ファイルを作成できません。";
    case DbxError::WriteFailed: return "ファイルに書き込めません。";
    case DbxError::IndexShort: return "索引のメッセージが見出しの数より少なくなっています。";
    case DbxError::NegativeCount: return "見出しのメッセージ数が負の数です。";
  }
  return "";
}

}  // namespace vorn
