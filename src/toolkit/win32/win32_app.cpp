// Native controls for the toolkit's operations. Each control keeps a pointer
// to itself in GWLP_USERDATA so that the parent's window procedure can route
// notifications (clicks, colours, cursors) back to it.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <tuple>

#include "toolkit/text.h"
#include "toolkit/win32/dock.h"
#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32.h"
#include "toolkit/win32/win32_hint.h"
#include "toolkit/win32/win32_menu.h"

namespace tk::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"Qelmar3DForm";
constexpr wchar_t kPanelClass[] = L"Qelmar3DPanel";
// Wakes the message loop for a queued action.
constexpr UINT kWake = WM_APP + 1;

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

COLORREF ColorRef(std::int32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

Control* ControlOf(HWND h) {
  return h == nullptr ? nullptr : reinterpret_cast<Control*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}

Win32Application& AppOf(const Control& c) {
  return static_cast<Win32Application&>(c.App());
}

std::wstring WindowText(HWND h) {
  const int n = GetWindowTextLengthW(h);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

// Tab order decides the Z order among siblings, which is the order the
// dialog manager walks; controls that take no Tab go last.
int TabKey(const ControlSpec& s) {
  return s.tabOrder >= 0 ? s.tabOrder : INT_MAX;
}

std::pair<DWORD, DWORD> Selection(HWND h) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

// ---- controls -------------------------------------------------------------------

class NativeBase : public NativeWindow {
 public:
  HWND Handle() const override { return hwnd_; }
  // The text of the control's own tooltip (edits and buttons).
  virtual std::string TipText() const { return {}; }
  // Where the control stands now, at 96 dpi, relative to its parent.
  Rect current;

 protected:
  HWND hwnd_ = nullptr;
};

template <class Base>
class Native : public Base, public NativeBase {
 public:
  Native(Win32Application& app, Form& form, const ControlSpec& def)
      : Base(app, def), app_(app), form_(form) {}
  ~Native() override { Destroy(); }

  std::string Text() const override { return Narrow(WindowText(hwnd_)); }
  void SetText(std::string_view text) override { SetWindowTextW(hwnd_, Widen(text).c_str()); }
  bool Enabled() const override { return IsWindowEnabled(hwnd_) != FALSE; }
  void NativeSetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
  void GiveFocus() override { SetFocus(hwnd_); }
  bool Focused() const override { return GetFocus() == hwnd_; }
  std::string Hint() const override { return hint_; }
  void SetHint(std::string_view hint) override {
    hint_ = hint;
    ShowTip();
  }
  void SetShowHint(bool show) override {
    showHint_ = show;
    ShowTip();
  }
  std::string TipText() const override { return hintTip_.Text(); }

  Form& OwnerForm() const { return form_; }

 protected:
  HWND ParentHandle() const {
    const ControlSpec& s = this->Def();
    return HandleOf(s.parent.empty() ? form_.Window() : form_.Find(s.parent));
  }

  void Create(const wchar_t* cls, DWORD style, DWORD exStyle) {
    const ControlSpec& s = this->Def();
    current = s.rect;
    // In a dialog the arrow keys move within a group of options only: every
    // other control, and the first option of each parent, starts a group.
    if (form_.Def().dialog && (s.kind != Kind::Radio || FirstOptionOfParent(s))) {
      style |= WS_GROUP;
    }
    hwnd_ = CreateWindowExW(
        exStyle, cls, Widen(s.text).c_str(), style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
        app_.Scale(s.rect.left), app_.Scale(s.rect.top), app_.Scale(s.rect.width),
        app_.Scale(s.rect.height), ParentHandle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextId())), Instance(), nullptr);
    if (hwnd_ == nullptr) throw Error("Cannot create the control " + std::string(s.name) + ".");
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(static_cast<Control*>(this)));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(s)), FALSE);
    InsertInTabOrder();
  }

  HFONT FontFor(const ControlSpec& s) const {
    const FormSpec& f = form_.Def();
    return app_.Font(f.fontFace, s.fontHeight > 0 ? s.fontHeight : f.fontHeight, s.underline);
  }

  // Edits and buttons show their hint in a tooltip of their own
  // (win32_hint.cpp); labels have theirs.
  void ShowTip() {
    const Kind kind = this->Def().kind;
    if (kind != Kind::Edit && kind != Kind::Button) return;
    hintTip_.Show(hwnd_, HandleOf(form_.Window()), showHint_ ? hint_ : std::string());
  }

  void Destroy() {
    if (hwnd_ == nullptr) return;
    // No notification may reach this object while it is going.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }

  Win32Application& app_;
  Form& form_;
  bool showHint_ = this->Def().showHint;

 private:
  bool FirstOptionOfParent(const ControlSpec& s) const {
    for (const ControlSpec& c : form_.Def().controls) {
      if (c.kind == Kind::Radio && c.parent == s.parent) return &c == &s;
    }
    return false;
  }

  static int NextId() {
    static int id = 1000;  // clear of IDOK, IDCANCEL and the other dialog ids
    return ++id;
  }

  void InsertInTabOrder() {
    const int key = TabKey(this->Def());
    HWND after = nullptr;
    for (HWND s = GetWindow(GetParent(hwnd_), GW_CHILD); s != nullptr;
         s = GetWindow(s, GW_HWNDNEXT)) {
      const Control* c = s == hwnd_ ? nullptr : ControlOf(s);
      if (c != nullptr && TabKey(c->Def()) <= key) after = s;
    }
    SetWindowPos(hwnd_, after != nullptr ? after : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  std::string hint_;
  HintTip hintTip_;
};

// The main window.
class FormWindow : public Native<Control> {
 public:
  FormWindow(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    const FormSpec& f = form.Def();
    current = {0, 0, f.clientWidth, f.clientHeight};
    // A dialog keeps its size: no sizing frame, no minimize or maximize box.
    const DWORD style = f.dialog ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN
                                 : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT | (f.dialog ? WS_EX_DLGMODALFRAME : 0);
    RECT r{0, 0, app.Scale(f.clientWidth), app.Scale(f.clientHeight)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const Rect at =
        OnScreen({app.Scale(f.left), app.Scale(f.top), r.right - r.left, r.bottom - r.top});
    hwnd_ = CreateWindowExW(exStyle, kFormClass, Widen(f.caption).c_str(), style, at.left, at.top,
                            at.width, at.height, nullptr, nullptr, Instance(), nullptr);
    if (hwnd_ == nullptr) throw Error("Cannot create the window.");
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(static_cast<Control*>(this)));
  }
  // The focus that comes back when the window is activated again.
  HWND savedFocus = nullptr;

 private:
  // A high density can carry the designed place past the screen's edge: the
  // window moves up and left just enough to show whole.
  static Rect OnScreen(Rect window) {
    RECT wanted{window.left, window.top, window.left + window.width, window.top + window.height};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &info)) return window;
    const RECT& work = info.rcWork;
    return FitOnScreen(window,
                       {work.left, work.top, work.right - work.left, work.bottom - work.top});
  }
};

