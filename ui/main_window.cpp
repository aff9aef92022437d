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

constexpr int kClientWidth = 616;
constexpr int kClientHeight = 403;
using renkomi::ui::kTagProperty;

constexpr std::uint32_t kNavy = 0x800000;
constexpr std::uint32_t kTeal = 0x808000;
constexpr std::uint32_t kYellow = 0x00FFFF;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kLime = 0x00FF00;

// The main window's elements as the design lays them out, stacked from the bottom:
// the shape, the picture and the gauge lie beneath the rest.
using renkomi::ui::Kind;
constexpr renkomi::ui::Element kLayout[] = {
    // name, kind, parent, left, top, width, height, caption, font pixels, bold, colour, tag
    {"shpFUKIDASI", Kind::Shape, nullptr, 344, 8, 265, 145},
    {.name = "Image1", .kind = Kind::Picture, .parent = nullptr, .left = 336, .top = 152, .width = 273,
     .height = 241, .accessibleName = u"パソコンの絵"},
    {.name = "gagHitPoint", .kind = Kind::Gauge, .parent = nullptr, .left = 464, .top = 368, .width = 145,
     .height = 25, .fontPixels = 15, .bold = true, .accessibleName = u"パソコンのダメージ"},
    {"Panel1", Kind::Panel, nullptr, 8, 8, 321, 153, u"", 15, false, kNavy},
    {"Panel2", Kind::Panel, "Panel1", 16, 16, 161, 25, u"パソコン"},
    {"Label1", Kind::Label, "Panel1", 16, 56, 64, 18, u"じゅくご"},
    {"Label2", Kind::Label, "Panel1", 16, 104, 64, 18, u"よみがな"},
    {.name = "edtCOMP_JUKU", .kind = Kind::DisplayBox, .parent = "Panel1", .left = 96, .top = 48, .width = 209,
     .height = 26, .accessibleName = u"パソコンのじゅくご"},
    {.name = "edtCOMP_YOMI", .kind = Kind::DisplayBox, .parent = "Panel1", .left = 96, .top = 96, .width = 209,
     .height = 26, .accessibleName = u"パソコンのよみがな"},
    {.name = "memFUKIDASI", .kind = Kind::Memo, .parent = nullptr, .left = 376, .top = 15, .width = 209,
     .height = 130, .fontPixels = 16, .accessibleName = u"パソコンのふきだし"},
    {"btnSTART", Kind::Button, nullptr, 8, 344, 97, 45, u"はじめる", 15, false, renkomi::ui::kParentColour, 2},
    {"btnFINISH", Kind::Button, nullptr, 120, 344, 97, 45, u"やめる", 0, false, renkomi::ui::kParentColour, 3},
    {"btnTEACH", Kind::Button, nullptr, 232, 344, 97, 45, u"おしえる", 0, false, renkomi::ui::kParentColour, 4},
    {"Panel3", Kind::Panel, nullptr, 8, 176, 321, 153, u"", 15, false, kTeal},
    {"pnlUserName", Kind::Panel, "Panel3", 16, 16, 161, 25, u"あなた"},
    {"Label5", Kind::Label, "Panel3", 16, 56, 64, 18, u"じゅくご"},
    {"Label6", Kind::Label, "Panel3", 16, 104, 64, 18, u"よみがな"},
    {.name = "edtUSER_JUKU", .kind = Kind::LineEdit, .parent = "Panel3", .left = 96, .top = 48, .width = 209,
     .height = 26, .accessibleName = u"あなたのじゅくご"},
    {.name = "edtUSER_YOMI", .kind = Kind::LineEdit, .parent = "Panel3", .left = 96, .top = 96, .width = 209,
     .height = 26, .accessibleName = u"あなたのよみがな"},
    {"Panel5", Kind::Panel, nullptr, 336, 368, 129, 25, u"今のダメージは", 15, true},
    // The dictionary choice, over both sides until a dictionary has been chosen.
    {"pnlSelDic", Kind::Panel, nullptr, 8, 8, 321, 321, u""},
    {"rgpJisyoSel", Kind::GroupBox, "pnlSelDic", 16, 16, 185, 73, u"辞書をえらぶ"},
    {"rgpJisyoSelItem0", Kind::RadioButton, "rgpJisyoSel", 8, 18, 169, 24, u"みんなの辞書を使う"},
    {"rgpJisyoSelItem1", Kind::RadioButton, "rgpJisyoSel", 8, 43, 169, 24, u"自分の辞書を使う"},
    {"bbtnJisyoOK", Kind::Button, "pnlSelDic", 216, 40, 97, 33, u"えらぶ"},
    {.name = "cbxJisyoSel", .kind = Kind::ComboBox, .parent = "pnlSelDic", .left = 16, .top = 112, .width = 177,
     .height = 26, .accessibleName = u"自分の辞書の名前"},
};

}  // namespace

TForm1::TForm1(std::filesystem::path programFolder, renkomi::Random& random,
               renkomi::ui::Sound& sound, QWidget* parent)
    : TForm1(programFolder, programFolder, random, sound, parent) {}

