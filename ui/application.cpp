#include "application.h"

#include <exception>

#include "message_dialogs.h"

namespace renkomi::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    PostError(ErrorText(e));
  } catch (...) {
    PostError(QStringLiteral("予期しないエラーが発生しました。"));
  }
  return false;
}

void Application::PostError(const QString& message) {
  if (errorPending_) return;
  errorPending_ = true;
  // Queued, so the dialog's own event loop never runs inside the failed handler.
  QMetaObject::invokeMethod(
      this,
      [this, message] {
        ShowErrorDialog(activeWindow(), message);
        errorPending_ = false;
      },
      Qt::QueuedConnection);
}

bool Guarded(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const std::exception& failure) {
    const QString message = ErrorText(failure);
    if (auto* app = qobject_cast<Application*>(QCoreApplication::instance())) {
      app->PostError(message);
    } else {
      ShowErrorDialog(QApplication::activeWindow(), message);
    }
    return false;
  }
}

}  // namespace renkomi::ui
