#include "main_window.h"

#include <exception>
#include <utility>

#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "application.h"
#include "character_picture.h"
#include "dictionary_choice.h"
#include "gauge.h"
#include "help_window.h"
#include "hint_tracker.h"
#include "layout.h"
#include "look.h"
#include "message_dialogs.h"
#include "panel.h"
#include "preedit_guard.h"
#include "shape.h"
#include "speech_bubble.h"
#include "text.h"

using renkomi::BubbleColour;
using renkomi::ui::Guarded;

namespace {

using renkomi::ui::InputMethod;
using renkomi::ui::Kind;

using renkomi::ui::kLime;
using renkomi::ui::kNavy;
using renkomi::ui::kRed;
using renkomi::ui::kTeal;
using renkomi::ui::kYellow;

// The layout does not follow a resize: a larger window shows more of the tile.
constexpr renkomi::ui::WindowRow kWindow{.name = "Form1", .caption = u"Renkomi Ver.2.0",
                                         .frame = renkomi::ui::Frame::SizableWithMinimize, .clientWidth = 616,
                                         .clientHeight = 403, .tag = 1};

}  // namespace

// The main window's elements as the design lays them out, stacked from the bottom:
// the shape, the picture and the gauge lie beneath the rest.
constexpr renkomi::ui::Element TForm1::kLayout[] = {
    {RENKOMI_ELEMENT(TForm1, shpFUKIDASI), .kind = Kind::Shape, .left = 344, .top = 8, .width = 265, .height = 145},
    {RENKOMI_ELEMENT(TForm1, Image1), .kind = Kind::Picture, .left = 336, .top = 152, .width = 273, .height = 241,
     .accessibleName = u"パソコンの絵"},
    {RENKOMI_ELEMENT(TForm1, gagHitPoint), .kind = Kind::Gauge, .left = 464, .top = 368, .width = 145, .height = 25,
     .fontPixels = 15, .bold = true, .background = kLime, .barColour = kRed, .accessibleName = u"パソコンのダメージ"},
    {RENKOMI_ELEMENT(TForm1, Panel1), .kind = Kind::Panel, .left = 8, .top = 8, .width = 321, .height = 153,
     .fontPixels = 15, .colour = kNavy, .tabOrder = 13},
    {RENKOMI_ELEMENT(TForm1, Panel2), .kind = Kind::Panel, .parent = "Panel1", .left = 16, .top = 16, .width = 161,
     .height = 25, .text = u"パソコン", .tabOrder = 0},
    {RENKOMI_ELEMENT(TForm1, Label1), .kind = Kind::Label, .parent = "Panel1", .left = 16, .top = 56, .width = 64,
     .height = 18, .text = u"じゅくご", .buddy = "edtCOMP_JUKU"},
    {RENKOMI_ELEMENT(TForm1, Label2), .kind = Kind::Label, .parent = "Panel1", .left = 16, .top = 104, .width = 64,
     .height = 18, .text = u"よみがな", .buddy = "edtCOMP_YOMI"},
    {RENKOMI_ELEMENT(TForm1, edtCOMP_JUKU), .kind = Kind::DisplayBox, .parent = "Panel1", .left = 96, .top = 48,
     .width = 209, .height = 26, .tabOrder = 1, .tabStop = false, .arrowCursor = true,
     .inputMethod = InputMethod::Off, .accessibleName = u"パソコンのじゅくご"},
    {RENKOMI_ELEMENT(TForm1, edtCOMP_YOMI), .kind = Kind::DisplayBox, .parent = "Panel1", .left = 96, .top = 96,
     .width = 209, .height = 26, .tabOrder = 2, .tabStop = false, .arrowCursor = true,
     .inputMethod = InputMethod::Off, .accessibleName = u"パソコンのよみがな"},
    {RENKOMI_ELEMENT(TForm1, memFUKIDASI), .kind = Kind::Memo, .left = 376, .top = 15, .width = 209, .height = 130,
     .fontPixels = 16, .accessibleName = u"パソコンのふきだし"},
    {RENKOMI_ELEMENT(TForm1, btnSTART), .kind = Kind::Button, .left = 8, .top = 344, .width = 97, .height = 45,
     .text = u"はじめる", .fontPixels = 15, .tag = 2, .tabOrder = 2, .shown = false, .enabled = false},
    {RENKOMI_ELEMENT(TForm1, btnFINISH), .kind = Kind::Button, .left = 120, .top = 344, .width = 97, .height = 45,
     .text = u"やめる", .tag = 3, .tabOrder = 3, .shown = false},
    {RENKOMI_ELEMENT(TForm1, btnTEACH), .kind = Kind::Button, .left = 232, .top = 344, .width = 97, .height = 45,
     .text = u"おしえる", .tag = 4, .tabOrder = 4, .shown = false},
    {RENKOMI_ELEMENT(TForm1, Panel3), .kind = Kind::Panel, .left = 8, .top = 176, .width = 321, .height = 153,
     .fontPixels = 15, .colour = kTeal, .tabOrder = 14},
    {RENKOMI_ELEMENT(TForm1, pnlUserName), .kind = Kind::Panel, .parent = "Panel3", .left = 16, .top = 16,
     .width = 161, .height = 25, .text = u"あなた", .tabOrder = 0},
    {RENKOMI_ELEMENT(TForm1, Label5), .kind = Kind::Label, .parent = "Panel3", .left = 16, .top = 56, .width = 64,
     .height = 18, .text = u"じゅくご", .buddy = "edtUSER_JUKU"},
    {RENKOMI_ELEMENT(TForm1, Label6), .kind = Kind::Label, .parent = "Panel3", .left = 16, .top = 104, .width = 64,
     .height = 18, .text = u"よみがな", .buddy = "edtUSER_YOMI"},
    // Qt has no hint for hiragana mode: the input method is simply on, and the
    // player's input method starts in its own (kana) mode.
    {RENKOMI_ELEMENT(TForm1, edtUSER_JUKU), .kind = Kind::LineEdit, .parent = "Panel3", .left = 96, .top = 48,
     .width = 209, .height = 26, .tabOrder = 1, .inputMethod = InputMethod::On, .enabled = false,
     .accessibleName = u"あなたのじゅくご"},
    {RENKOMI_ELEMENT(TForm1, edtUSER_YOMI), .kind = Kind::LineEdit, .parent = "Panel3", .left = 96, .top = 96,
     .width = 209, .height = 26, .tabOrder = 2, .inputMethod = InputMethod::On, .enabled = false,
     .accessibleName = u"あなたのよみがな"},
    {RENKOMI_ELEMENT(TForm1, Panel5), .kind = Kind::Panel, .left = 336, .top = 368, .width = 129, .height = 25,
     .text = u"今のダメージは", .fontPixels = 15, .bold = true, .colour = kYellow, .background = kNavy,
     .tabOrder = 16},
    // The dictionary choice, over both sides until a dictionary has been chosen.
    {RENKOMI_ELEMENT(TForm1, pnlSelDic), .kind = Kind::Panel, .left = 8, .top = 8, .width = 321, .height = 321,
     .tabOrder = 1},
    {RENKOMI_ELEMENT(TForm1, rgpJisyoSel), .kind = Kind::GroupBox, .parent = "pnlSelDic", .left = 16, .top = 16,
     .width = 185, .height = 73, .text = u"辞書をえらぶ", .tabOrder = 3},
    {RENKOMI_ELEMENT(TForm1, rgpJisyoSelItem0), .kind = Kind::RadioButton, .parent = "rgpJisyoSel", .left = 8,
     .top = 18, .width = 169, .height = 24, .text = u"みんなの辞書を使う", .tabOrder = 0},
    {RENKOMI_ELEMENT(TForm1, rgpJisyoSelItem1), .kind = Kind::RadioButton, .parent = "rgpJisyoSel", .left = 8,
     .top = 43, .width = 169, .height = 24, .text = u"自分の辞書を使う", .tabOrder = 1},
    {RENKOMI_ELEMENT(TForm1, bbtnJisyoOK), .kind = Kind::Button, .parent = "pnlSelDic", .left = 216, .top = 40,
     .width = 97, .height = 33, .text = u"えらぶ", .tabOrder = 0},
    // Hidden at start, with its drop-down and input method: the choice's own rule.
    {RENKOMI_ELEMENT(TForm1, cbxJisyoSel), .kind = Kind::ComboBox, .parent = "pnlSelDic", .left = 16, .top = 112,
     .width = 177, .height = 26, .tabOrder = 1, .accessibleName = u"自分の辞書の名前"},
};

