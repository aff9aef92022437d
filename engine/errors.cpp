#include "errors.h"

#include <cerrno>
#include <cstring>

namespace renkomi {


std::string SystemReason(int error) {
  switch (error) {
    case ENOSPC: return "ディスクがいっぱいです";
    case EDQUOT: return "ディスクの使用量が割り当ての上限に達しました";
    case EFBIG: return "ファイルサイズの上限を超えました";
    case EIO: return "ディスクの読み書きに失敗しました";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EACCES:
    case EPERM: return "アクセスが許可されていません";
    case ENOENT: return "ファイルまたはフォルダがありません";
    case ENOTDIR: return "フォルダではありません";
    case EISDIR: return "フォルダです";
    case ELOOP: return "シンボリックリンクです";
    case ENAMETOOLONG: return "名前が長すぎます";
    case EEXIST: return "同じ名前のファイルがすでにあります";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENOMEM: return "メモリが足りません";
    case EBUSY:
    case ETXTBSY: return "ほかのプログラムが使用中です";
    case EXDEV: return "別のディスクにあります";
    case ESTALE: return "ネットワーク上のファイルが見つからなくなりました";
    default: break;
  }
  // A reason the game has no words for is still given, as the system says it.
  return "システムのエラー " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

Error CreateFileError(const std::string& path, int error) {
  std::string message = "ファイル " + path + " を作成できません";
  if (error != 0) message += " (" + SystemReason(error) + ")";
  return Error(message);
}

Error WriteError(const std::string& path, int error) {
  return Error("ストリームへの書き込みエラー: " + path + " (" + SystemReason(error) + ")");
}

Error TooLargeFileError(const std::string& path, unsigned long long bytes, unsigned long long limit) {
  return Error("ファイル " + path + " は大きすぎるので辞書に使えません (" + std::to_string(bytes) +
               " バイト。辞書のファイルは " + std::to_string(limit / (1024 * 1024)) +
               " MB まで)");
}

Error DictionaryFullError(const std::string& dictionary, const std::string& path, unsigned long long bytes,
                          unsigned long long limit) {
  return Error("辞書「" + dictionary + "」がいっぱいです。保存すると " + path + " が " + std::to_string(bytes) +
               " バイトになり、辞書のファイルの上限 " + std::to_string(limit / (1024 * 1024)) +
               " MB を超えるため、保存していません。辞書の整理でことばを削除すると保存できます");
}

Error UndecidableSaveError(const std::string& marker, const std::string& jukugoTemporary,
                           const std::string& yomiTemporary) {
  return Error("辞書の前回の保存が途中で終わっていますが、仕上げることも取り消すこともできません。" + marker +
               "、" + jukugoTemporary + "、" + yomiTemporary + " と辞書のファイルは、そのまま残しています");
}

Error CreateFolderError(const std::string& path, const std::string& reason) {
  return Error("フォルダ " + path + " を作成できません (" + reason + ")");
}

Error PairBusyError(const std::string& path) {
  return Error("ファイル " + path + " をほかのプログラムが使用中のため、辞書を読み書きできません");
}

Error ListIndexError(long long index) {
  return Error("リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
}

Error ReadFileError(const std::string& path, const std::string& reason) {
  return Error("ファイル " + path + " を読み込めません" + (reason.empty() ? "" : " (" + reason + ")"));
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

Error OrganizerInMatchError() { return Error("対戦中は辞書の整理ができません。"); }

Error LastWordsError() { return Error("すべてのことばを削除することはできません。"); }

Error MissingHelpFileError(const std::string& path) { return Error("ヘルプファイル " + path + " が見つかりません。"); }

Error UnknownHomeError() {
  return Error("ホームフォルダが分からないため、辞書を置くフォルダを決められません。");
}

}  // namespace renkomi
