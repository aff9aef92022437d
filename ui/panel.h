// A raised panel with its caption centred, the frame the window's sides are built on.
#pragma once

#include <QFrame>
#include <QString>

namespace renkomi::ui {

class Panel : public QFrame {
  Q_OBJECT
 public:
  explicit Panel(const QString& caption = {}, QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace renkomi::ui
