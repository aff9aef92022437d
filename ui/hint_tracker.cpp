#include "hint_tracker.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace renkomi::ui {

HintTracker::HintTracker(QWidget& window, std::initializer_list<QWidget*> hinted, Rules rules)
    : window_(window), hinted_(hinted), rules_(std::move(rules)) {
  // The bare window and the hinted elements speak their hints while the pointer
  // merely passes over them.
  window_.setMouseTracking(true);
  window_.installEventFilter(this);
  for (QWidget* element : hinted_) {
    element->setMouseTracking(true);
    element->installEventFilter(this);
  }
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now != nullptr && now->window() == &window_) Entered(now);
  });
}

HintTracker::~HintTracker() {
  // The window's elements die after this: none of their focus changes may reach
  // the rules of a window that is half gone.
  disconnect(focusWatch_);
}

void HintTracker::Focus(QWidget* element) {
  if (!element->isEnabled()) return;
  element->setFocus(Qt::OtherFocusReason);
  Entered(element);
}

void HintTracker::Entered(QWidget* element) {
  if (element == active_) return;
  active_ = element;
  rules_.entered(element);
}

bool HintTracker::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    if (watched == &window_) {
      // A move that a child let through is not over the bare window.
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      if (window_.childAt(at) == nullptr) rules_.pointerOver(&window_);
    } else if (std::find(hinted_.begin(), hinted_.end(), watched) != hinted_.end()) {
      rules_.pointerOver(watched);
    }
  } else if (event->type() == QEvent::EnabledChange && watched == &window_ && window_.isEnabled()) {
    // Disabling the window (the organizer does, while it is open) takes the focus
    // from its element; enabled again, the window gives it back to that element, so
    // the desktop's activation does not pass it on to the first element in the tab
    // order. The element is the active one still: its hint is not shown again.
    if (active_ != nullptr && window_.focusWidget() == nullptr && active_->isEnabled() &&
        active_->isVisibleTo(&window_)) {
      active_->setFocus(Qt::OtherFocusReason);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace renkomi::ui
