#include "message_sets.h"

#include <QStringList>

#include <stdexcept>
#include <string>

namespace renkomi::ui {

namespace {

// One row per set, lines 0 to 6; an empty string is an empty line.
constexpr std::array<MessageSet, kMessageSetCount> kMessageSets{{
    // 1: hint for the bare window; the last word of every match
    {u"", u"勝負をするときは、", u"", u"【はじめる】ボタン", u"", u"をおしてくださいね。", u""},
    // 2: hint for "はじめる"
    {u"", u"よーし！", u"", u"勝負を始めるんだね。", u"", u"負けないぞ。", u""},
    // 3: hint for "やめる"
    {u"　えっ！", u"", u"もうやめちゃうの？", u"", u"またいつでも勝負を", u"", u"　してあげるからね。"},
    // 4: hint for "おしえる"
    {u"", u"わーい☆", u"", u"言葉を教えてくれるんだね。", u"", u"　でも、うそはいやだよ。", u""},
    // 5: the opening move
    {u"", u"では、こちらからいくぞ！", u"", u"えーい！", u"", u"　こんなのでどうだ。", u""},
    // 6: the player broke the chain
    {u"　やったーーーー！", u"　　ぼくの勝ちだ。", u"だって、しりとりになって", u"ないんだもん。",
     u"だめだよ。ちゃんとルール", u"　をおぼえなきゃ。", u""},
    // 7: the player repeated a word
    {u"　あれれれ？", u"　　ぼくの勝ちだ。", u"だって、その言葉は", u"前に出てきたもん。",
     u"だめだよ。しっかりと", u"　おぼえていなきゃ。", u""},
    // 8: the player wins
    {u"　うーむ・・・", u"　どうやら、ぼくのまけ", u"のようだ。", u"　まいりました。",
     u"あなたのことばに続ける", u"ことばをおしえて下さい。", u""},
    // 9: the jukugo is not kanji
    {u"　だめだよぉーー", u"じゅくごは漢字で", u"入れてくれないと。", u"　さぁ、もう一度。",
     u"今度はまちがえないで、", u"　漢字を使ってね。", u""},
    // 10: the reading is not hiragana
    {u"　おやおや。あらまぁ。", u"だめだなぁ。よみがなは", u"ひらがなだけを使ってね。",
     u"　さぁ、もう一度。", u"今度はちゃんとひらがな", u"だけを使って入れてね。", u""},
    // 11: the jukugo passed; now the reading
    {u"　よーし、じゃあ。", u"つぎは、よみがなを", u"入れて下さいね。", u"",
     u"ちゃんと、ひらがなだけで", u"入れてね。漢字やカタカナ", u"はダメだよ。"},
    // 12 to 15: the computer answers
    {u"むむっ！なかなかやるな。", u"", u"えーい！", u"　これでどうだ。", u"",
     u"こうさんするときは", u"《こうさん》て入れてね"},
    {u"　おぬしできるな。", u"", u"まだまだ負けないぞ！", u"　こういうのはどうだ。", u"",
     u"こうさんするときは", u"《こうさん》て入れてね"},
    {u"　うーむ。敵ながら", u"なかなかあっぱれな", u"　　　　　　やつじゃ。", u"でも、まだまだ！",
     u"", u"こうさんするときは", u"《こうさん》て入れてね"},
    {u"　うむむむ。", u"", u"おぬし！ただものでは", u"ないな。では、こちらも", u"まじめにいくぞ。",
     u"こうさんするときは", u"《こうさん》て入れてね"},
    // 16: a taught word that does not continue the chain
    {u"　ごめんね。さっきのは", u"", u"しりとりになってなかった", u"", u"んだ。　だから、", u"",
     u"もう一度入れてね。"},
    // 17: the player surrendered
    {u"　よーーーーし！", u"　　ぼくの勝ちだ！！", u"《こうさん》だなんて☆",
     u"まだまだ修行が足りないな", u"　また、うでをみがいて", u"おいで、いつでも相手に",
     u"　　　なってあげるから。"},
    // 18: the shared dictionary is selected
    {u"", u"どんな辞書を使うのか", u"", u"マウスでえらんでから、", u"", u"【えらぶ】をおしてね。", u""},
    // 19: a personal dictionary is selected
    {u"あなたの名前を入れるか、", u"▼をおして、辞書をえらん", u"でから、【えらぶ】をおし",
     u"てね。あだ名でもいいよ。", u"", u"その名前が辞書の名前にな", u"るからね。"},
}};

constexpr MessageSet kInitialBubbleText{
    u" ", u"どんな辞書を使うのか", u"", u"マウスでえらんでから、", u"", u"【えらぶ】をおしてね。", u" "};

}  // namespace

const MessageSet& GetMessageSet(int number) {
  if (number < 1 || number > kMessageSetCount) {
    throw std::out_of_range("message set " + std::to_string(number));
  }
  return kMessageSets[static_cast<std::size_t>(number - 1)];
}

const MessageSet& InitialBubbleText() { return kInitialBubbleText; }

QString MessageSetText(const MessageSet& lines) {
  QStringList text;
  for (const std::u16string_view line : lines) {
    text << QString::fromUtf16(line.data(), static_cast<qsizetype>(line.size()));
  }
  return text.join(QLatin1Char('\n'));
}

}  // namespace renkomi::ui
