// One match of the jukugo chain, and teaching words: the opening move, the tests of
// the player's jukugo and reading, the computer's reply, the damage gauge, the end
// as a win or a loss. Acts on the window only through GameWindow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "dictionary_store.h"
#include "game_window.h"
#include "random.h"

namespace renkomi {

// Gauge percentage for n candidates: 100 for none, 99 for one, 100/sqrt(n)
// rounded half to even up to 10000, 1 beyond.
int DamageGauge(std::size_t n);

enum class LossReason : std::uint8_t { BrokenChain = 1, AlreadyUsed = 2, Surrender = 3 };

class Match {
 public:
  Match(DictionaryStore& store, GameWindow& window, Random& random);

  // "はじめる": opening move. Throws Error when the dictionary holds no words.
  void Start();
  // Enter in the player's jukugo box, with the text the box holds.
  void SubmitJukugo(const std::string& jukugo);
  // Enter in the player's reading box, with the texts both boxes hold at that
  // moment: the jukugo may have been edited since its own Enter.
  void SubmitYomi(const std::string& jukugo, const std::string& yomi);

  void ComputerTurn(const std::string& jukugo);
  // `winningWord`: the player's jukugo that nothing in COMP continues.
  void PlayerWins(const std::string& winningWord);
  void PlayerLoses(LossReason reason);

  // Teaches one word; `previous` empty for free teaching, else the word to continue.
  // A word added to the dictionary is written to its files at once, so that no
  // later reload or kill can lose it.
  void TeachWord(const std::string& previous);

  // The computer's current word, as shown in its two boxes.
  const WordPair& ComputerWord() const { return computer_; }
  bool InProgress() const { return inProgress_; }

 private:
  void EnableForPlay(bool playing);
  void EndOfMatchReset();
  // The teaching loop; true when it added a pair to COMP.
  bool AskForWord(const std::string& previous);
  // Saves the dictionary and hands back its failure instead of throwing it.
  std::exception_ptr SaveKeepingError();

  DictionaryStore& store_;
  GameWindow& window_;
  Random& random_;
  WordPair computer_;
  bool inProgress_ = false;
};

}  // namespace renkomi