TForm1::TForm1(std::filesystem::path programFolder, std::filesystem::path dataFolder, renkomi::Random& random,
               renkomi::ui::Sound& sound, QWidget* parent)
    : QWidget(parent),
      random_(random),
      sound_(sound),
      store_(std::move(programFolder)),
      match_(store_, *this, random),
      dataFolder_(std::move(dataFolder)) {
  renkomi::ui::SetUpWindow(*this, kWindow);
  if (QFile::exists(QStringLiteral(":/renkomi/icon.png"))) {
    setWindowIcon(QIcon(QStringLiteral(":/renkomi/icon.png")));
  }

  CreateElements();
  hints_ = std::make_unique<renkomi::ui::HintTracker>(
      *this, std::initializer_list<QWidget*>{btnSTART, btnFINISH, btnTEACH},
      renkomi::ui::HintTracker::Rules{[this](QObject* element) { btnSTARTMouseMove(element); },
                                      [this](QWidget* element) { ControlEntered(element); }});
  FormCreate();
  bbtnJisyoOK->setFocus();
}

TForm1::~TForm1() {
  // The elements die after this body: none of their focus changes may reach the
  // hint rules of a window that is half gone.
  hints_.reset();
  // The help window belongs to this window's life, also when it was left open.
  helpWindow_.reset();
}