class Panel : public Native<Control> {
 public:
  Panel(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
  }
};

// A container of the program's own class with a BS_GROUPBOX frame at the
// bottom of its children: the children's notifications reach our window
// procedure, which a BUTTON parent would swallow.
class GroupBox : public Native<Control> {
 public:
  GroupBox(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    frame_ = CreateWindowExW(0, L"BUTTON", Widen(def.text).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0,
                             app.Scale(def.rect.width), app.Scale(def.rect.height), hwnd_, nullptr,
                             Instance(), nullptr);
    SendMessageW(frame_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(def)), FALSE);
    SetWindowPos(frame_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowSubclass(frame_, &FrameProc, 3, 0);
  }
  ~GroupBox() override { RemoveWindowSubclass(frame_, &FrameProc, 3); }
  std::string Text() const override { return Narrow(WindowText(frame_)); }
  void SetText(std::string_view text) override { SetWindowTextW(frame_, Widen(text).c_str()); }
  void Resized(int width, int height) {
    SetWindowPos(frame_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  // The frame covers the whole box and paints only its lines and caption:
  // it fills the inside, which the box's own erase leaves to its children.
  static LRESULT CALLBACK FrameProc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (msg == WM_ERASEBKGND) {
      RECT r{};
      GetClientRect(h, &r);
      FillRect(reinterpret_cast<HDC>(w), &r, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    return DefSubclassProc(h, msg, w, l);
  }

  HWND frame_ = nullptr;
};

class PushButton : public Native<Control> {
 public:
  PushButton(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0);
  }
};

class Win32CheckBox : public Native<CheckBox> {
 public:
  Win32CheckBox(Win32Application& app, Form& form, const ControlSpec& def)
      : Native(app, form, def) {
    Create(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0);
    // Visual styles paint check box captions in the theme's colour; the red
    // rows need the classic look, which asks the parent for the colour, and
    // the other rows take it too so that all boxes look alike.
    SetWindowTheme(hwnd_, L"", L"");
  }

 protected:
  bool NativeChecked() const override {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void NativeSetChecked(bool checked) override {
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

// Where a label's text stands in its rectangle and how big it is drawn.
struct TextFit {
  int pixels = 0;  // character height
  int shift = 0;   // the text's top, from the label's
  int lineTop = 0;
  int lineHeight = 0;  // 0: no underline
  int width = 0;       // of its ink and advance; 0: not measured
};

// The rows of a cell (0 at its top) that the text inks, and its width.
struct InkRows {
  int top = 0;
  int bottom = -1;
  int width = 0;
};

InkRows MeasureInk(HFONT font, const std::wstring& text) {
  InkRows ink;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ink.width = size.cx;
  // Glyphs may reach past their cell: a margin of half a cell around it.
  const int margin = tm.tmHeight / 2 + 1;
  const int width = size.cx + tm.tmMaxCharWidth + 2 * margin;
  const int height = tm.tmHeight + 2 * margin;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr && !text.empty()) {
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const auto* px = static_cast<const std::uint32_t*>(bits);
    std::fill_n(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(width) * height,
                0xFFFFFFu);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, margin, margin, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    for (int y = 0; y < height; ++y) {
      const auto* row = px + static_cast<std::size_t>(y) * width;
      for (int x = 0; x < width; ++x) {
        if ((row[x] & 0xFFFFFF) == 0xFFFFFF) continue;
        if (ink.bottom < ink.top) ink.top = y - margin;
        ink.bottom = y - margin;
        // A glyph may ink past its advance (the tip of ">").
        ink.width = std::max(ink.width, x - margin + 1);
      }
    }
    SelectObject(dc, oldBitmap);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  return ink;
}

// An option. Its group's selection is kept by the toolkit (no auto radio
// button), and only the selected option is a tab stop: a radio button that
// gets the focus while clear clicks itself.
class Win32Radio : public Native<RadioButton> {
 public:
  Win32Radio(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(L"BUTTON", BS_RADIOBUTTON, 0);
    SetWindowSubclass(hwnd_, &Proc, 4, reinterpret_cast<DWORD_PTR>(this));
  }
  ~Win32Radio() override { RemoveWindowSubclass(hwnd_, &Proc, 4); }

 protected:
  bool NativeChecked() const override {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void NativeSetChecked(bool checked) override {
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    SetWindowLongW(hwnd_, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }

 private:
  // An option that the keyboard focuses (the arrow keys) is selected, as
  // Windows' own radio buttons do it; Wine's leave that to the caller.
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self) {
    const LRESULT result = DefSubclassProc(h, msg, w, l);
    if (msg == WM_SETFOCUS && GetKeyState(VK_LBUTTON) >= 0) {
      auto* option = reinterpret_cast<Win32Radio*>(self);
      if (!option->Checked()) option->UserToggled();
    }
    return result;
  }
};

class Label : public Native<Control>, public View {
 public:
  Label(Win32Application& app, Form& form, const ControlSpec& def)
      : Native(app, form, def), text_(def.text), shown_(Widen(def.text)) {
    const bool notify = !def.onClick.empty() || def.handCursor || def.showHint;
    Create(L"STATIC", SS_LEFT | SS_NOPREFIX | (notify ? SS_NOTIFY : 0), 0);
    SetWindowSubclass(hwnd_, &PaintProc, 4, reinterpret_cast<DWORD_PTR>(this));
    if (def.showHint) MakeTip();
    Fit();
  }
  void SetShowHint(bool show) override {
    Native::SetShowHint(show);
    if (show && tip_ == nullptr) {
      // The tooltip follows the mouse over the label only when it notifies.
      SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | SS_NOTIFY);
      MakeTip();
      Sync();
    }
  }
  ~Label() override {
    app_.Forget(this);
    RemoveWindowSubclass(hwnd_, &PaintProc, 4);
    if (tip_ != nullptr) DestroyWindow(tip_);
  }

  // A label's text changes only through the program: answer from the copy,
  // and show it with the next sync (count labels tick a thousand times in a
  // run; the user sees at most one value per frame).
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override {
    if (text == text_) return;
    text_ = text;
    if (dirty_) return;
    dirty_ = true;
    app_.MarkDirty(this);
  }
  void Sync() override {
    dirty_ = false;
    shown_ = Widen(text_);
    SetWindowTextW(hwnd_, shown_.c_str());
    Fit();
    if (tip_ != nullptr && showHint_) {
      const std::wstring w = Widen(Hint());
      TOOLINFOW ti = Tool();
      ti.lpszText = const_cast<wchar_t*>(w.c_str());
      SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  // The hint, too, reaches the tooltip once per frame.
  void SetHint(std::string_view hint) override {
    if (hint == Hint()) return;
    Native::SetHint(hint);
    if (tip_ == nullptr || dirty_) return;
    dirty_ = true;
    app_.MarkDirty(this);
  }
  // The text the tooltip shows.
  std::string ShownHint() const {
    if (tip_ == nullptr) return {};
    std::wstring buffer(1024, L'\0');
    TOOLINFOW ti = Tool();
    ti.lpszText = buffer.data();
    SendMessageW(tip_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&ti));
    return Narrow(buffer.c_str());
  }

  // The text shows whole on one line: auto-sized labels are as wide as their
  // text, the others at least as wide (at high densities the face's Latin
  // glyphs and the rounding grow faster than the rectangle). The face that
  // stands in for the designed one may ink more rows than the rectangle has
  // (Wine's for SimSun): the text moves up, or is drawn a pixel smaller, until
  // every glyph and the underline show.
  void Fit() {
    const int height = app_.Scale(current.height);
    FitText(height);
    // An empty label keeps the width of a blank, as the classic labels do.
    int width = fit_.width > 0 ? fit_.width
                               : MeasureInk(app_.NativeFont(Face(), fit_.pixels, false),
                                            shown_.empty() ? std::wstring(L" ") : shown_)
                                     .width;
    // A long count stops at the control after it and is drawn narrower.
    const int room = Def().autoSize ? app_.Scale(RoomRight(form_.Def(), Def())) : 0;
    if (room > 0) width = std::min(width, room);
    if (Def().autoSize) current.width = app_.Unscale(width);
    SetWindowPos(hwnd_, nullptr, 0, 0,
                 Def().autoSize ? width : std::max(width, app_.Scale(current.width)), height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

 private:
  std::string_view Face() const { return form_.Def().fontFace; }

  void FitText(int height) {
    const ControlSpec& s = Def();
    const int asked = app_.Scale(s.fontHeight > 0 ? s.fontHeight : form_.Def().fontHeight);
    TextFit fit{asked, 0, 0, 0, 0};
    for (int px = asked; px >= std::max(asked * 3 / 4, 1); --px) {
      const InkRows ink = MeasureInk(app_.NativeFont(Face(), px, false), shown_);
      if (ink.bottom < ink.top) break;  // nothing to ink
      int top = ink.top;
      int bottom = ink.bottom;
      // The underline where the face draws it (a blank shows only the
      // line), or just below the glyphs if that does not fit.
      const InkRows underline =
          s.underline ? MeasureInk(app_.NativeFont(Face(), px, true), L" ") : InkRows{};
      int line = underline.top;
      const int thickness = underline.bottom - underline.top + 1;
      if (thickness > 0) {
        if (std::max(bottom, underline.bottom) - std::min(top, line) >= height) line = bottom + 1;
        top = std::min(top, line);
        bottom = std::max(bottom, line + thickness - 1);
      }
      if (bottom - top < height) {
        const int shift = std::min(0, height - 1 - bottom);
        fit = {px, shift, line + shift, std::max(thickness, 0), ink.width};
        break;
      }
    }
    if (fit.pixels != fit_.pixels || !fitted_) {
      SendMessageW(hwnd_, WM_SETFONT,
                   reinterpret_cast<WPARAM>(app_.NativeFont(Face(), fit.pixels, s.underline)),
                   FALSE);
    }
    fitted_ = true;
    fit_ = fit;
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

  void Paint(HDC dc) {
    RECT r{};
    GetClientRect(hwnd_, &r);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd_), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(hwnd_)));
    FillRect(dc, &r, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (shown_.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, app_.NativeFont(Face(), fit_.pixels, false));
    // A text wider than the label (a long count before its button) is drawn
    // narrower to fit.
    const int mode = GetGraphicsMode(dc);
    if (fit_.width > r.right && r.right > 0) {
      SetGraphicsMode(dc, GM_ADVANCED);
      const XFORM narrower{
          static_cast<FLOAT>(r.right) / static_cast<FLOAT>(fit_.width), 0, 0, 1, 0, 0};
      SetWorldTransform(dc, &narrower);
    }
    TextOutW(dc, 0, fit_.shift, shown_.c_str(), static_cast<int>(shown_.size()));
    if (fit_.lineHeight > 0) {
      SIZE size{};
      GetTextExtentPoint32W(dc, shown_.c_str(), static_cast<int>(shown_.size()), &size);
      HBRUSH pen = CreateSolidBrush(GetTextColor(dc));
      RECT line{0, fit_.lineTop, size.cx, fit_.lineTop + fit_.lineHeight};
      FillRect(dc, &line, pen);
      DeleteObject(pen);
    }
    if (mode != GetGraphicsMode(dc)) {
      ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
      SetGraphicsMode(dc, mode);
    }
    SelectObject(dc, old);
  }

  static LRESULT CALLBACK PaintProc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR,
                                    DWORD_PTR self) {
    switch (msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(h, &ps);
        reinterpret_cast<Label*>(self)->Paint(dc);
        EndPaint(h, &ps);
        return 0;
      }
      case WM_PRINTCLIENT:
        reinterpret_cast<Label*>(self)->Paint(reinterpret_cast<HDC>(w));
        return 0;
      case WM_ERASEBKGND:
        return 1;  // the paint fills it
      default:
        return DefSubclassProc(h, msg, w, l);
    }
  }

  void MakeTip() {
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, HandleOf(form_.Window()), nullptr,
                           Instance(), nullptr);
    TOOLINFOW ti = Tool();
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }

  TOOLINFOW Tool() const {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(hwnd_);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    return ti;
  }

  std::string text_;
  std::wstring shown_;
  TextFit fit_;
  bool fitted_ = false;
  HWND tip_ = nullptr;
};

// Single-line edit: every typed character goes through the key handler first.
class Win32Edit : public Native<Edit> {
 public:
  Win32Edit(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    // 0 lifts the default limit of 30,000 characters.
    SendMessageW(hwnd_, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(def.maxLength, 0)), 0);
    SetWindowSubclass(hwnd_, &Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~Win32Edit() override { RemoveWindowSubclass(hwnd_, &Proc, 1); }

  int CaretOffset() const override {
    return CodePointsOfUnits(WindowText(hwnd_), static_cast<int>(Selection(hwnd_).first));
  }
  void SetCaretOffset(int offset) override { Select(offset, 0); }
  // Offsets in code points, as CaretOffset reports them.
  void Select(int start, int length) {
    const std::wstring text = WindowText(hwnd_);
    const int from = UnitsOfCodePoints(text, std::max(start, 0));
    const int to = UnitsOfCodePoints(text, std::max(start, 0) + std::max(length, 0));
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
    SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
  }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_CHAR) return reinterpret_cast<Win32Edit*>(self)->OnChar(h, w, l);
    return DefSubclassProc(h, msg, w, l);
  }

  LRESULT OnChar(HWND h, WPARAM w, LPARAM l) {
    const auto unit = static_cast<wchar_t>(w);
    char32_t key = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF) {  // the first half of a pair waits
      high_ = unit;
      return 0;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF && high_ != 0) {
      key = 0x10000 + ((static_cast<char32_t>(high_) - 0xD800) << 10) + (unit - 0xDC00);
    }
    high_ = 0;
    const char32_t acted = FilterKey(key);
    if (acted == 0 || !IsWindow(h)) return 0;  // discarded
    if (acted == kBackspace) KeepPairsWhole(h);
    if (acted < 0x10000) return DefSubclassProc(h, WM_CHAR, acted, l);
    const char32_t v = acted - 0x10000;
    DefSubclassProc(h, WM_CHAR, 0xD800 + (v >> 10), l);
    return DefSubclassProc(h, WM_CHAR, 0xDC00 + (v & 0x3FF), l);
  }

  // Backspace takes the whole character before the caret, not half of a
  // surrogate pair.
  static void KeepPairsWhole(HWND h) {
    const auto [start, end] = Selection(h);
    if (start != end || start < 2) return;
    const std::wstring text = WindowText(h);
    if (end > text.size()) return;
    const wchar_t hi = text[start - 2];
    const wchar_t lo = text[start - 1];
    if (hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF) {
      SendMessageW(h, EM_SETSEL, start - 2, start);
    }
  }

  wchar_t high_ = 0;
};

}  // namespace

// Read-only multi-line list. The lines live in the ListControl; the EDIT is
// brought up to date with one WM_SETTEXT, at most once per frame and always
// before the message loop waits again.
class ListView : public Native<ListControl>, public View {
 public:
  ListView(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(L"EDIT",
           ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
           WS_EX_CLIENTEDGE);
    SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
    SetWindowSubclass(hwnd_, &Proc, 2, reinterpret_cast<DWORD_PTR>(this));
  }
  ~ListView() override {
    app_.Forget(this);
    RemoveWindowSubclass(hwnd_, &Proc, 2);
  }

