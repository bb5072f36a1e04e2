// The application of the Windows backend: fonts, making controls, the
// message loop with its posted actions and view flushes, boxes and dialogs.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <tuple>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_controls.h"
#include "toolkit/win32/win32_menu.h"

namespace tk::win32 {

Win32Application::Win32Application(Platform& platform, Options options)
    : Application(platform), options_(options) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClasses();
  if (options_.dpi > 0) {
    dpi_ = options_.dpi;
  } else {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    if (dpi_ <= 0) dpi_ = 96;
  }
}

Win32Application::~Win32Application() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT Win32Application::Font(std::string_view face, int pixelHeight, bool underline) {
  return NativeFont(face, Scale(pixelHeight), underline);
}

HFONT Win32Application::NativeFont(std::string_view face, int pixels, bool underline) {
  auto key = std::make_tuple(Widen(face), pixels, underline);
  HFONT& font = fonts_[key];
  if (font == nullptr) {
    // A negative height asks for the character height, not the cell.
    font = CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, std::get<0>(key).c_str());
  }
  return font;
}

std::unique_ptr<Control> Win32Application::CreateControl(Form& form, const ControlSpec& def) {
  switch (def.kind) {
    case Kind::Form:
      return std::make_unique<FormWindow>(*this, form, def);
    case Kind::Panel:
      return std::make_unique<Panel>(*this, form, def);
    case Kind::GroupBox:
      return std::make_unique<GroupBox>(*this, form, def);
    case Kind::Label:
      return std::make_unique<Label>(*this, form, def);
    case Kind::Button:
      return std::make_unique<PushButton>(*this, form, def);
    case Kind::CheckBox:
      return std::make_unique<Win32CheckBox>(*this, form, def);
    case Kind::Edit:
      return std::make_unique<Win32Edit>(*this, form, def);
    case Kind::List:
      return std::make_unique<ListView>(*this, form, def);
    case Kind::Timer:
      return std::make_unique<Win32Timer>(*this, form, def);
    case Kind::Radio:
      return std::make_unique<Win32Radio>(*this, form, def);
    case Kind::ComboBox:
      return std::make_unique<Win32Combo>(*this, form, def);
    case Kind::Canvas:
      return MakeCanvas(*this, form, def);
  }
  throw Error("未知的控件类型。");
}

void Win32Application::Show(Form& form) {
  HWND h = HandleOf(form.Window());
  // Placed and brought up to date before it shows: what moves or changes on
  // screen is painted again.
  Layout(*this, form);
  FlushViews();
  ShowWindow(h, SW_SHOWNORMAL);
  UpdateWindow(h);
  SetForegroundWindow(h);
  if (HWND first = GetNextDlgTabItem(h, nullptr, FALSE)) SetFocus(first);
  FlushViews();
}

void Win32Application::Dispatch(MSG& msg) {
  if (msg.hwnd == nullptr && msg.message == kWake) return;
  HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && FormOfWindow(root) != nullptr && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

ActionQueue::Runner Win32Application::Runner() {
  return [this](const ActionQueue::Action& action) { Guard(action); };
}

bool Win32Application::RunNextAction() {
  return actions_.RunNext(Runner());
}

void Win32Application::CloseForm(Form& form) {
  SendMessageW(HandleOf(form.Window()), WM_CLOSE, 0, 0);
}

void Win32Application::PostAction(std::function<void()> action) {
  actions_.Post(std::move(action));
  PostThreadMessageW(GetCurrentThreadId(), kWake, 0, 0);
}

void Win32Application::PumpMessages() {
  ++pumps_;
  // Actions queued while these run wait for the next pump.
  std::deque<ActionQueue::Action> ready = actions_.Take();
  // Painting may be slow (an edit holding millions of pasted characters
  // takes a quarter of a second, every time its caret blinks): then the
  // window is painted only every fourth such span, so a long run spends at
  // most a fifth of its time painting. Input, posts and timers always go.
  using Clock = std::chrono::steady_clock;
  constexpr auto kFrame = std::chrono::milliseconds(16);
  const bool paint =
      Clock::now() - lastPaintEnd_ >= std::max<Clock::duration>(kFrame, 4 * lastPaintCost_);
  const UINT flags = PM_REMOVE | (paint ? 0 : PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE);
  Clock::duration painting{};
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, flags)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (msg.message == WM_PAINT) {
      const auto started = Clock::now();
      Dispatch(msg);
      painting += Clock::now() - started;
    } else {
      Dispatch(msg);
    }
  }
  if (paint) {
    lastPaintEnd_ = Clock::now();
    lastPaintCost_ = painting;
  }
  actions_.Run(std::move(ready), Runner());
  Views().FlushIfDue();
}

void Win32Application::Run(Form& form) {
  Show(form);
  MSG msg;
  while (!form.Closed()) {
    FlushViews();  // what the user sees is current before the loop waits
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;
    Dispatch(msg);
    actions_.RunBatch(Runner());
  }
}

void Win32Application::NativeMessageBox(std::string_view text, bool error) {
  FlushViews();  // the box runs a loop of its own
  HWND owner = GetActiveWindow();
  if (owner != nullptr && FormOfWindow(owner) == nullptr) owner = nullptr;
  MessageBoxW(owner, BoxText(text).c_str(), Widen(Title()).c_str(),
              MB_OK | (error ? MB_ICONERROR : 0) | (owner == nullptr ? MB_TASKMODAL : 0));
}

bool Win32Application::NativeQuestionBox(std::string_view text) {
  FlushViews();  // the box runs a loop of its own
  HWND owner = GetActiveWindow();
  if (owner != nullptr && FormOfWindow(owner) == nullptr) owner = nullptr;
  return MessageBoxW(owner, BoxText(text).c_str(), Widen(Title()).c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 |
                         (owner == nullptr ? MB_TASKMODAL : 0)) == IDYES;
}

// Windows leaves the focus on a disabled control; Wine takes it away, so the
// focus counts as parked while nothing (or the window itself) holds it and
// the user has not switched to another window.
bool Win32Application::FocusParked(const Control& from) const {
  HWND root = GetAncestor(HandleOf(from), GA_ROOT);
  HWND focus = GetFocus();
  return focus == root || (focus == nullptr && GetActiveWindow() == root);
}

std::string Win32Application::NativeFileDialog(const FileRequest& request) {
  FlushViews();  // the dialog runs a loop of its own
  HWND owner = GetActiveWindow();
  if (owner != nullptr && FormOfWindow(owner) == nullptr) owner = nullptr;
  return RunFileDialog(owner, request);
}

int Win32Application::NativePopupMenu(Control& owner, const MenuItems& items, MenuReason reason) {
  FlushViews();
  HWND control = HandleOf(owner);
  return RunPopupMenu(GetAncestor(control, GA_ROOT), control, items, reason);
}

std::string Win32Application::ClipboardText() {
  // Another program may hold the clipboard for a moment.
  bool open = false;
  for (int i = 0; i < 10 && !(open = OpenClipboard(nullptr) != FALSE); ++i) Sleep(10);
  if (!open) return {};
  std::string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      // Within the block even when its text lacks the final NUL.
      const std::size_t most = GlobalSize(data) / sizeof(wchar_t);
      std::size_t n = 0;
      while (n < most && units[n] != L'\0') ++n;
      text = Narrow(std::wstring_view(units, n));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void Win32Application::NativeOpenLink(std::string_view url) {
  HWND owner = GetActiveWindow();
  ShellExecuteW(owner, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace tk::win32
