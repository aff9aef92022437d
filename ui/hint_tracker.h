// Follows the pointer and the focus through the main window for its hint rules:
// which hinted element the pointer is over, which element has newly taken the
// focus, and giving the focus back to that element when the window is enabled
// again. The rules themselves are the window's; this unit only tells it when they
// apply.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QWidget;

namespace renkomi::ui {

class HintTracker final : public QObject {
 public:
  struct Rules {
    // The pointer is over `element`: the window itself or one of the hinted elements.
    std::function<void(QObject* element)> pointerOver;
    // `element` of the window has taken the focus; it had not before.
    std::function<void(QWidget* element)> entered;
  };

  // Watches `window` and, for the pointer, the elements of `hinted`.
  HintTracker(QWidget& window, std::initializer_list<QWidget*> hinted, Rules rules);
  ~HintTracker() override;
  HintTracker(const HintTracker&) = delete;
  HintTracker& operator=(const HintTracker&) = delete;

  // Moves the focus to `element` and applies its rule at once: after a dialog the
  // window does not wait for the desktop to activate it again. A disabled element
  // is left alone.
  void Focus(QWidget* element);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Entered(QWidget* element);

  QWidget& window_;
  std::vector<QWidget*> hinted_;
  Rules rules_;
  QPointer<QWidget> active_;  // the element that last took the focus
  QMetaObject::Connection focusWatch_;
};

}  // namespace renkomi::ui
