#include "renkomi_wait.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "gauge.h"
#include "look.h"

namespace {

}  // namespace

TfrmRenkomiWait::TfrmRenkomiWait(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("frmRenkomiWait"));
  setWindowTitle(QStringLiteral("辞書の整理中"));
  setFont(renkomi::ui::GameFont(13));
  setFixedSize(293, 133);
  // A fixed dialog frame: title and close button, nothing to minimize or maximize.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  Label1 = new QLabel(QStringLiteral("しばらくお待ち下さい。"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(64, 16, 176, 20);

  Panel1 = new QLabel(QStringLiteral("現在の進行状況"), this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setGeometry(24, 56, 249, 25);

  Gauge1 = new renkomi::ui::Gauge(this);
  Gauge1->setObjectName(QStringLiteral("Gauge1"));
  Gauge1->setGeometry(24, 88, 249, 33);
  // A navy bar on white, watched while the table fills without the event loop.
  Gauge1->SetColours(QColor(0x00, 0x00, 0x80), Qt::white);
  Gauge1->SetSplitText(true);
  Gauge1->SetRepaintAtOnce(true);
}

void TfrmRenkomiWait::setVisible(bool visible) {
  // Centred the first time only; afterwards it comes back where it was left.
  if (visible) renkomi::ui::CentreOnFirstShow(*this);
  QDialog::setVisible(visible);
}

void TfrmRenkomiWait::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormPaint();
}

void TfrmRenkomiWait::FormPaint() { Gauge1->SetProgress(0); }