  std::string Text() const override { return ListControl::Text(); }
  void SetText(std::string_view text) override { ListControl::SetText(text); }

  // Lines may have gone since the caret was placed: it stays within the text.
  int CaretOffset() const override {
    const int at = CodePointsOfUnits(shown_, static_cast<int>(Selection(hwnd_).first));
    return std::min(at, LineStart(LineCount()));
  }
  void SetCaretOffset(int offset) override { Select(offset, 0); }
  void Select(int start, int length) {
    if (dirty_) Sync();
    const int end = LineStart(LineCount());
    const int from = std::clamp(start, 0, end);
    const int to = std::clamp(start + std::max(length, 0), from, end);
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(UnitsOfCodePoints(shown_, from)),
                 static_cast<LPARAM>(UnitsOfCodePoints(shown_, to)));
  }
  int SelectionLength() const override {
    if (dirty_) const_cast<ListView*>(this)->Sync();
    const auto [start, end] = Selection(hwnd_);
    return CodePointsOfUnits(shown_, static_cast<int>(end)) -
           CodePointsOfUnits(shown_, static_cast<int>(start));
  }
  void SelectAll() override {
    if (dirty_) Sync();
    SendMessageW(hwnd_, EM_SETSEL, 0, -1);
  }
  void CopySelection() override {
    if (dirty_) Sync();
    SendMessageW(hwnd_, WM_COPY, 0, 0);
  }