TForm1::TForm1(std::filesystem::path programFolder, std::filesystem::path dataFolder, renkomi::Random& random,
               renkomi::ui::Sound& sound, QWidget* parent)
    : QWidget(parent),
      random_(random),
      sound_(sound),
      store_(std::move(programFolder)),
      match_(store_, *this, random),
      dataFolder_(std::move(dataFolder)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Renkomi Ver.2.0"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setProperty(kTagProperty, 1);
  setFont(renkomi::ui::GameFont(13));
  // The layout does not follow a resize: a larger window shows more of the tile.
  resize(kClientWidth, kClientHeight);
  if (QFile::exists(QStringLiteral(":/renkomi/icon.png"))) {
    setWindowIcon(QIcon(QStringLiteral(":/renkomi/icon.png")));
  }

  CreateElements();
  SetTabOrder();
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
  const renkomi::ui::BuiltElements built = renkomi::ui::BuildElements(*this, kLayout);
  built.Bind("shpFUKIDASI", shpFUKIDASI, "Image1", Image1, "gagHitPoint", gagHitPoint, "Panel1", Panel1,
             "Panel2", Panel2, "Label1", Label1, "Label2", Label2, "edtCOMP_JUKU", edtCOMP_JUKU,
             "edtCOMP_YOMI", edtCOMP_YOMI, "memFUKIDASI", memFUKIDASI, "btnSTART", btnSTART,
             "btnFINISH", btnFINISH, "btnTEACH", btnTEACH, "Panel3", Panel3, "pnlUserName", pnlUserName,
             "Label5", Label5, "Label6", Label6, "edtUSER_JUKU", edtUSER_JUKU, "edtUSER_YOMI", edtUSER_YOMI,
             "Panel5", Panel5, "pnlSelDic", pnlSelDic, "rgpJisyoSel", rgpJisyoSel,
             "rgpJisyoSelItem0", rgpJisyoSelItem0, "rgpJisyoSelItem1", rgpJisyoSelItem1,
             "bbtnJisyoOK", bbtnJisyoOK, "cbxJisyoSel", cbxJisyoSel);

  Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Image1->setContextMenuPolicy(Qt::CustomContextMenu);
  gagHitPoint->SetColours(renkomi::ui::FromBgr(kRed), renkomi::ui::FromBgr(kLime));
  {
    QPalette palette = Panel5->palette();
    palette.setColor(QPalette::Window, renkomi::ui::FromBgr(kNavy));
    palette.setColor(QPalette::WindowText, renkomi::ui::FromBgr(kYellow));
    Panel5->setPalette(palette);
  }
  Label1->setBuddy(edtCOMP_JUKU);
  Label2->setBuddy(edtCOMP_YOMI);
  Label5->setBuddy(edtUSER_JUKU);
  Label6->setBuddy(edtUSER_YOMI);
  for (QLineEdit* box : {edtCOMP_JUKU, edtCOMP_YOMI}) {
    box->setFocusPolicy(Qt::ClickFocus);
    box->setCursor(Qt::ArrowCursor);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
  }
  for (QLineEdit* box : {edtUSER_JUKU, edtUSER_YOMI}) {
    box->setEnabled(false);
    // Qt has no hint for hiragana mode: the input method is simply on, and the
    // player's input method starts in its own (kana) mode.
    box->setAttribute(Qt::WA_InputMethodEnabled, true);
    box->installEventFilter(this);
  }
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

void TForm1::SetTabOrder() {
  QWidget* const order[] = {bbtnJisyoOK,      cbxJisyoSel, rgpJisyoSelItem0, rgpJisyoSelItem1,
                            btnSTART,         btnFINISH,   btnTEACH,         edtUSER_JUKU,
                            edtUSER_YOMI};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

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
  btnSTART->hide();
  btnSTART->setEnabled(false);
  btnFINISH->hide();
  btnTEACH->hide();
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

int TForm1::SnapToTile(int coordinate) { return renkomi::ui::SnapToTile(coordinate); }

int TForm1::Tag(const QObject* element) {
  return element == nullptr ? 0 : element->property(kTagProperty).toInt();
}

void TForm1::SetAboutBox(QDialog* aboutBox) { aboutBox_ = aboutBox; }
void TForm1::SetInputBox(TfrmInputBox* inputBox) { inputBox_ = inputBox; }
void TForm1::SetOrganizer(QWidget* organizer, std::function<void()> chosen) {
  organizer_ = organizer;
  organizerChosen_ = std::move(chosen);
}

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
  const QPoint snapped(SnapToTile(Image1->x()), SnapToTile(Image1->y()));
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
      renkomi::ui::ShowErrorDialog(this, QString::fromUtf8(failure.what()));
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

void TForm1::rgpJisyoSelClick() {
  const int set = choice_->Update();
  if (choice_->Personal()) FocusControl(cbxJisyoSel);
  ShowMessageSet(set);
}

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

void TForm1::btnSTARTClick() { match_.Start(); }

void TForm1::btnFINISHClick() { close(); }

void TForm1::btnTEACHClick() { match_.TeachWord(std::string()); }
