// Work off the window's thread on Windows: a finished worker posts a message
// to a message-only window of the window's thread. Every loop of that thread
// dispatches it (Run, PumpMessages, a message box's own loop), where a
// thread message would be lost in a modal loop.
#include "toolkit/win32/win32.h"

namespace tk::win32 {

namespace {

constexpr wchar_t kCompletionClass[] = L"Qelmar3DCompletions";
constexpr UINT kWorkFinished = WM_APP + 2;

LRESULT CALLBACK CompletionProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == kWorkFinished) {
    auto* run = reinterpret_cast<std::function<void()>*>(GetWindowLongPtrW(h, 0));
    // No C++ exception may unwind through the system's frames.
    try {
      if (run != nullptr && *run) (*run)();
    } catch (...) {
    }
    return 0;
  }
  return DefWindowProcW(h, msg, w, l);
}

}  // namespace

CompletionWindow::~CompletionWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void CompletionWindow::Make(std::function<void()> run) {
  if (hwnd_ != nullptr) return;
  run_ = std::move(run);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &CompletionProc;
  // Not the user data: that names a control to the rest of the backend.
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kCompletionClass;
  RegisterClassExW(&wc);  // already registered by an earlier application object: fine
  hwnd_ = CreateWindowExW(0, kCompletionClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          wc.hInstance, nullptr);
  if (hwnd_ == nullptr) throw Error("无法创建后台任务的消息窗口。");
  SetWindowLongPtrW(hwnd_, 0, reinterpret_cast<LONG_PTR>(&run_));
}

void CompletionWindow::Wake() const {
  PostMessageW(hwnd_, kWorkFinished, 0, 0);
}

std::thread Win32Application::StartWork(std::function<void()> job) {
  completions_.Make([this] { RunCompletions(); });
  return Application::StartWork(std::move(job));
}

}  // namespace tk::win32
