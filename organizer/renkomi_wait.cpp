#include "renkomi_wait.h"

#include <cstdint>

#include <QLabel>

#include "gauge.h"
#include "layout.h"
#include "look.h"

namespace {

// A fixed dialog frame: title and close button, nothing to minimize or maximize.
constexpr renkomi::ui::WindowRow kWindow{.name = "frmRenkomiWait", .caption = u"辞書の整理中",
                                         .frame = renkomi::ui::Frame::FixedDialog, .clientWidth = 293,
                                         .clientHeight = 133};

using renkomi::ui::kNavy;
using renkomi::ui::kWhite;

using renkomi::ui::Kind;

}  // namespace

// The dialog's elements as the design lays them out: a navy bar on white.
constexpr renkomi::ui::Element TfrmRenkomiWait::kLayout[] = {
    {RENKOMI_ELEMENT(TfrmRenkomiWait, Label1), .kind = Kind::Label, .left = 64, .top = 16, .width = 176,
     .height = 20, .text = u"しばらくお待ち下さい。"},
    {RENKOMI_ELEMENT(TfrmRenkomiWait, Panel1), .kind = Kind::RaisedLabel, .left = 24, .top = 56, .width = 249,
     .height = 25, .text = u"現在の進行状況"},
    {RENKOMI_ELEMENT(TfrmRenkomiWait, Gauge1), .kind = Kind::Gauge, .left = 24, .top = 88, .width = 249,
     .height = 33, .background = kWhite, .barColour = kNavy, .accessibleName = u"現在の進行状況"},
};

TfrmRenkomiWait::TfrmRenkomiWait(QWidget* parent) : QDialog(parent) {
  renkomi::ui::SetUpWindow(*this, kWindow);
  renkomi::ui::BuildElements(*this, kLayout);
  // Watched while the table fills without the event loop.
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

// Serves frmRenkomiWait: the dialog is painted.
void TfrmRenkomiWait::FormPaint() { SetProgress(0); }
