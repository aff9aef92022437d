#include "help_window.h"

#include <algorithm>

#include <QFileInfo>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>

#include "secondary_window.h"

namespace renkomi::ui {

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowFlag(Qt::Window);
  setOpenLinks(true);
  // Only the help's own pages; a web address in it is not opened from the game.
  setOpenExternalLinks(false);
  resize(560, 480);
}

std::unique_ptr<HelpWindow> HelpWindow::For(QWidget& owner) {
  auto help = std::make_unique<HelpWindow>();
  help->setWindowIcon(owner.windowIcon());
  MakeSecondaryWindow(*help, owner);
  if (const QScreen* screen = owner.screen(); screen != nullptr) {
    const QSize frame = owner.frameGeometry().size() - owner.size();
    help->move(PlaceBeside(owner.frameGeometry(), help->size() + frame, screen->availableGeometry()));
  }
  return help;
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

QPoint HelpWindow::PlaceBeside(const QRect& owner, const QSize& frame, const QRect& area) {
  const auto fits = [&](QPoint at) { return area.contains(QRect(at, frame)); };
  // Level with the main window where the screen allows, else as high as it does.
  const int top = std::max(area.top(), std::min(owner.top(), area.bottom() + 1 - frame.height()));
  for (const QPoint at : {QPoint(owner.right() + 1, top), QPoint(owner.left() - frame.width(), top)}) {
    if (fits(at)) return at;
  }
  QPoint over = owner.center() - QPoint(frame.width() / 2, frame.height() / 2);
  over.setX(std::max(area.left(), std::min(over.x(), area.right() + 1 - frame.width())));
  over.setY(std::max(area.top(), std::min(over.y(), area.bottom() + 1 - frame.height())));
  return over;
}

}  // namespace renkomi::ui