void TForm1::CreateElements() {
  renkomi::ui::BuildElements(*this, kLayout);
  // The player's Enter is the move, never the box's own.
  for (QLineEdit* box : {edtUSER_JUKU, edtUSER_YOMI}) box->installEventFilter(this);
  CreateBubble();
  CreateButtons();
  CreateChoice();
  CreateMenu();
}

void TForm1::CreateBubble() {
  renkomi::ui::MakeSpeechBubble(*memFUKIDASI);
  SetBubbleColour(BubbleColour::Blue);
}

void TForm1::CreateButtons() {
  connect(btnSTART, &QPushButton::clicked, this, [this] { Guarded([this] { btnSTARTClick(); }); });
  connect(btnFINISH, &QPushButton::clicked, this, &TForm1::btnFINISHClick);
  connect(btnTEACH, &QPushButton::clicked, this, [this] { Guarded([this] { btnTEACHClick(); }); });
}

void TForm1::CreateChoice() {
  choice_ = std::make_unique<renkomi::ui::DictionaryChoice>(*rgpJisyoSelItem0, *rgpJisyoSelItem1, *cbxJisyoSel,
                                                            *bbtnJisyoOK);
  for (QRadioButton* item : {rgpJisyoSelItem0, rgpJisyoSelItem1}) {
    connect(item, &QRadioButton::toggled, this, [this](bool on) {
      if (on) rgpJisyoSelClick();
    });
    // The arrow keys change the choice.
    item->installEventFilter(this);
  }
  connect(bbtnJisyoOK, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnJisyoOKClick(); }); });
}

// Serves Form1: the window is created.
void TForm1::FormCreate() {
  random_.SeedRandom();
  helpFile_ = renkomi::ui::FromFileSystem(dataFolder_ / "renkomiwin32.hlp");
  ComposePicture();
  choice_->Offer(store_.ListUserDictionaries());
  // A conversion pending when the player clicks or tabs to another box stays in
  // the box it was typed in.
  auto* preeditGuard = new renkomi::ui::PreeditGuard(this);
  for (QWidget* box : {static_cast<QWidget*>(edtUSER_JUKU), static_cast<QWidget*>(edtUSER_YOMI),
                       static_cast<QWidget*>(cbxJisyoSel)}) {
    preeditGuard->Watch(box);
  }
  connect(cbxJisyoSel, &QComboBox::editTextChanged, this, [this] { rgpJisyoSelClick(); });
}

