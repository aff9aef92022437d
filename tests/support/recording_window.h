// The game window double of the engine's and the windows' tests: it keeps the
// state of its controls, answers questions from queues the test fills, and logs
// every call, texts in UTF-8 so that a failing comparison is readable.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cp932.h"
#include "game_window.h"

namespace renkomi::test {

inline std::string Name(Control c) {
  switch (c) {
    case Control::UserJukugo: return "UserJukugo";
    case Control::UserYomi: return "UserYomi";
    case Control::CompJukugo: return "CompJukugo";
    case Control::CompYomi: return "CompYomi";
    case Control::Start: return "Start";
    case Control::Finish: return "Finish";
    case Control::Teach: return "Teach";
  }
  return "?";
}

inline std::string Name(BubbleColour c) {
  switch (c) {
    case BubbleColour::Blue: return "Blue";
    case BubbleColour::Red: return "Red";
    case BubbleColour::Purple: return "Purple";
  }
  return "?";
}

class RecordingWindow : public GameWindow {
 public:
  std::vector<std::string> log;
  std::map<Control, std::string> text;
  std::map<Control, bool> enabled;
  std::deque<bool> answers;       // AskYesNo, in order; No when none is left
  std::deque<WordPair> pairs;     // InputWordPair, in order; given up when none is left
  std::function<void()> onInformation;

  // What a box holds now: what the test typed there, as the engine left it.
  std::string Text(Control c) const {
    const auto it = text.find(c);
    return it == text.end() ? std::string() : it->second;
  }
  void SetText(Control c, const std::string& t) override {
    text[c] = t;
    Log("SetText " + Name(c) + " " + Cp932ToUtf8(t));
  }
  void Clear(Control c) override {
    text[c].clear();
    Log("Clear " + Name(c));
  }
  void SetEnabled(Control c, bool on) override {
    enabled[c] = on;
    Log("SetEnabled " + Name(c) + (on ? " 1" : " 0"));
  }
  void Focus(Control c) override { Log("Focus " + Name(c)); }
  void SetGauge(int percent) override { Log("SetGauge " + std::to_string(percent)); }
  void SetBubbleColour(BubbleColour colour) override { Log("SetBubbleColour " + Name(colour)); }
  void ShowMessageSet(int set) override { Log("ShowMessageSet " + std::to_string(set)); }
  void PlaySoundFile(const std::string& fileName) override { Log("PlaySoundFile " + fileName); }
  void ShowInformation(const std::string& t) override {
    Log("ShowInformation " + Cp932ToUtf8(t));
    if (onInformation) onInformation();
  }
  bool AskYesNo(const std::string& t) override {
    Log("AskYesNo " + Cp932ToUtf8(t));
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  WordPair InputWordPair(const std::string& caption, const std::string& prompt) override {
    Log("InputWordPair " + Cp932ToUtf8(caption) + " / " + Cp932ToUtf8(prompt));
    if (pairs.empty()) return {};
    WordPair pair = pairs.front();
    pairs.pop_front();
    return pair;
  }
  void Beep() override { Log("Beep"); }

  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
  }

 private:
  void Log(std::string entry) { log.push_back(std::move(entry)); }
};

}  // namespace renkomi::test
