// The rules of the dictionary choice panel: the shared dictionary, or one's own
// named in the name box (typed or picked from the dictionaries of the program
// folder); the two items as one tab stop on the selected one, the arrow keys
// switching them; and the file name each choice stands for.
#pragma once

#include <string>
#include <vector>

#include <QString>

class QComboBox;
class QObject;
class QPushButton;
class QRadioButton;

namespace renkomi::ui {

class DictionaryChoice {
 public:
  // Sets up the elements: the shared dictionary chosen, the name box hidden.
  DictionaryChoice(QRadioButton& shared, QRadioButton& own, QComboBox& names, QPushButton& choose);
  DictionaryChoice(const DictionaryChoice&) = delete;
  DictionaryChoice& operator=(const DictionaryChoice&) = delete;

  // Offers the personal dictionaries by their file names' bytes; no name is put
  // into the box, the player types or picks one.
  void Offer(const std::vector<std::string>& fileNames);
  // After the choice or the name changed: the name box shown for one's own
  // dictionary, "えらぶ" usable with a name. Returns the message set to show.
  int Update();
  // Only the selected item takes the focus by Tab.
  void KeepOneTabStop();
  // An arrow key on an item selects the other one, which it returns; any other key
  // returns null.
  QRadioButton* ArrowKey(const QObject* item, int key);

  bool Personal() const;
  // The dictionary's name as its files have it: "renkomi" for the shared one; for
  // one's own, the bytes of the offered dictionary shown under the name typed
  // (a name from another system may be CP932), else the name itself.
  std::string FileName() const;
  // The player's name as the window shows it.
  QString Caption() const;

 private:
  QRadioButton& shared_;
  QRadioButton& own_;
  QComboBox& names_;
  QPushButton& choose_;
};

}  // namespace renkomi::ui