void TForm1::ComposePicture() {
  // Drawn at the screen's own resolution, so that the window's tile and the
  // picture's are one pattern.
  const qreal ratio = devicePixelRatioF();
  Image2 = renkomi::ui::CharacterForRatio(ratio);
  Image3 = renkomi::ui::TileAtRatio(QImage(QStringLiteral(":/renkomi/tile.bmp")), ratio);
  Image1->setPixmap(renkomi::ui::ComposeCharacterPicture(Image2, Image3, Image1->size(),
                                                         palette().color(QPalette::Button)));
}

int TForm1::Tag(const QObject* element) {
  return element == nullptr ? 0 : element->property(renkomi::ui::kTagProperty).toInt();
}

void TForm1::SetAboutBox(QDialog* aboutBox) { aboutBox_ = aboutBox; }
void TForm1::SetInputBox(TfrmInputBox* inputBox) { inputBox_ = inputBox; }
void TForm1::SetOrganizer(QWidget* organizer) { organizer_ = organizer; }

// ---- Painting, showing, closing

void TForm1::paintEvent(QPaintEvent*) {
  // A window moved to a screen of another resolution gets its artwork anew.
  if (!Image3.isNull() && !renkomi::ui::TileFitsRatio(Image3, devicePixelRatioF())) ComposePicture();
  QPainter painter(this);
  if (Image3.isNull()) {
    painter.fillRect(rect(), palette().color(QPalette::Button));
  } else {
    painter.drawTiledPixmap(rect(), Image3);
  }
  // The picture keeps to the tile grid so that its own tile continues the window's.
  const QPoint snapped(renkomi::ui::SnapToTile(Image1->x()), renkomi::ui::SnapToTile(Image1->y()));
  if (snapped != Image1->pos()) Image1->move(snapped);
}

void TForm1::showEvent(QShowEvent* event) {
  renkomi::ui::CentreOnFirstShow(*this);
  QWidget::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  // While the organizer is open it holds the dictionary's words; only its own
  // closing puts them back, so the window stays whoever asks it to close.
  if (organizer_ != nullptr && organizer_->isVisible()) {
    event->ignore();
    return;
  }
  // FormCloseQuery: the words of a running match go back to the dictionary and the
  // files are written. A dictionary unchanged since it was loaded or saved is not
  // written again, so a folder that cannot be written never keeps a player in.
  if (store_.HasUnsavedChanges()) {
    try {
      store_.SaveDictionary();
    } catch (const std::exception& failure) {
      // The player learns what is in the way, then chooses: quitting loses what
      // was not saved, staying keeps it in memory for another try.
      renkomi::ui::ShowErrorDialog(this, failure);
      if (!renkomi::ui::AskYesNoDialog(
              this, QStringLiteral("辞書を保存できませんでした。保存しないで終わりますか？"))) {
        event->ignore();
        return;
      }
    }
  }
  event->accept();
  // An open help window would keep the program running after its main window.
  if (helpWindow_) helpWindow_->close();
}

// ---- The dictionary choice

// Serves rgpJisyoSel and cbxJisyoSel: the choice or the typed name changes.
void TForm1::rgpJisyoSelClick() {
  const int set = choice_->Update();
  if (choice_->Personal()) FocusControl(cbxJisyoSel);
  ShowMessageSet(set);
}

// Serves bbtnJisyoOK, "えらぶ".
void TForm1::bbtnJisyoOKClick() {
  // A personal dictionary is named after the player; the name becomes file names.
  store_.ChooseDictionary(choice_->FileName());
  pnlUserName->SetCaption(choice_->Caption());
  // A dictionary that cannot be created leaves the choice open: the error goes to
  // the error dialog and the player may choose again.
  store_.LoadDictionary();
  pnlSelDic->hide();
  btnSTART->setEnabled(true);
  btnSTART->show();
  btnFINISH->show();
  btnTEACH->show();
  FocusControl(btnSTART);
}

// ---- The buttons

// Serves btnSTART, "はじめる".
void TForm1::btnSTARTClick() { match_.Start(); }

// Serves btnFINISH, "やめる".
void TForm1::btnFINISHClick() { close(); }

// Serves btnTEACH, "おしえる".
void TForm1::btnTEACHClick() { match_.TeachWord(std::string()); }