  void Sync() override {
    std::wstring text;
    text.reserve(Lines().size() * 5);
    for (const std::string& line : Lines()) {
      text += Widen(line);
      text += L"\r\n";
    }
    // The user's place in the list survives the new text.
    const auto [start, end] = Selection(hwnd_);
    const LRESULT top = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const auto size = static_cast<DWORD>(text.size());
    SendMessageW(hwnd_, EM_SETSEL, std::min(start, size), std::min(end, size));
    const LRESULT now = SendMessageW(hwnd_, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (now != top) SendMessageW(hwnd_, EM_LINESCROLL, 0, top - now);
    shown_ = std::move(text);
    dirty_ = false;
    app_.CountListSync();
  }

 protected:
  void LinesChanged() override {
    if (dirty_) return;
    dirty_ = true;
    app_.MarkDirty(this);
  }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (ListShortcut(*reinterpret_cast<ListView*>(self), msg, w)) return 0;
    switch (msg) {
      case WM_CONTEXTMENU:
        // The list's own menu; lParam -1: the menu key or Shift+F10.
        if (reinterpret_cast<ListView*>(self)->OnContextMenu) {
          SetMenuPoint(l);
          reinterpret_cast<ListView*>(self)->ContextMenuRequested(l == -1 ? MenuReason::Keyboard
                                                                          : MenuReason::Mouse);
          return 0;
        }
        break;
      case WM_KEYUP:
        // Windows makes WM_CONTEXTMENU of the menu key's release in
        // DefWindowProc, Wine does not: taken here, it is one menu on both.
        if (w == VK_APPS && reinterpret_cast<ListView*>(self)->OnContextMenu) {
          SetMenuPoint(-1);
          reinterpret_cast<ListView*>(self)->ContextMenuRequested(MenuReason::Keyboard);
          return 0;
        }
        break;
      case WM_KEYDOWN:
        if (ctrl && w == 'A') {
          SendMessageW(h, EM_SETSEL, 0, -1);
          return 0;
        }
        if (ctrl && w == 'C') {
          SendMessageW(h, WM_COPY, 0, 0);
          return 0;
        }
        break;
      case WM_CHAR:
        if (w == 1 || w == 3) return 0;  // done on the key itself
        break;
      case WM_GETDLGCODE:
        // Tab leaves the list, and tabbing in keeps the selection.
        return DefSubclassProc(h, msg, w, l) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
      default:
        break;
    }
    return DefSubclassProc(h, msg, w, l);
  }

