// The numbers of the character's nineteen message sets, named once for the match
// and for the windows that show them (the texts themselves: ui/message_sets).
#pragma once

namespace renkomi::message_set {

inline constexpr int kIdle = 1;              // between matches; also the window's hint
inline constexpr int kStartHint = 2;         // "はじめる" (tags 2 to 4: the buttons' hints)
inline constexpr int kFinishHint = 3;        // "やめる"
inline constexpr int kTeachHint = 4;         // "おしえる"
inline constexpr int kOpening = 5;           // the computer's opening word
inline constexpr int kLossBrokenChain = 6;
inline constexpr int kLossAlreadyUsed = 7;
inline constexpr int kWin = 8;
inline constexpr int kJukugoRefused = 9;     // not kanji only
inline constexpr int kReadingRefused = 10;   // not hiragana only
inline constexpr int kReadingWanted = 11;    // the jukugo was taken: now its reading
inline constexpr int kFirstReply = 12;       // 12 to 15, drawn for each reply
inline constexpr int kTeachNotChained = 16;
inline constexpr int kLossSurrender = 17;
inline constexpr int kSharedDictionary = 18; // "みんなの辞書を使う" chosen
inline constexpr int kOwnDictionary = 19;    // "自分の辞書を使う" chosen

}  // namespace renkomi::message_set
