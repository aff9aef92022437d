// The engine's failures. Each carries the game's own message (UTF-8, ready for the
// error dialog); the window layer shows it and the program goes on.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace renkomi {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "ファイル %s を作成できません" with the file's full path; with an errno value, the
// system's reason follows in Japanese.
Error CreateFileError(const std::string& path, int error = 0);
// "ストリームへの書き込みエラー", then the file's full path and the system's reason
// for `error` (an errno value) in Japanese: "ディスクがいっぱいです", say.
Error WriteError(const std::string& path, int error);
// The system's reason for `error` (an errno value), in Japanese.
std::string SystemReason(int error);
// "リストのインデックスが範囲を超えています (%d)"
Error ListIndexError(long long index);
// "ファイル %s を読み込めません" with the file's full path: it exists but cannot be read.
// With a reason, it follows in parentheses (SystemReason for a failed call).
Error ReadFileError(const std::string& path, const std::string& reason = {});
// "ファイル %s が見つかりません" with the file's full path: one file of a pair is missing.
Error MissingFileError(const std::string& path);
// "辞書にことばがひとつもありません。": a match cannot open on an empty dictionary.
Error EmptyDictionaryError();
// A file with data after a NUL byte: it was not written by the game, and reading
// it would lose everything past the NUL.
Error DataAfterNulError(const std::string& path);
// The two files of a dictionary hold different numbers of lines, so no line of
// one can be trusted to belong with the same line of the other.
Error UnevenPairError(const std::string& jukugoPath, std::size_t jukugoLines,
                      const std::string& yomiPath, std::size_t yomiLines);
// A dictionary file far larger than any real dictionary: refused before a byte of
// it is read, so that a stray huge file never holds up the game.
Error TooLargeFileError(const std::string& path, unsigned long long bytes, unsigned long long limit);
// A save that would make a dictionary file larger than a load accepts: nothing is
// written. `dictionary` is the name the player chose, `path` the file that would
// outgrow the limit, `bytes` its size after the save.
Error DictionaryFullError(const std::string& dictionary, const std::string& path, unsigned long long bytes,
                          unsigned long long limit);
// A save cut short whose files neither finish nor undo it: the commit marker and
// the temporary files it names (full paths) are left as they are.
Error UndecidableSaveError(const std::string& marker, const std::string& jukugoTemporary,
                           const std::string& yomiTemporary);
// "フォルダ %s を作成できません" with the folder's full path, then the reason.
Error CreateFolderError(const std::string& path, const std::string& reason);
// Another program held the dictionary's files for longer than any save takes.
Error PairBusyError(const std::string& path);
// A dictionary file that is a symbolic link: the game neither follows it nor
// replaces it.
Error SymbolicLinkError(const std::string& path);
// An entry holding a line break or a NUL, which would shift every later line of
// the file against the other file.
Error LineBreakInEntryError(const std::string& path);
// The player's refusals and start-up failures that the windows report.
// "対戦中は辞書の整理ができません。": the organizer opens only between matches.
Error OrganizerInMatchError();
// "すべてのことばを削除することはできません。": a dictionary keeps one word at least.
Error LastWordsError();
// "ヘルプファイル %s が見つかりません。" with the help file's full path.
Error MissingHelpFileError(const std::string& path);
// The installed game cannot tell the player's home, so it has no folder for the
// dictionaries.
Error UnknownHomeError();

}  // namespace renkomi
