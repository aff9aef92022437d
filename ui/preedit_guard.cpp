#include "preedit_guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QInputMethodEvent>
#include <QLoggingCategory>

namespace renkomi::ui {

namespace {
// QT_LOGGING_RULES="renkomi.preedit.debug=true" shows what the input method sends.
Q_LOGGING_CATEGORY(lcPreedit, "renkomi.preedit", QtWarningMsg)
}  // namespace

void PreeditGuard::Watch(QWidget* box) { box->installEventFilter(this); }

bool PreeditGuard::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QWidget*>(watched);
  if (event->type() != QEvent::InputMethod || box == nullptr) {
    return QObject::eventFilter(watched, event);
  }
  const auto* im = static_cast<QInputMethodEvent*>(event);
  const QString commit = im->commitString();
  qCDebug(lcPreedit) << watched->objectName() << "preedit" << im->preeditString() << "commit"
                     << commit;
  if (!im->preeditString().isEmpty()) {
    owner_ = box;
    return false;
  }
  if (commit.isEmpty()) {
    // The conversion was cancelled in its own box.
    if (box == owner_) owner_ = nullptr;
    return false;
  }
  if (owner_ != nullptr && owner_ != box) {
    // The pending conversion of another box, delivered here because the focus
    // moved before it arrived: it goes where it was typed.
    QPointer<QWidget> owner = owner_;
    owner_ = nullptr;
    qCDebug(lcPreedit) << "handed to" << owner->objectName();
    QInputMethodEvent handed;
    handed.setCommitString(commit, im->replacementStart(), im->replacementLength());
    QCoreApplication::sendEvent(owner, &handed);
    committed_ = owner;
    lastCommit_ = commit;
    sinceCommit_.start();
    return true;
  }
  if (owner_ == nullptr && committed_ != nullptr && committed_ != box && commit == lastCommit_ &&
      sinceCommit_.isValid() && sinceCommit_.elapsed() < kStrayWindowMs) {
    // The second copy of a conversion already committed into the box the focus
    // left: that box has it, this one never composed it.
    qCDebug(lcPreedit) << "dropped: already in" << committed_->objectName();
    lastCommit_.clear();
    return true;
  }
  owner_ = nullptr;
  committed_ = box;
  lastCommit_ = commit;
  sinceCommit_.start();
  return false;
}

}  // namespace renkomi::ui
