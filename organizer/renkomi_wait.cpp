#include "renkomi_wait.h"

#include <QLabel>

#include "gauge.h"
#include "layout.h"
#include "look.h"

namespace {

constexpr QSize kClientSize{293, 133};

// The dialog's elements as the design lays them out.
using renkomi::ui::Kind;
constexpr renkomi::ui::Element kLayout[] = {
    // name, kind, parent, left, top, width, height, caption
    {"Label1", Kind::Label, nullptr, 64, 16, 176, 20, u"しばらくお待ち下さい。"},
    {"Panel1", Kind::RaisedLabel, nullptr, 24, 56, 249, 25, u"現在の進行状況"},
    {.name = "Gauge1", .kind = Kind::Gauge, .parent = nullptr, .left = 24, .top = 88, .width = 249, .height = 33,
     .accessibleName = u"現在の進行状況"},
};

}  // namespace

TfrmRenkomiWait::TfrmRenkomiWait(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("frmRenkomiWait"));
  setWindowTitle(QStringLiteral("辞書の整理中"));
  setFont(renkomi::ui::GameFont(13));
  setFixedSize(kClientSize);
  // A fixed dialog frame: title and close button, nothing to minimize or maximize.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  const renkomi::ui::BuiltElements built = renkomi::ui::BuildElements(*this, kLayout);
  built.Bind("Label1", Label1, "Panel1", Panel1, "Gauge1", Gauge1);

  // A navy bar on white, watched while the table fills without the event loop.
  Gauge1->SetColours(QColor(0x00, 0x00, 0x80), Qt::white);
  Gauge1->SetSplitText(true);
  Gauge1->SetRepaintAtOnce(true);
}

void TfrmRenkomiWait::SetProgress(int percent) { Gauge1->SetProgress(percent); }

void TfrmRenkomiWait::setVisible(bool visible) {
  // Centred the first time only; afterwards it comes back where it was left.
  if (visible) renkomi::ui::CentreOnFirstShow(*this);
  QDialog::setVisible(visible);
}

void TfrmRenkomiWait::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormPaint();
}

void TfrmRenkomiWait::FormPaint() { SetProgress(0); }
