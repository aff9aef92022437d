// The main window: the computer's and the player's word boxes, the three buttons,
// the character with its speech bubble, the damage gauge and, once at start-up,
// the dictionary choice. It owns the game's state for the program's life and is
// the window the match engine acts on.
#pragma once

#include <cstdint>
#include <functional>
#include <filesystem>
#include <memory>
#include <string>

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "dictionary_store.h"
#include "game_window.h"
#include "layout.h"
#include "match.h"
#include "random.h"

class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TfrmInputBox;

namespace renkomi::ui {
class DictionaryChoice;
class Gauge;
class HelpWindow;
class HintTracker;
class Panel;
class Shape;
class Sound;
}  // namespace renkomi::ui

class TForm1 : public QWidget, public renkomi::GameWindow {
  Q_OBJECT
 public:
  // The player's dictionaries are in `programFolder`; the help file and the media
  // folder of sounds in `dataFolder`, the same folder but for an installed game.
  TForm1(std::filesystem::path programFolder, std::filesystem::path dataFolder, renkomi::Random& random,
         renkomi::ui::Sound& sound, QWidget* parent = nullptr);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  void SetAboutBox(QDialog* aboutBox);
  void SetInputBox(TfrmInputBox* inputBox);
  // The organizer, which "辞書の整理" opens between matches.
  void SetOrganizer(QWidget* organizer);
  renkomi::DictionaryStore& Store() { return store_; }

  // GameWindow
  void SetText(renkomi::Control control, const std::string& text) override;
  void Clear(renkomi::Control control) override;
  void SetEnabled(renkomi::Control control, bool enabled) override;
  void Focus(renkomi::Control control) override;
  void SetGauge(int percent) override;
  void SetBubbleColour(renkomi::BubbleColour colour) override;
  void ShowMessageSet(int set) override;
  void PlaySoundFile(const std::string& fileName) override;
  void ShowInformation(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  renkomi::WordPair InputWordPair(const std::string& caption, const std::string& prompt) override;
  void Beep() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The tag an element carries for the hints: the window 1, the three buttons 2 to
  // 4, everything else 0.
  static int Tag(const QObject* element);

  void CreateElements();
  void CreateBubble();
  void CreateButtons();
  void CreateChoice();
  void CreateMenu();
  void FormCreate();
  void ComposePicture();

  void rgpJisyoSelClick();
  void bbtnJisyoOKClick();
  void btnSTARTClick();
  void btnFINISHClick();
  void btnTEACHClick();
  void K1Click();
  void K2Click();
  void K3Click();

  void btnSTARTMouseMove(QObject* sender);
  void btnSTARTEnter(QWidget* sender);
  void edtUSER_JUKUEnter(QWidget* sender);
  void memFUKIDASIEnter(QWidget* sender);

  // Moves the focus and runs the focus-entering rule of the element at once.
  void FocusControl(QWidget* control);
  // The focus has newly reached `control`: runs its entering rule.
  void ControlEntered(QWidget* control);
  QWidget* ControlOf(renkomi::Control control) const;
  QLineEdit* EditOf(renkomi::Control control) const;

  // Game state: the dictionary and the match are created before any element.
  renkomi::Random& random_;
  renkomi::ui::Sound& sound_;
  renkomi::DictionaryStore store_;
  renkomi::Match match_;
  std::filesystem::path dataFolder_;
  QString helpFile_;

  QDialog* aboutBox_ = nullptr;
  TfrmInputBox* inputBox_ = nullptr;
  QWidget* organizer_ = nullptr;
  std::unique_ptr<renkomi::ui::HelpWindow> helpWindow_;
  std::unique_ptr<renkomi::ui::DictionaryChoice> choice_;
  std::unique_ptr<renkomi::ui::HintTracker> hints_;

  // The hint state: the tag whose hint was last accepted, and the last of the
  // three buttons and the two player boxes that took the focus.
  std::uint8_t LastHintTag = 0;
  QWidget* LastFocusedControl = nullptr;

  // The two pictures, never shown themselves: the character and the tile.
  QImage Image2;
  QPixmap Image3;

  // The elements as the design lays them out, one row each, and their members in
  // the rows' order.
  static const renkomi::ui::Element kLayout[];
  renkomi::ui::Shape* shpFUKIDASI = nullptr;
  QLabel* Image1 = nullptr;
  renkomi::ui::Gauge* gagHitPoint = nullptr;
  renkomi::ui::Panel* Panel1 = nullptr;
  renkomi::ui::Panel* Panel2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edtCOMP_JUKU = nullptr;
  QLineEdit* edtCOMP_YOMI = nullptr;
  QPlainTextEdit* memFUKIDASI = nullptr;
  QPushButton* btnSTART = nullptr;
  QPushButton* btnFINISH = nullptr;
  QPushButton* btnTEACH = nullptr;
  renkomi::ui::Panel* Panel3 = nullptr;
  renkomi::ui::Panel* pnlUserName = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* edtUSER_JUKU = nullptr;
  QLineEdit* edtUSER_YOMI = nullptr;
  renkomi::ui::Panel* Panel5 = nullptr;
  renkomi::ui::Panel* pnlSelDic = nullptr;
  QGroupBox* rgpJisyoSel = nullptr;
  QRadioButton* rgpJisyoSelItem0 = nullptr;
  QRadioButton* rgpJisyoSelItem1 = nullptr;
  QPushButton* bbtnJisyoOK = nullptr;
  QComboBox* cbxJisyoSel = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* K2 = nullptr;
  QAction* K3 = nullptr;
  QAction* N1 = nullptr;
  QAction* K1 = nullptr;
};
