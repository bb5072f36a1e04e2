// The window procedures of the form and its panels: notifications routed
// back to the controls, colours, cursors, closing, and the layout.
#include <windows.h>

#include <map>
#include <optional>

#include "toolkit/placement.h"
#include "toolkit/win32/win32_controls.h"

namespace tk::win32 {

namespace {

HBRUSH Colours(Win32Application& app, HDC dc, const Control& c, UINT msg);

std::optional<LRESULT> ContainerMessage(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND: {
      Control* c = ControlOf(reinterpret_cast<HWND>(l));
      if (auto* edit = dynamic_cast<Edit*>(c); edit != nullptr && HIWORD(w) == EN_CHANGE) {
        edit->RaiseChange();
        return 0;
      }
      if (auto* combo = dynamic_cast<ComboBox*>(c);
          combo != nullptr && HIWORD(w) == CBN_SELCHANGE) {
        combo->UserSelected(
            static_cast<int>(SendMessageW(reinterpret_cast<HWND>(l), CB_GETCURSEL, 0, 0)));
        return 0;
      }
      // BN_CLICKED and STN_CLICKED are both 0; edits send other codes.
      if (c == nullptr || HIWORD(w) != 0) return std::nullopt;
      if (auto* box = dynamic_cast<CheckBox*>(c)) {
        box->UserToggled();
      } else {
        c->RaiseClick();
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      Control* c = ControlOf(reinterpret_cast<HWND>(l));
      if (c == nullptr) {
        if (ControlOf(h) != nullptr) {  // a group box's frame
          SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_BTNFACE));
          return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return std::nullopt;
      }
      return reinterpret_cast<LRESULT>(Colours(AppOf(*c), reinterpret_cast<HDC>(w), *c, msg));
    }
    case WM_SETCURSOR: {
      const Control* c = ControlOf(reinterpret_cast<HWND>(w));
      if (c != nullptr && c->Def().handCursor && LOWORD(l) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

std::optional<LRESULT> FormMessage(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* window = dynamic_cast<FormWindow*>(ControlOf(h));
  if (window == nullptr) return std::nullopt;
  Form& form = window->OwnerForm();
  auto& app = AppOf(*window);
  switch (msg) {
    case WM_SIZE:
      if (w != SIZE_MINIMIZED) Layout(app, form);
      return 0;
    case WM_GETMINMAXINFO:
      if (window->minTrack.cx <= 0) return std::nullopt;
      reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {window->minTrack.cx, window->minTrack.cy};
      return 0;
    case WM_CLOSE:
      // The window goes out of sight; it is destroyed with the form object,
      // after a handler that is still running has finished.
      form.RequestClose();
      // The owner takes input again before the dialog goes, so that it is
      // the window activated next.
      if (HWND owner = GetWindow(h, GW_OWNER); owner != nullptr && form.Def().dialog) {
        EnableWindow(owner, TRUE);
      }
      ShowWindow(h, SW_HIDE);
      return 0;
    case WM_COMMAND:
      // Escape in a dialog: the dialog manager's IDCANCEL.
      if (form.Def().dialog && l == 0 && LOWORD(w) == IDCANCEL) {
        SendMessageW(h, WM_CLOSE, 0, 0);
        return 0;
      }
      // Enter: the dialog manager's IDOK.
      if (l == 0 && LOWORD(w) == IDOK && form.EnterPressed(ControlOf(GetFocus()))) return 0;
      return ContainerMessage(h, msg, w, l);
    case WM_TIMER:
      for (Control* c : form.Controls()) {
        auto* t = dynamic_cast<Win32Timer*>(c);
        if (t != nullptr && t->Id() == w && t->Enabled()) t->RaiseTimer();
      }
      return 0;
    case WM_NEXTDLGCTL: {
      HWND next = l != 0 ? reinterpret_cast<HWND>(w) : GetNextDlgTabItem(h, GetFocus(), w != 0);
      if (next != nullptr) SetFocus(next);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(w) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f != nullptr && IsChild(h, f)) window->savedFocus = f;
      } else if (window->savedFocus != nullptr && IsWindow(window->savedFocus) &&
                 IsChild(h, window->savedFocus)) {
        SetFocus(window->savedFocus);
        return 0;
      }
      return std::nullopt;
    default:
      return ContainerMessage(h, msg, w, l);
  }
}

// No C++ exception may unwind through the system's frames.
LRESULT CALLBACK FormProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  try {
    if (auto r = FormMessage(h, msg, w, l)) return *r;
  } catch (...) {
  }
  return DefWindowProcW(h, msg, w, l);
}

LRESULT CALLBACK PanelProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  try {
    if (auto r = ContainerMessage(h, msg, w, l)) return *r;
  } catch (...) {
  }
  return DefWindowProcW(h, msg, w, l);
}

std::map<std::int32_t, HBRUSH>& Brushes() {
  static std::map<std::int32_t, HBRUSH> brushes;
  return brushes;
}

HBRUSH Colours(Win32Application&, HDC dc, const Control& c, UINT msg) {
  const ControlSpec& s = c.Def();
  SetTextColor(dc, s.color != kDefaultColor ? ColorRef(s.color) : GetSysColor(COLOR_WINDOWTEXT));
  if (s.background != kDefaultColor) {
    SetBkColor(dc, ColorRef(s.background));
    HBRUSH& b = Brushes()[s.background];
    if (b == nullptr) b = CreateSolidBrush(ColorRef(s.background));
    return b;
  }
  const int face = msg == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
  SetBkColor(dc, GetSysColor(face));
  return GetSysColorBrush(face);
}

void RegisterClass(const wchar_t* name, WNDPROC proc, HICON icon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  RegisterClassExW(&wc);  // already registered by an earlier application object: fine
}

}  // namespace

// Every control where the table puts it for the window's client size.
void Layout(Win32Application& app, Form& form) {
  if (form.Controls().size() != form.Def().controls.size()) return;  // still being built
  auto* window = dynamic_cast<FormWindow*>(&form.Window());
  RECT client{};
  GetClientRect(window->Handle(), &client);
  window->current = {0, 0, app.Unscale(client.right), app.Unscale(client.bottom)};
  const std::vector<Control*>& controls = form.Controls();
  const std::vector<Rect> at = PlaceControls(
      form.Def(), {window->current.width, window->current.height}, [&](std::size_t i) {
        const auto* self = dynamic_cast<const NativeBase*>(controls[i]);
        return self != nullptr ? self->current.width : 0;
      });
  for (std::size_t i = 0; i < controls.size(); ++i) {
    Control* c = controls[i];
    auto* self = dynamic_cast<NativeBase*>(c);
    if (self == nullptr) continue;
    const Rect& r = at[i];
    // Made where the table puts it, or not moved since: each call is a trip
    // to the window server.
    if (r == self->current) continue;
    self->current = r;
    SetWindowPos(self->Handle(), nullptr, app.Scale(r.left), app.Scale(r.top), app.Scale(r.width),
                 app.Scale(r.height), SWP_NOZORDER | SWP_NOACTIVATE);
    if (auto* label = dynamic_cast<Label*>(c)) label->Fit();
    if (auto* combo = dynamic_cast<Win32Combo*>(c)) combo->Fit(r.height);
    if (auto* group = dynamic_cast<GroupBox*>(c)) {
      group->Resized(app.Scale(r.width), app.Scale(r.height));
    }
  }
}

void RegisterClasses() {
  HICON icon = LoadIconW(Instance(), L"MAINICON");
  RegisterClass(kFormClass, &FormProc, icon);
  RegisterClass(kPanelClass, &PanelProc, nullptr);
  RegisterClass(kCanvasClass, &CanvasProc, nullptr);
}

HWND HandleOf(const Control& control) {
  const auto* n = dynamic_cast<const NativeWindow*>(&control);
  return n == nullptr ? nullptr : n->Handle();
}

FormTips& TipsOf(Form& form) {
  return dynamic_cast<FormWindow&>(form.Window()).tips;
}

std::string ShownHint(const Control& control) {
  const auto* native = dynamic_cast<const NativeBase*>(&control);
  return native == nullptr ? std::string() : native->TipText();
}

}  // namespace tk::win32
