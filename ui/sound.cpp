#include "sound.h"

#include <canberra.h>

#include <QFileInfo>

namespace renkomi::ui {

struct CanberraSound::Context {
  ca_context* handle = nullptr;
  bool failed = false;

  // Created on first use: most runs never play a sound before the first match ends.
  ca_context* Get() {
    if (handle == nullptr && !failed) {
      if (ca_context_create(&handle) != CA_SUCCESS) {
        handle = nullptr;
        failed = true;
      } else {
        ca_context_change_props(handle, CA_PROP_APPLICATION_NAME, "Renkomi", nullptr);
      }
    }
    return handle;
  }
};

CanberraSound::CanberraSound() : context_(std::make_unique<Context>()) {}

CanberraSound::~CanberraSound() {
  if (context_->handle != nullptr) ca_context_destroy(context_->handle);
}

void CanberraSound::PlayFile(const QString& path) {
  // A missing file is silence; canberra would only fail on it later.
  if (!QFileInfo(path).isFile()) return;
  ca_context* ctx = context_->Get();
  if (ctx == nullptr) return;
  // Each file has its own id so that the next sound stops the one still playing.
  ca_context_cancel(ctx, 1);
  const QByteArray file = QFileInfo(path).absoluteFilePath().toLocal8Bit();
  ca_context_play(ctx, 1, CA_PROP_MEDIA_FILENAME, file.constData(), CA_PROP_CANBERRA_CACHE_CONTROL,
                  "never", nullptr);
}

void CanberraSound::PlayThemeSound(const std::string& name) {
  ca_context* ctx = context_->Get();
  if (ctx == nullptr) return;
  ca_context_play(ctx, 0, CA_PROP_EVENT_ID, name.c_str(), nullptr);
}

}  // namespace renkomi::ui
