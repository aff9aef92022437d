#include "about_box.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

#include "look.h"

namespace renkomi::app {

namespace {

// Colours as the game's layout gives them, in RGB.
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kYellow(0xFF, 0xFF, 0x00);

void SetColours(QWidget& widget, const QColor& text, const QColor* background) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, text);
  if (background != nullptr) {
    palette.setColor(QPalette::Window, *background);
    widget.setAutoFillBackground(true);
  }
  widget.setPalette(palette);
}

// The text under the version line. It speaks for the game, not for a seller, so
// it names no price.
QString AboutText() {
  return QStringLiteral(
      "Renkomi は、漢字のじゅくごでしりとりをするゲームです。"
      "パソコンが負けたら、つづくことばをおしえてあげてね。"
      "おしえたことばは辞書にのこって、つぎの勝負からパソコンも使います。");
}

}  // namespace

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) {
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kSilver);
  setPalette(palette);
  setAutoFillBackground(true);
}

void BevelPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect outer = rect().adjusted(0, 0, -1, -1);
  const QRect inner = outer.adjusted(1, 1, -1, -1);
  // Lowered outside: shadow above and to the left, light below and to the right.
  painter.setPen(kGrey);
  painter.drawLine(outer.topLeft(), outer.topRight());
  painter.drawLine(outer.topLeft(), outer.bottomLeft());
  painter.setPen(Qt::white);
  painter.drawLine(outer.bottomLeft(), outer.bottomRight());
  painter.drawLine(outer.topRight(), outer.bottomRight());
  // Raised inside: the other way round.
  painter.setPen(Qt::white);
  painter.drawLine(inner.topLeft(), inner.topRight());
  painter.drawLine(inner.topLeft(), inner.bottomLeft());
  painter.setPen(kGrey);
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
  renkomi::ui::PaintCheckMark(painter, glyph, isEnabled() ? renkomi::ui::kCheckMarkGreen : kGrey);

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
  setFixedSize(427, 334);
  // A fixed dialog frame: title and close button, nothing to minimize or maximize.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(renkomi::ui::GameFont(13, false));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kTeal);
  setPalette(palette);
  setAutoFillBackground(true);

  Panel1 = new BevelPanel(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(16, 11, 393, 166);

  OKButton = new CheckGlyphButton(QStringLiteral("閉じる"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(160, 278, 106, 38);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/renkomi/program_icon.bmp")));
  ProgramIcon->setGeometry(24, 16, 32, 32);

  ProductName = new QLabel(QStringLiteral("Renkomi"), Panel1);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  ProductName->setGeometry(37, 62, 323, 21);
  ProductName->setFont(renkomi::ui::GameFont(21, true));
  SetColours(*ProductName, kTeal, &kSilver);

  Version = new QLabel(QStringLiteral("Version 2.0"), Panel1);
  Version->setObjectName(QStringLiteral("Version"));
  Version->setGeometry(258, 95, 100, 16);
  Version->setFont(renkomi::ui::GameFont(16, true));
  SetColours(*Version, kGrey, nullptr);

  Label1 = new QLabel(AboutText(), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(32, 184, 353, 72);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SetColours(*Label1, kYellow, nullptr);

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
