// The game window double of the engine's and the windows' tests. It keeps what a
// player would see on the window now, and lists what passes before the player in
// order: each sound and beep, and each modal dialog with the bubble and gauge
// that stand behind it. The order of calls that land together on the screen is
// not kept, since no player can tell it. Questions are answered from queues the
// test fills. Texts in UTF-8, so that a failing comparison is readable.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cp932.h"
#include "game_window.h"

namespace renkomi::test {

inline std::string Name(Control c) {
  static const char* const names[] = {"UserJukugo", "UserYomi", "CompJukugo", "CompYomi", "Start", "Finish", "Teach"};
  return names[static_cast<int>(c)];
}
inline std::string Name(BubbleColour c) { return c == BubbleColour::Blue ? "Blue" : c == BubbleColour::Red ? "Red" : "Purple"; }

// The main window as a player sees it at one moment.
struct Screen {
  std::string compJukugo{}, compYomi{}, userJukugo{}, userYomi{};
  std::string enabled{};  // the enabled controls' names, in the order of Control
  std::string focus{};    // empty while no control was given it
  int messageSet = 0;     // 0 before any set was shown
  BubbleColour bubble = BubbleColour::Blue;
  int gauge = 0;
  bool operator==(const Screen&) const = default;
};

inline void PrintTo(const Screen& s, std::ostream* out) {
  *out << "{COMP " << s.compJukugo << '/' << s.compYomi << ", USER " << s.userJukugo << '/' << s.userYomi
       << ", enabled: " << s.enabled << ", focus: " << s.focus << ", bubble " << s.messageSet << ' '
       << Name(s.bubble) << ", gauge " << s.gauge << "%}";
}

class RecordingWindow : public GameWindow {
 public:
  std::map<Control, std::string> text;  // CP932, as the test typed it or the engine left it
  std::map<Control, bool> enabled;
  std::optional<Control> focus;
  int messageSet = 0;
  BubbleColour bubble = BubbleColour::Blue;
  int gauge = 0;
  std::vector<std::string> moments;
  std::deque<bool> answers;    // AskYesNo, in order; No when none is left
  std::deque<WordPair> pairs;  // InputWordPair, in order; given up when none is left
  std::function<void()> onInformation;

  // What a box holds now: what the test typed there, as the engine left it.
  std::string Text(Control c) const { return text.count(c) != 0 ? text.at(c) : std::string(); }
  bool Enabled(Control c) const { return enabled.count(c) != 0 && enabled.at(c); }
  Screen Now() const {
    Screen s{.compJukugo = Cp932ToUtf8(Text(Control::CompJukugo)), .compYomi = Cp932ToUtf8(Text(Control::CompYomi)),
             .userJukugo = Cp932ToUtf8(Text(Control::UserJukugo)), .userYomi = Cp932ToUtf8(Text(Control::UserYomi)),
             .focus = focus ? Name(*focus) : "", .messageSet = messageSet, .bubble = bubble, .gauge = gauge};
    for (int c = 0; c <= static_cast<int>(Control::Teach); ++c)
      if (Enabled(Control(c))) s.enabled += (s.enabled.empty() ? "" : " ") + Name(Control(c));
    return s;
  }
  // The moments since the last call, in order.
  std::vector<std::string> Take() { return std::exchange(moments, {}); }

  void SetText(Control c, const std::string& t) override { text[c] = t; }
  void Clear(Control c) override { text[c].clear(); }
  void SetEnabled(Control c, bool on) override { enabled[c] = on; }
  void Focus(Control c) override { focus = c; }
  void SetGauge(int percent) override { gauge = percent; }
  void SetBubbleColour(BubbleColour colour) override { bubble = colour; }
  void ShowMessageSet(int set) override { messageSet = set; }
  void PlaySoundFile(const std::string& fileName) override { moments.push_back("sound " + fileName); }
  void Beep() override { moments.push_back("beep"); }
  void ShowInformation(const std::string& t) override {
    Dialog("information " + Cp932ToUtf8(t));
    if (onInformation) onInformation();
  }
  bool AskYesNo(const std::string& t) override {
    Dialog("question " + Cp932ToUtf8(t));
    return Next(answers);
  }
  WordPair InputWordPair(const std::string& caption, const std::string& prompt) override {
    Dialog("word entry " + Cp932ToUtf8(caption) + " / " + Cp932ToUtf8(prompt));
    return Next(pairs);
  }

 private:
  // A modal dialog holds the window still: what stands behind it is what the player sees.
  void Dialog(const std::string& what) {
    moments.push_back(what + " [" + std::to_string(messageSet) + ' ' + Name(bubble) + ' ' +
                      std::to_string(gauge) + "%]");
  }
  template <typename T>
  static T Next(std::deque<T>& queue) {
    if (queue.empty()) return T{};
    T next = queue.front();
    queue.pop_front();
    return next;
  }
};

}  // namespace renkomi::test
