// Work off the window's thread on Qt: a finished worker queues a call on an
// object of the window's thread, which Qt runs from its loop (also the loop
// of a modal box and PumpMessages).
#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

std::thread QtApplication::StartWork(std::function<void()> job) {
  // Made here, on the window's thread, before any worker can wake it.
  if (!completions_) completions_ = std::make_unique<QObject>();
  return Application::StartWork(std::move(job));
}

void QtApplication::WakeWindowThread() {
  QMetaObject::invokeMethod(
      completions_.get(), [this] { RunCompletions(); }, Qt::QueuedConnection);
}

}  // namespace tk::qt
