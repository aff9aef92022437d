#include "help_window.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QUrl>

namespace renkomi::ui {

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowFlag(Qt::Window);
  setOpenLinks(true);
  // Only the help's own pages; a web address in it is not opened from the game.
  setOpenExternalLinks(false);
  resize(560, 480);
}

bool HelpWindow::ShowContents(const QString& path) {
  const QFileInfo file(path);
  if (!file.isFile() || !file.isReadable()) return false;
  // The extension says nothing of the format: the help is HTML, whatever it is called.
  setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::HtmlResource);
  if (document()->isEmpty()) return false;
  const QString title = documentTitle();
  setWindowTitle(title.isEmpty() ? QStringLiteral("Renkomi ヘルプ") : title);
  moveCursor(QTextCursor::Start);
  verticalScrollBar()->setValue(0);
  show();
  raise();
  activateWindow();
  return true;
}

}  // namespace renkomi::ui
