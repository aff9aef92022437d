// The application's own record of its main form: the first window, recorded once
// it has been created completely. Closing it ends the event loop, whatever other
// windows of the game are open then.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace renkomi::app {

class AppShell : public QObject {
  Q_OBJECT
 public:
  AppShell() = default;

  QWidget* MainForm() const { return mainForm_; }
  bool HasMainForm() const { return !mainForm_.isNull(); }

  // Records `form` as the main form; only the first call counts.
  void SetMainForm(QWidget& form);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> mainForm_;
};

}  // namespace renkomi::app
