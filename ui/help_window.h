// The game's help viewer: a window of its own that shows the help file (HTML)
// from its top, with the links inside it followed in place.
#pragma once

#include <QString>
#include <QTextBrowser>

namespace renkomi::ui {

class HelpWindow : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Loads `path` and shows it at its contents, bringing the window to the front.
  // False, with nothing shown, when the file cannot be read.
  bool ShowContents(const QString& path);
};

}  // namespace renkomi::ui
