// The game's help viewer: a window of its own that shows the help file (HTML)
// from its top, with the links inside it followed in place.
#pragma once

#include <memory>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTextBrowser>

namespace renkomi::ui {

class HelpWindow : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // A help window belonging to `owner`, with its icon, opening beside it (see
  // PlaceBeside); later showings open where the player left it.
  static std::unique_ptr<HelpWindow> For(QWidget& owner);

  // Loads `path` and shows it at its contents, bringing the window to the front.
  // False, with nothing shown, when the file cannot be read.
  bool ShowContents(const QString& path);

  // Where a window of `frame` size (frame included) opens beside the main window
  // `owner` (its frame), fully inside `area`: to its right, else to its left, else
  // over it; a window larger than the area starts at its top left.
  static QPoint PlaceBeside(const QRect& owner, const QSize& frame, const QRect& area);
};

}  // namespace renkomi::ui
