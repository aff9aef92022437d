#include "match.h"

#include <cmath>
#include <exception>
#include <vector>

#include "errors.h"
#include "message_set_numbers.h"
#include "text_rules.h"
#include "texts.h"

namespace renkomi {
namespace {

using namespace renkomi::message_set;

int LossMessage(LossReason reason) {
  switch (reason) {
    case LossReason::BrokenChain: return kLossBrokenChain;
    case LossReason::AlreadyUsed: return kLossAlreadyUsed;
    case LossReason::Surrender: return kLossSurrender;
  }
  return kLossBrokenChain;
}

}  // namespace

int DamageGauge(std::size_t n) {
  if (n == 0) return 100;
  if (n == 1) return 99;
  if (n > 10000) return 1;
  // Halves go to the even neighbour (64 gives 12, 1600 gives 2), whatever rounding
  // mode the process happens to run in.
  const double value = 100.0 / std::sqrt(static_cast<double>(n));
  const double floor = std::floor(value);
  const double fraction = value - floor;
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
  return static_cast<int>(rounded);
}

Match::Match(DictionaryStore& store, GameWindow& window, Random& random)
    : store_(store), window_(window), random_(random) {}

void Match::Start() {
  store_.ClearUsed();
  store_.LoadDictionary();
  const std::size_t count = store_.Comp().Count();
  // An empty dictionary has no opening word; nothing is shown and no match starts.
  if (count == 0) throw EmptyDictionaryError();
  computer_ = store_.PlayFromComp(random_.RandomBelow(static_cast<std::uint32_t>(count)));
  window_.SetText(Control::CompJukugo, computer_.jukugo);
  window_.SetText(Control::CompYomi, computer_.yomi);
  window_.ShowMessageSet(kOpening);
  EnableForPlay(true);
  window_.Focus(Control::UserJukugo);
  inProgress_ = true;
}

void Match::SubmitJukugo(const std::string& jukugo) {
  if (!inProgress_) return;
  if (jukugo == texts::kKousan) {
    PlayerLoses(LossReason::Surrender);
  } else if (IsJukugo(jukugo)) {
    window_.ShowMessageSet(kReadingWanted);
    window_.Focus(Control::UserYomi);
  } else {
    window_.ShowMessageSet(kJukugoRefused);
    window_.Clear(Control::UserJukugo);
    window_.Focus(Control::UserJukugo);
  }
}

void Match::SubmitYomi(const std::string& jukugo, const std::string& yomi) {
  if (!inProgress_) return;
  if (!IsYomi(yomi)) {
    window_.ShowMessageSet(kReadingRefused);
    window_.Clear(Control::UserYomi);
    window_.Focus(Control::UserYomi);
    return;
  }
  // The jukugo is the box's text at this Enter; it was judged when Enter was
  // pressed in its own box, and may have been edited since. A line break, a NUL or a
  // character CP932 cannot hold would reach the files with it: refused as at Enter.
  if (HoldsControlCharacter(jukugo)) {
    window_.ShowMessageSet(kJukugoRefused);
    window_.Clear(Control::UserJukugo);
    window_.Focus(Control::UserJukugo);
    return;
  }
  if (!IsChained(computer_.jukugo, jukugo)) {
    PlayerLoses(LossReason::BrokenChain);
    return;
  }
  if (store_.IsUsed(jukugo)) {
    PlayerLoses(LossReason::AlreadyUsed);
    return;
  }
  store_.PlayWord(jukugo, yomi);
  ComputerTurn(jukugo);
}

void Match::ComputerTurn(const std::string& jukugo) {
  // The candidates, as the places in COMP of the words that continue the chain, so
  // that the reply leaves COMP as the very entry drawn, even when its jukugo stands
  // there twice.
  std::vector<std::size_t> candidates;
  const std::vector<std::string>& compJukugo = store_.Comp().jukugo().Entries();
  for (std::size_t i = 0; i < compJukugo.size(); ++i)
    if (IsChained(jukugo, compJukugo[i])) candidates.push_back(i);
  const std::size_t n = candidates.size();
  if (n == 0) {
    window_.SetGauge(100);
    PlayerWins(jukugo);
    return;
  }
  window_.SetGauge(DamageGauge(n));
  const std::uint32_t k = random_.RandomBelow(static_cast<std::uint32_t>(n));
  const std::uint32_t m = random_.RandomBelow(4);
  window_.ShowMessageSet(kFirstReply + static_cast<int>(m));

  computer_ = store_.PlayFromComp(candidates[k]);
  window_.SetText(Control::CompJukugo, computer_.jukugo);
  window_.SetText(Control::CompYomi, computer_.yomi);
  window_.Clear(Control::UserJukugo);
  window_.Clear(Control::UserYomi);
  window_.Focus(Control::UserJukugo);
}

void Match::PlayerWins(const std::string& winningWord) {
  window_.SetBubbleColour(BubbleColour::Purple);
  window_.ShowMessageSet(kWin);
  window_.PlaySoundFile("Tada.wav");
  window_.ShowInformation(std::string(texts::kWinInformation));
  // The save below writes a taught word together with the match's words.
  if (window_.AskYesNo(winningWord + std::string(texts::kWinQuestionSuffix))) AskForWord(winningWord);
  window_.SetBubbleColour(BubbleColour::Blue);
  const std::exception_ptr saveError = SaveKeepingError();
  EndOfMatchReset();
  if (saveError) std::rethrow_exception(saveError);
}

void Match::PlayerLoses(LossReason reason) {
  window_.ShowMessageSet(LossMessage(reason));
  window_.PlaySoundFile("Chimes.wav");
  const std::exception_ptr saveError = SaveKeepingError();
  window_.ShowInformation(std::string(texts::kLoseInformation));
  EndOfMatchReset();
  if (saveError) std::rethrow_exception(saveError);
}

std::exception_ptr Match::SaveKeepingError() {
  // A dictionary that cannot be written must not leave the match half ended, with
  // the buttons disabled: the match ends as usual and the error is reported after.
  try {
    store_.SaveDictionary();
  } catch (const Error&) {
    return std::current_exception();
  }
  return nullptr;
}

void Match::EnableForPlay(bool playing) {
  // During a match only the player's boxes; between matches only the buttons.
  window_.SetEnabled(Control::UserJukugo, playing);
  window_.SetEnabled(Control::UserYomi, playing);
  window_.SetEnabled(Control::Start, !playing);
  window_.SetEnabled(Control::Finish, !playing);
  window_.SetEnabled(Control::Teach, !playing);
}

void Match::EndOfMatchReset() {
  window_.Clear(Control::CompJukugo);
  window_.Clear(Control::CompYomi);
  window_.Clear(Control::UserJukugo);
  window_.Clear(Control::UserYomi);
  EnableForPlay(false);
  window_.Focus(Control::Start);
  window_.ShowMessageSet(kIdle);
  window_.SetGauge(0);
  computer_ = WordPair{};
  inProgress_ = false;
}

void Match::TeachWord(const std::string& previous) {
  if (AskForWord(previous)) store_.SaveDictionary();
}

bool Match::AskForWord(const std::string& previous) {
  const std::string caption(texts::kTeachCaption);
  const std::string prompt = previous.empty()
                                 ? std::string(texts::kTeachPromptFree)
                                 : previous + std::string(texts::kTeachPromptSuffix);
  for (;;) {
    const WordPair pair = window_.InputWordPair(caption, prompt);
    // A pair that could break the files' lines is never taken, whatever the dialog let through.
    if (pair.jukugo.empty() || pair.yomi.empty() || HoldsControlCharacter(pair.jukugo) ||
        HoldsControlCharacter(pair.yomi)) {
      window_.SetBubbleColour(BubbleColour::Blue);
      return false;
    }
    const bool chained = previous.empty() || IsChained(previous, pair.jukugo);
    if (!chained) {
      window_.SetBubbleColour(BubbleColour::Red);
      window_.ShowMessageSet(kTeachNotChained);
      window_.Beep();
      continue;
    }
    window_.SetBubbleColour(BubbleColour::Blue);
    if (store_.RestoreUsedWords(pair.jukugo)) return false;  // known: nothing to add
    store_.AddWord(pair.jukugo, pair.yomi);
    return true;
  }
}

}  // namespace renkomi