  std::wstring shown_;
};

namespace {

class Win32Timer : public Timer {
 public:
  Win32Timer(Win32Application& app, Form& form, const ControlSpec& def)
      : Timer(app, def), form_(form), id_(NextId()) {
    Start();
  }
  ~Win32Timer() override { Stop(); }

  std::string Text() const override { return {}; }
  void SetText(std::string_view) override {}
  bool Enabled() const override { return enabled_; }
  void NativeSetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    if (enabled) {
      Start();
    } else {
      Stop();
    }
  }
  void GiveFocus() override {}
  bool Focused() const override { return false; }
  std::string Hint() const override { return {}; }
  void SetHint(std::string_view) override {}
  void SetShowHint(bool) override {}

  UINT_PTR Id() const { return id_; }
  HWND Owner() const { return HandleOf(form_.Window()); }

 private:
  static UINT_PTR NextId() {
    static UINT_PTR id = 0;
    return ++id;
  }
  void Start() {
    enabled_ = true;
    if (AppOf(*this).NativeTimers()) {
      SetTimer(Owner(), id_, static_cast<UINT>(std::max(Interval(), 1)), nullptr);
    }
  }
  void Stop() {
    enabled_ = false;
    KillTimer(Owner(), id_);
  }

  Form& form_;
  UINT_PTR id_;
  bool enabled_ = false;
};

