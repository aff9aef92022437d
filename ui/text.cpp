#include "text.h"

#include <QFile>

#include "cp932.h"

namespace renkomi::ui {

std::string ToGame(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString FromGame(const std::string& text) {
  return QString::fromStdString(Cp932ToUtf8(text));
}

QString FromFileSystem(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

QString FromFileName(const std::string& bytes) {
  return IsUtf8(bytes) ? QString::fromStdString(bytes) : FromGame(bytes);
}

}  // namespace renkomi::ui
