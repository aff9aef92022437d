// The game's own fixed texts, as the CP932 bytes the word rules work on.
// Each constant carries its text in the comment above it; a test checks every one
// against the converter so that a slip in the escapes cannot go unnoticed.
#pragma once

#include <string_view>

namespace renkomi::texts {

// "こうさん" — The surrender word, typed as the jukugo.
inline constexpr std::string_view kKousan{"\x82\xB1\x82\xA4\x82\xB3\x82\xF1", 8};
// "じゅくごをおしえて" — Title of the word entry dialog while teaching.
inline constexpr std::string_view kTeachCaption{"\x82\xB6\x82\xE3\x82\xAD\x82\xB2\x82\xF0\x82\xA8\x82\xB5\x82\xA6\x82\xC4", 18};
// "新しいことばを入れて下さい。" — Prompt for teaching between matches.
inline constexpr std::string_view kTeachPromptFree{"\x90\x56\x82\xB5\x82\xA2\x82\xB1\x82\xC6\x82\xCE\x82\xF0\x93\xFC\x82\xEA\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x42", 28};
// " につづくことばを入れてね。" — Follows the word to be continued after a win.
inline constexpr std::string_view kTeachPromptSuffix{" \x82\xC9\x82\xC2\x82\xC3\x82\xAD\x82\xB1\x82\xC6\x82\xCE\x82\xF0\x93\xFC\x82\xEA\x82\xC4\x82\xCB\x81\x42", 27};
// "あなたの勝ちです。"
inline constexpr std::string_view kWinInformation{"\x82\xA0\x82\xC8\x82\xBD\x82\xCC\x8F\x9F\x82\xBF\x82\xC5\x82\xB7\x81\x42", 18};
// " に続くことばをおしえてくれますか？" — Follows the player's winning word.
inline constexpr std::string_view kWinQuestionSuffix{" \x82\xC9\x91\xB1\x82\xAD\x82\xB1\x82\xC6\x82\xCE\x82\xF0\x82\xA8\x82\xB5\x82\xA6\x82\xC4\x82\xAD\x82\xEA\x82\xDC\x82\xB7\x82\xA9\x81\x48", 35};
// "あなたの負けです。"
inline constexpr std::string_view kLoseInformation{"\x82\xA0\x82\xC8\x82\xBD\x82\xCC\x95\x89\x82\xAF\x82\xC5\x82\xB7\x81\x42", 18};

// The five built-in pairs that seed a new dictionary, in their fixed order.
inline constexpr std::string_view kBuiltInJukugo[5] = {
    "\x93\xFA\x96\x7B",  // 日本
    "\x96\x7B\x93\xFA",  // 本日
    "\x96\x7B\x93\x96",  // 本当
    "\x93\x96\x93\xFA",  // 当日
    "\x93\xFC\x8C\xFB",  // 入口
};
inline constexpr std::string_view kBuiltInYomi[5] = {
    "\x82\xC9\x82\xD9\x82\xF1",  // にほん
    "\x82\xD9\x82\xF1\x82\xB6\x82\xC2",  // ほんじつ
    "\x82\xD9\x82\xF1\x82\xC6\x82\xA4",  // ほんとう
    "\x82\xC6\x82\xA4\x82\xB6\x82\xC2",  // とうじつ
    "\x82\xA2\x82\xE8\x82\xAE\x82\xBF",  // いりぐち
};

}  // namespace renkomi::texts