// ---- window procedures -------------------------------------------------------

HBRUSH Colours(Win32Application& app, HDC dc, const Control& c, UINT msg);

Control* Parent(const Control& c, Form& form) {
  return c.Def().parent.empty() ? &form.Window() : &form.Find(c.Def().parent);
}

Form* FormOfWindow(HWND h) {
  auto* f = dynamic_cast<FormWindow*>(ControlOf(h));
  return f == nullptr ? nullptr : &f->OwnerForm();
}

// Docking and anchors: every control is placed from its parent's size.
void Layout(Win32Application& app, Form& form) {
  if (form.Controls().size() != form.Def().controls.size()) return;  // still being built
  auto* window = dynamic_cast<FormWindow*>(&form.Window());
  RECT client{};
  GetClientRect(window->Handle(), &client);
  window->current = {0, 0, app.Unscale(client.right), app.Unscale(client.bottom)};
  for (Control* c : form.Controls()) {
    auto* self = dynamic_cast<NativeBase*>(c);
    if (self == nullptr) continue;
    const auto* parent = dynamic_cast<NativeBase*>(Parent(*c, form));
    const Control* parentControl = Parent(*c, form);
    const Rect designed =
        parentControl == &form.Window() ? form.WindowSpec().rect : parentControl->Def().rect;
    Rect r = Place(c->Def(), {designed.width, designed.height},
                   {parent->current.width, parent->current.height});
    if (c->Def().autoSize) r.width = self->current.width;
    self->current = r;
    SetWindowPos(self->Handle(), nullptr, app.Scale(r.left), app.Scale(r.top), app.Scale(r.width),
                 app.Scale(r.height), SWP_NOZORDER | SWP_NOACTIVATE);
    if (auto* label = dynamic_cast<Label*>(c)) label->Fit();
    if (auto* group = dynamic_cast<GroupBox*>(c)) {
      group->Resized(app.Scale(r.width), app.Scale(r.height));
    }
  }
}

