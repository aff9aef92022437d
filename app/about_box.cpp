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

// Colours as the game's layout gives them, blue-green-red.
constexpr std::uint32_t kTeal = 0x808000;
constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kYellow = 0x00FFFF;

// The text under the version line. It speaks for the game, not for a seller, so
// it names no price.
constexpr const char16_t* kAboutText =
    u"Renkomi は、漢字のじゅくごでしりとりをするゲームです。"
    u"パソコンが負けたら、つづくことばをおしえてあげてね。"
    u"おしえたことばは辞書にのこって、つぎの勝負からパソコンも使います。";

constexpr QSize kClientSize{427, 334};

// The box's elements as the design lays them out, in the order they are stacked.
using renkomi::ui::Kind;
using renkomi::ui::OwnClass;
constexpr renkomi::ui::Element kLayout[] = {
    // name, kind, parent, left, top, width, height, caption, font pixels, bold, colour
    {"Panel1", OwnClass<BevelPanel>, nullptr, 16, 11, 393, 166},
    {"OKButton", OwnClass<CheckGlyphButton>, nullptr, 160, 278, 106, 38, u"閉じる"},
    {.name = "ProgramIcon", .kind = Kind::Picture, .parent = "Panel1", .left = 24, .top = 16, .width = 32,
     .height = 32, .accessibleName = u"Renkomiのアイコン"},
    {"ProductName", Kind::Label, "Panel1", 37, 62, 323, 21, u"Renkomi", 21, true, kTeal},
    {"Version", Kind::Label, "Panel1", 258, 95, 100, 16, u"Version 2.0", 16, true, kGrey},
    {"Label1", Kind::Label, nullptr, 32, 184, 353, 72, kAboutText, 0, false, kYellow},
};

}  // namespace

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, renkomi::ui::FromBgr(kSilver));
  setPalette(palette);
  setAutoFillBackground(true);
}

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

TRenkomiAboutBox::TRenkomiAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("RenkomiAboutBox"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  setFixedSize(kClientSize);
  // A fixed dialog frame: title and close button, nothing to minimize or maximize.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(renkomi::ui::GameFont(13, false));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, renkomi::ui::FromBgr(kTeal));
  setPalette(palette);
  setAutoFillBackground(true);

  const renkomi::ui::BuiltElements built = renkomi::ui::BuildElements(*this, kLayout);
  built.Bind("Panel1", Panel1, "OKButton", OKButton, "ProgramIcon", ProgramIcon, "ProductName", ProductName,
             "Version", Version, "Label1", Label1);

  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  ProgramIcon->setPixmap(renkomi::ui::PictureAtRatio(QStringLiteral(":/renkomi/program_icon.bmp"),
                                                      QSize(32, 32), devicePixelRatioF()));
  QPalette silver = ProductName->palette();
  silver.setColor(QPalette::Window, renkomi::ui::FromBgr(kSilver));
  ProductName->setPalette(silver);
  ProductName->setAutoFillBackground(true);
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

void TRenkomiAboutBox::keyPressEvent(QKeyEvent* event) {
  // Only its button, Enter and the title bar close it: Esc does nothing.
  if (event->matches(QKeySequence::Cancel)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace renkomi::app
