#include "first_dictionaries.h"

#include <QProgressDialog>
#include <QString>

#include <cstdint>
#include <exception>
#include <system_error>

#include "dictionary_generator.h"
#include "message_dialogs.h"

namespace renkomi::app {

namespace {

// About a second on a quick machine: the bar shows only when it may take longer.
constexpr int kShowAfterMilliseconds = 500;
constexpr int kSteps = 1000;

}  // namespace

void MakeFirstDictionaries(const std::filesystem::path& programFolder, const renkomi::WordSources& sources) {
  if (!renkomi::WantsDictionaryWork(programFolder, sources)) return;
  std::error_code ec;
  const bool first = !std::filesystem::exists(programFolder / renkomi::kSharedJukugoFile, ec);
  QProgressDialog progress(first ? QStringLiteral("はじめての起動です。edict から辞書を作っています…")
                                 : QStringLiteral("辞書のことばのよみを新しくしています…"),
                           QString(), 0, kSteps);
  progress.setWindowTitle(QStringLiteral("Renkomi"));
  progress.setCancelButton(nullptr);
  // Modal, so that each step of the bar also repaints it.
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(kShowAfterMilliseconds);
  progress.setValue(0);
  try {
    renkomi::GenerateDictionaries(sources, programFolder, [&progress](std::uintmax_t read, std::uintmax_t total) {
      if (total > 0) progress.setValue(static_cast<int>(read * (kSteps - 1) / total));
    });
  } catch (const std::exception& e) {
    progress.reset();
    renkomi::ui::ShowErrorDialog(nullptr, QStringLiteral("edict から辞書を作れませんでした。\n%1")
                                              .arg(renkomi::ui::ErrorText(e)));
  }
  progress.setValue(kSteps);
}

}  // namespace renkomi::app