std::optional<LRESULT> ContainerMessage(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND: {
      Control* c = ControlOf(reinterpret_cast<HWND>(l));
      if (auto* edit = dynamic_cast<Edit*>(c); edit != nullptr && HIWORD(w) == EN_CHANGE) {
        edit->RaiseChange();
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

void Register(const wchar_t* name, WNDPROC proc, HICON icon) {
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

HWND HandleOf(const Control& control) {
  const auto* n = dynamic_cast<const NativeWindow*>(&control);
  return n == nullptr ? nullptr : n->Handle();
}

std::string ShownHint(const Control& control) {
  if (const auto* label = dynamic_cast<const Label*>(&control)) return label->ShownHint();
  const auto* native = dynamic_cast<const NativeBase*>(&control);
  return native == nullptr ? std::string() : native->TipText();
}

// ---- application ------------------------------------------------------------------

Win32Application::Win32Application(Platform& platform, Options options)
    : Application(platform), options_(options) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HICON icon = LoadIconW(Instance(), L"MAINICON");
  Register(kFormClass, &FormProc, icon);
  Register(kPanelClass, &PanelProc, nullptr);
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
  }
  throw Error("Unknown control kind.");
}

void Win32Application::Show(Form& form) {
  HWND h = HandleOf(form.Window());
  ShowWindow(h, SW_SHOWNORMAL);
  Layout(*this, form);
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

void Win32Application::RunActions(std::deque<std::function<void()>>& actions) {
  if (actions.empty()) return;
  const std::size_t level = batches_.size();
  batches_.emplace_back().swap(actions);
  while (!batches_[level].empty()) {
    const std::function<void()> action = std::move(batches_[level].front());
    batches_[level].pop_front();
    Guard(action);
  }
  batches_.pop_back();
}

bool Win32Application::RunNextAction() {
  std::deque<std::function<void()>>* from = &actions_;
  for (auto& batch : batches_) {
    if (!batch.empty()) {
      from = &batch;
      break;
    }
  }
  if (from->empty()) return false;
  const std::function<void()> action = std::move(from->front());
  from->pop_front();
  Guard(action);
  return true;
}

void Win32Application::CloseForm(Form& form) {
  SendMessageW(HandleOf(form.Window()), WM_CLOSE, 0, 0);
}

void Win32Application::PostAction(std::function<void()> action) {
  actions_.push_back(std::move(action));
  PostThreadMessageW(GetCurrentThreadId(), kWake, 0, 0);
}

void Win32Application::PumpMessages() {
  ++pumps_;
  // Actions queued while these run wait for the next pump.
  std::deque<std::function<void()>> ready;
  ready.swap(actions_);
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
  RunActions(ready);
  MaybeFlush();
}

void Win32Application::Run(Form& form) {
  Show(form);
  MSG msg;
  while (!form.Closed()) {
    FlushViews();  // what the user sees is current before the loop waits
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;
    Dispatch(msg);
    std::deque<std::function<void()>> ready;
    ready.swap(actions_);
    RunActions(ready);
  }
}

void Win32Application::MarkDirty(View* view) {
  dirty_.push_back(view);
}

void Win32Application::Forget(View* view) {
  std::erase(dirty_, view);
}

void Win32Application::FlushViews() {
  if (dirty_.empty()) return;
  const auto started = std::chrono::steady_clock::now();
  std::vector<View*> views;
  views.swap(dirty_);
  for (View* view : views) {
    if (view->Dirty()) view->Sync();
  }
  lastSyncEnd_ = std::chrono::steady_clock::now();
  lastSyncCost_ = lastSyncEnd_ - started;
}

void Win32Application::MaybeFlush() {
  if (dirty_.empty()) return;
  constexpr auto kFrame = std::chrono::milliseconds(16);
  const auto since = std::chrono::steady_clock::now() - lastSyncEnd_;
  if (since >= std::max<std::chrono::steady_clock::duration>(kFrame, lastSyncCost_)) FlushViews();
}

void Win32Application::NativeMessageBox(std::string_view text, bool error) {
  FlushViews();  // the box runs a loop of its own
  HWND owner = GetActiveWindow();
  if (owner != nullptr && FormOfWindow(owner) == nullptr) owner = nullptr;
  MessageBoxW(owner, Widen(text).c_str(), Widen(Title()).c_str(),
              MB_OK | (error ? MB_ICONERROR : 0) | (owner == nullptr ? MB_TASKMODAL : 0));
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

void Win32Application::NativeOpenLink(std::string_view url) {
  HWND owner = GetActiveWindow();
  ShellExecuteW(owner, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOW);
}

// ---- driver ------------------------------------------------------------------------

void Win32Driver::Click(Control& control) {
  HWND h = HandleOf(control);
  // Windows routes no mouse input to a disabled window.
  if (h == nullptr || !IsWindowEnabled(h)) return;
  if (control.GetKind() == Kind::Button || control.GetKind() == Kind::CheckBox ||
      control.GetKind() == Kind::Radio) {
    SendMessageW(h, BM_CLICK, 0, 0);
  } else {
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  }
  app_.FlushViews();
}

void Win32Driver::TypeChar(Control& edit, char32_t ch) {
  HWND h = HandleOf(edit);
  if (h == nullptr || !IsWindowEnabled(h)) return;
  if (ch < 0x10000) {
    SendMessageW(h, WM_CHAR, ch, 1);
  } else {
    const char32_t v = ch - 0x10000;
    SendMessageW(h, WM_CHAR, 0xD800 + (v >> 10), 1);
    SendMessageW(h, WM_CHAR, 0xDC00 + (v & 0x3FF), 1);
  }
  app_.FlushViews();
}

void Win32Driver::Paste(Control& edit, std::string_view text) {
  // The edit's own replacement: no key handler, and the length limit holds.
  SendMessageW(HandleOf(edit), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Widen(text).c_str()));
  app_.FlushViews();
}

void Win32Driver::Select(Control& control, int start, int length) {
  if (auto* list = dynamic_cast<ListView*>(&control)) {
    list->Select(start, length);
  } else {
    dynamic_cast<Win32Edit&>(control).Select(start, length);
  }
  app_.FlushViews();
}

void Win32Driver::FireTimer(Control& timer) {
  auto& t = dynamic_cast<Win32Timer&>(timer);
  if (!t.Enabled()) return;
  // As the message loop hands the tick out.
  MSG msg{};
  msg.hwnd = t.Owner();
  msg.message = WM_TIMER;
  msg.wParam = t.Id();
  DispatchMessageW(&msg);
  app_.FlushViews();
}

void Win32Driver::CloseWindow(Form& form) {
  SendMessageW(HandleOf(form.Window()), WM_CLOSE, 0, 0);
  app_.FlushViews();
}

std::string Win32Driver::ShownListText(Control& list) {
  app_.FlushViews();
  std::string shown = Narrow(WindowText(HandleOf(list)));
  std::erase(shown, '\r');
  return shown;
}

}  // namespace tk::win32
