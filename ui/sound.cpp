#include "sound.h"

#include <alsa/asoundlib.h>
#include <canberra.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QFileInfo>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace renkomi::ui {

namespace {

// ALSA's default handler writes every failure to the terminal: without a sound
// device, eight lines a sound. A sound that cannot be played is silence, here too.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// libcanberra opens the sound device inside its play call, and without a device
// (or on a busy machine) that takes from milliseconds to seconds. The calls run on
// a thread of their own, in the order the game asked for them, so the game never
// waits for a sound.
struct CanberraSound::Context {
  static constexpr int kNiceness = 10;

  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::function<void(ca_context*)>> requests;
  bool stopping = false;
  std::thread worker;

  void Post(std::function<void(ca_context*)> request) {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      requests.push_back(std::move(request));
    }
    wake.notify_one();
  }

  void Run() {
    // The game's window comes first: a sound may start a moment later, a dialog
    // may not. The device is looked for at once, while nothing waits for it.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNiceness);
    snd_lib_error_set_handler(QuietAlsa);
    // Reading ALSA's configuration is the slow part of a first sound.
    snd_config_update();
    ca_context* handle = nullptr;
    if (ca_context_create(&handle) != CA_SUCCESS) {
      handle = nullptr;
    } else {
      ca_context_change_props(handle, CA_PROP_APPLICATION_NAME, "Renkomi", nullptr);
      ca_context_open(handle);
    }
    for (;;) {
      std::function<void(ca_context*)> request;
      {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait(lock, [this] { return stopping || !requests.empty(); });
        if (stopping) break;
        request = std::move(requests.front());
        requests.pop_front();
      }
      if (handle != nullptr) request(handle);
    }
    if (handle != nullptr) ca_context_destroy(handle);
  }
};

CanberraSound::CanberraSound() : context_(std::make_unique<Context>()) {
  context_->worker = std::thread([context = context_.get()] { context->Run(); });
}

CanberraSound::~CanberraSound() {
  {
    // Sounds still waiting are dropped; only the one being started is waited for.
    const std::lock_guard<std::mutex> lock(context_->mutex);
    context_->stopping = true;
    context_->requests.clear();
  }
  context_->wake.notify_one();
  context_->worker.join();
}

void CanberraSound::PlayFile(const QString& path) {
  // A missing file is silence; canberra would only fail on it later.
  if (!QFileInfo(path).isFile()) return;
  const QByteArray file = QFileInfo(path).absoluteFilePath().toLocal8Bit();
  context_->Post([file](ca_context* ctx) {
    // Each file has its own id so that the next sound stops the one still playing.
    ca_context_cancel(ctx, 1);
    ca_context_play(ctx, 1, CA_PROP_MEDIA_FILENAME, file.constData(),
                    CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
  });
}

void CanberraSound::PlayThemeSound(const std::string& name) {
  context_->Post([name](ca_context* ctx) { ca_context_play(ctx, 0, CA_PROP_EVENT_ID, name.c_str(), nullptr); });
}

}  // namespace renkomi::ui
