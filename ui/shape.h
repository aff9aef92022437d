// The outline of the speech bubble: a white rectangle with a black one-pixel edge
// and corners rounded by an ellipse a quarter of its shorter side across.
#pragma once

#include <QWidget>

namespace renkomi::ui {

class Shape : public QWidget {
  Q_OBJECT
 public:
  explicit Shape(QWidget* parent = nullptr);

  // Width and height of the corner ellipse, in pixels.
  int CornerSize() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace renkomi::ui
