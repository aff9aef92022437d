#include "errors.h"

namespace renkomi {

Error CreateFileError(const std::string& path) {
  return Error("ファイル " + path + " を作成できません");
}

Error WriteError() { return Error("ストリームへの書き込みエラー"); }

Error ListIndexError(long long index) {
  return Error("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
}

Error ReadFileError(const std::string& path) {
  return Error("ファイル " + path + " を読み込めません");
}

Error MissingFileError(const std::string& path) {
  return Error("ファイル " + path + " が見つかりません");
}

Error EmptyDictionaryError() { return Error("辞書にことばがひとつもありません。"); }

Error DataAfterNulError(const std::string& path) {
  return Error("ファイル " + path + " を読み込めません (NUL 文字のあとにもデータがあります)");
}

Error UnevenPairError(const std::string& jukugoPath, std::size_t jukugoLines,
                      const std::string& yomiPath, std::size_t yomiLines) {
  return Error("辞書のファイルの行数がそろっていません: " + jukugoPath + " は " +
               std::to_string(jukugoLines) + " 行、" + yomiPath + " は " +
               std::to_string(yomiLines) + " 行です");
}

Error SymbolicLinkError(const std::string& path) {
  return Error("ファイル " + path + " はシンボリックリンクなので辞書に使えません");
}

Error LineBreakInEntryError(const std::string& path) {
  return Error("ファイル " + path + " に書けないことばがあります (改行または NUL 文字)");
}

}  // namespace renkomi
