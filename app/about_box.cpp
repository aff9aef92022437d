#include "about_box.h"

#include <cstdint>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

#include "layout.h"
#include "look.h"

namespace renkomi::app {

namespace {

using renkomi::ui::kGrey;
using renkomi::ui::kSilver;
using renkomi::ui::kTeal;
using renkomi::ui::kYellow;

// The text under the version line. It speaks for the game, not for a seller, so
// it names no price.
constexpr const char16_t* kAboutText =
    u"Renkomi は、漢字のじゅくごでしりとりをするゲームです。"
    u"パソコンが負けたら、つづくことばをおしえてあげてね。"
    u"おしえたことばは辞書にのこって、つぎの勝負からパソコンも使います。";

// A fixed dialog frame on the game's teal: title and close button, nothing to
// minimize or maximize.
constexpr renkomi::ui::WindowRow kWindow{.name = "RenkomiAboutBox", .caption = u"バージョン情報",
                                         .frame = renkomi::ui::Frame::FixedDialog, .clientWidth = 427,
                                         .clientHeight = 334, .background = kTeal};

}  // namespace

using renkomi::ui::Kind;
using renkomi::ui::OwnClass;

// The box's elements as the design lays them out, in the order they are stacked.
constexpr renkomi::ui::Element TRenkomiAboutBox::kLayout[] = {
    {RENKOMI_ELEMENT(TRenkomiAboutBox, Panel1), .kind = OwnClass<BevelPanel>, .left = 16, .top = 11, .width = 393,
     .height = 166, .background = kSilver},
    {RENKOMI_ELEMENT(TRenkomiAboutBox, OKButton), .kind = OwnClass<CheckGlyphButton>, .left = 160, .top = 278,
     .width = 106, .height = 38, .text = u"閉じる"},
    {RENKOMI_ELEMENT(TRenkomiAboutBox, ProgramIcon), .kind = Kind::Picture, .parent = "Panel1", .left = 24,
     .top = 16, .width = 32, .height = 32, .accessibleName = u"Renkomiのアイコン"},
    {RENKOMI_ELEMENT(TRenkomiAboutBox, ProductName), .kind = Kind::Label, .parent = "Panel1", .left = 37, .top = 62,
     .width = 323, .height = 21, .text = u"Renkomi", .fontPixels = 21, .bold = true, .colour = kTeal,
     .background = kSilver},
    {RENKOMI_ELEMENT(TRenkomiAboutBox, Version), .kind = Kind::Label, .parent = "Panel1", .left = 258, .top = 95,
     .width = 100, .height = 16, .text = u"Version 2.0", .fontPixels = 16, .bold = true, .colour = kGrey},
    {RENKOMI_ELEMENT(TRenkomiAboutBox, Label1), .kind = Kind::Label, .left = 32, .top = 184, .width = 353,
     .height = 72, .text = kAboutText, .colour = kYellow},
};

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) {}

void BevelPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect outer = rect().adjusted(0, 0, -1, -1);
  const QRect inner = outer.adjusted(1, 1, -1, -1);
  // Lowered outside: shadow above and to the left, light below and to the right.
  painter.setPen(renkomi::ui::FromBgr(kGrey));
  painter.drawLine(outer.topLeft(), outer.topRight());
  painter.drawLine(outer.topLeft(), outer.bottomLeft());
  painter.setPen(Qt::white);
  painter.drawLine(outer.bottomLeft(), outer.bottomRight());
  painter.drawLine(outer.topRight(), outer.bottomRight());
  // Raised inside: the other way round.
  painter.setPen(Qt::white);
  painter.drawLine(inner.topLeft(), inner.topRight());
  painter.drawLine(inner.topLeft(), inner.bottomLeft());
  painter.setPen(renkomi::ui::FromBgr(kGrey));
  painter.drawLine(inner.bottomLeft(), inner.bottomRight());
  painter.drawLine(inner.topRight(), inner.bottomRight());
}

CheckGlyphButton::CheckGlyphButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent) {}

void CheckGlyphButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

  // The glyph: a green check mark 18 pixels square, 2 pixels from the left edge.
  constexpr int kGlyph = 18;
  const int shift = isDown() ? 1 : 0;
  const QRectF glyph(2 + shift, (height() - kGlyph) / 2 + shift, kGlyph, kGlyph);
  renkomi::ui::PaintCheckMark(painter, glyph,
                              isEnabled() ? renkomi::ui::kCheckMarkGreen : renkomi::ui::FromBgr(kGrey));

  const QRect caption(2 + kGlyph + shift, shift, width() - 2 - kGlyph, height());
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::ButtonText));
  painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, text());

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(4, 4, -4, -4);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

TRenkomiAboutBox::TRenkomiAboutBox(QWidget* parent) : EscapeProofDialog(parent) {
  renkomi::ui::SetUpWindow(*this, kWindow);
  renkomi::ui::BuildElements(*this, kLayout);

  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  ProgramIcon->setPixmap(renkomi::ui::PictureAtRatio(QStringLiteral(":/renkomi/program_icon.bmp"),
                                                      QSize(32, 32), devicePixelRatioF()));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  OKButton->setFocus();
}

void TRenkomiAboutBox::showEvent(QShowEvent* event) {
  // Centred the first time only; afterwards it opens where the player left it.
  renkomi::ui::CentreOnFirstShow(*this);
  QDialog::showEvent(event);
  OKButton->setFocus();
}

}  // namespace renkomi::app
