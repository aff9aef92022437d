// The engine's failures. Each carries the game's own message (UTF-8, ready for the
// error dialog); the window layer shows it and the program goes on.
#pragma once

#include <stdexcept>
#include <string>

namespace renkomi {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "ファイル %s を作成できません" with the file's full path.
Error CreateFileError(const std::string& path);
// "ストリームへの書き込みエラー"
Error WriteError();
// "リストのインデックスが範囲を超えています (%d)"
Error ListIndexError(long long index);
// "ファイル %s を読み込めません" with the file's full path: it exists but cannot be read.
Error ReadFileError(const std::string& path);
// "ファイル %s が見つかりません" with the file's full path: one file of a pair is missing.
Error MissingFileError(const std::string& path);
// "辞書にことばがひとつもありません。": a match cannot open on an empty dictionary.
Error EmptyDictionaryError();

}  // namespace renkomi
