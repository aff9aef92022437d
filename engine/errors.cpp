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

}  // namespace renkomi
