// The controls of the Windows backend, shared by its files: each is a native
// window that keeps a pointer to its control in GWLP_USERDATA, so that the
// parent's window procedure can route notifications back to it.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32.h"
#include "toolkit/win32/win32_hint.h"

namespace tk::win32 {

inline constexpr wchar_t kFormClass[] = L"Qelmar3DForm";
inline constexpr wchar_t kPanelClass[] = L"Qelmar3DPanel";
inline constexpr wchar_t kCanvasClass[] = L"Qelmar3DCanvas";
// Wakes the message loop for a queued action.
inline constexpr UINT kWake = WM_APP + 1;

inline HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

inline COLORREF ColorRef(std::int32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

inline Control* ControlOf(HWND h) {
  return h == nullptr ? nullptr : reinterpret_cast<Control*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}

inline Win32Application& AppOf(const Control& c) {
  return static_cast<Win32Application&>(c.App());
}

inline std::wstring WindowText(HWND h) {
  const int n = GetWindowTextLengthW(h);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

// The tooltip window the form's controls share (win32_window.cpp).
FormTips& TipsOf(Form& form);

// Tab order decides the Z order among siblings, which is the order the
// dialog manager walks; controls that take no Tab go last.
inline int TabKey(const ControlSpec& s) {
  return s.tabOrder >= 0 ? s.tabOrder : INT_MAX;
}

inline std::pair<DWORD, DWORD> Selection(HWND h) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

class NativeBase : public NativeWindow {
 public:
  HWND Handle() const override { return hwnd_; }
  // The text of the control's own tooltip (edits and buttons).
  virtual std::string TipText() const { return {}; }
  // Where the control stands now, at 96 dpi, relative to its parent.
  Rect current;

 protected:
  HWND hwnd_ = nullptr;
  // The form's tooltip has held a hint for this control.
  bool tipped_ = false;
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

  std::string TipText() const override { return tipped_ ? TipsOf(form_).Text(hwnd_) : ""; }

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
    if (hwnd_ == nullptr) throw Error("无法创建控件“" + std::string(s.name) + "”。");
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(static_cast<Control*>(this)));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(s)), FALSE);
    InsertInTabOrder();
  }

  HFONT FontFor(const ControlSpec& s) const {
    const FormSpec& f = form_.Def();
    return app_.Font(f.fontFace, s.fontHeight > 0 ? s.fontHeight : f.fontHeight, s.underline);
  }

  void Destroy() {
    if (hwnd_ == nullptr) return;
    if (tipped_) TipsOf(form_).Forget(hwnd_);
    // No notification may reach this object while it is going.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }

  // Edits and buttons show their hint on hover; labels follow their
  // painting (win32_label.cpp).
  void HintChanged() override {
    const Kind kind = this->Def().kind;
    if (kind != Kind::Edit && kind != Kind::Button) return;
    ShowTip(this->ShowsHint() ? this->Hint() : std::string());
  }
  void ShowTip(std::string_view hint) {
    if (!tipped_ && hint.empty()) return;
    TipsOf(form_).Set(HandleOf(form_.Window()), hwnd_, hint);
    tipped_ = true;
  }

  Win32Application& app_;
  Form& form_;

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

  // The siblings made before stand in tab order already: the new one goes
  // after the last of them that does not come later, or first. Found from
  // the form's own list, as every walk of the native siblings is a trip to
  // the window server under Wine.
  void InsertInTabOrder() {
    const ControlSpec& mine = this->Def();
    const int key = TabKey(mine);
    HWND after = nullptr;
    int afterKey = INT_MIN;
    bool last = true;
    for (const Control* c : form_.Controls()) {
      if (c->Def().parent != mine.parent) continue;
      HWND h = HandleOf(*c);
      if (h == nullptr) continue;
      const int k = TabKey(c->Def());
      if (k > key) {
        last = false;
      } else if (k >= afterKey) {
        after = h;
        afterKey = k;
      }
    }
    // A new child is made below its siblings: its place when none comes
    // later, except in a group box, whose frame is a sibling that must stay
    // below every control.
    const bool framed =
        !mine.parent.empty() && form_.Find(mine.parent).Def().kind == Kind::GroupBox;
    if (last && !framed) return;
    SetWindowPos(hwnd_, after != nullptr ? after : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
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
    if (hwnd_ == nullptr) throw Error("无法创建窗口。");
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(static_cast<Control*>(this)));
  }
  // The focus that comes back when the window is activated again.
  HWND savedFocus = nullptr;
  // The smallest outer size the user can drag it to (zero: no limit).
  SIZE minTrack{};
  FormTips tips;

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
    Create(L"BUTTON", (def.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 0);
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

// A label paints its own line of text, fitted so that every glyph and the
// underline show (win32_label.cpp). Its text and hint reach the window once
// per frame.
class Label : public Native<Control>, public View {
 public:
  Label(Win32Application& app, Form& form, const ControlSpec& def);
  ~Label() override;

  // A label's text changes only through the program: answer from the copy,
  // and show it with the next sync (count labels tick a thousand times in a
  // run; the user sees at most one value per frame).
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override {
    if (text == text_) return;
    text_ = text;
    app_.Views().MarkDirty(*this);
  }
  void Sync() override;
  // Places the text and sizes the window for the label's current height.
  void Fit();

 protected:
  void HintChanged() override {
    if (ShowsHint() || tipped_) app_.Views().MarkDirty(*this);
  }
  void ShowHintChanged() override;

 private:
  std::string_view Face() const { return form_.Def().fontFace; }
  void FitText(int height);
  void Paint(HDC dc);
  static LRESULT CALLBACK PaintProc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self);

  std::string text_;
  std::wstring shown_;
  TextFit fit_;
  bool fitted_ = false;
};

// A drop-down list (CBS_DROPDOWNLIST): the window's height covers the open
// list too, so the field's own height is set as the item height.
class Win32Combo : public Native<ComboBox> {
 public:
  // Rows of the open list below the field.
  static constexpr int kDropRows = 10;

  Win32Combo(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0);
    Fit(current.height);
  }
  std::string Text() const override { return ComboBox::Text(); }
  void SetText(std::string_view text) override { ComboBox::SetText(text); }
  // The field is `height` pixels at 96 dpi high, the open list below it.
  void Fit(int height) {
    const int field = app_.Scale(height);
    // The field is its item and the borders around it, which differ between
    // systems: set the item, measure, and set it again by what is over.
    auto item = [&](int pixels) {
      SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), std::max(pixels, 1));
    };
    item(field - 6);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int over = (r.bottom - r.top) - field;
    if (over != 0) {
      item(field - 6 - over);
      GetWindowRect(hwnd_, &r);
    }
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, field + kDropRows * field,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int ShownSelection() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }

 protected:
  void NativeSetItems(const std::vector<std::string>& items) override {
    SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    }
  }
  void NativeSetSelected(int index) override {
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
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
  ~ListView() override { RemoveWindowSubclass(hwnd_, &Proc, 2); }

  std::string Text() const override { return ListControl::Text(); }
  void SetText(std::string_view text) override { ListControl::SetText(text); }

  // Lines may have gone since the caret was placed: it stays within the text.
  int CaretOffset() const override {
    const int at = CodePointsOfUnits(shown_, static_cast<int>(Selection(hwnd_).first));
    return std::min(at, LineStart(LineCount()));
  }
  void SetCaretOffset(int offset) override { Select(offset, 0); }
  void Select(int start, int length) {
    if (Queued()) app_.Views().SyncNow(*this);
    const int end = LineStart(LineCount());
    const int from = std::clamp(start, 0, end);
    const int to = std::clamp(start + std::max(length, 0), from, end);
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(UnitsOfCodePoints(shown_, from)),
                 static_cast<LPARAM>(UnitsOfCodePoints(shown_, to)));
  }
  int SelectionLength() const override {
    if (Queued()) app_.Views().SyncNow(const_cast<ListView&>(*this));
    const auto [start, end] = Selection(hwnd_);
    return CodePointsOfUnits(shown_, static_cast<int>(end)) -
           CodePointsOfUnits(shown_, static_cast<int>(start));
  }
  void SelectAll() override {
    if (Queued()) app_.Views().SyncNow(*this);
    SendMessageW(hwnd_, EM_SETSEL, 0, -1);
  }
  void CopySelection() override {
    if (Queued()) app_.Views().SyncNow(*this);
    SendMessageW(hwnd_, WM_COPY, 0, 0);
  }

  void Sync() override;

 protected:
  void LinesChanged() override { app_.Views().MarkDirty(*this); }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self);

  std::wstring shown_;
};

class Win32Timer : public Timer {
 public:
  Win32Timer(Win32Application& app, Form& form, const ControlSpec& def)
      : Timer(app, def), form_(form), id_(NextId()) {
    NativeRun(true);
  }
  ~Win32Timer() override { KillTimer(Owner(), id_); }

  UINT_PTR Id() const { return id_; }
  HWND Owner() const { return HandleOf(form_.Window()); }

 protected:
  void NativeRun(bool running) override {
    if (!running) {
      KillTimer(Owner(), id_);
    } else if (AppOf(*this).NativeTimers()) {
      SetTimer(Owner(), id_, static_cast<UINT>(std::max(Interval(), 1)), nullptr);
    }
  }

 private:
  static UINT_PTR NextId() {
    static UINT_PTR id = 0;
    return ++id;
  }
  Form& form_;
  UINT_PTR id_;
};

// The form whose top-level window this is; nullptr for any other window.
inline Form* FormOfWindow(HWND h) {
  auto* f = dynamic_cast<FormWindow*>(ControlOf(h));
  return f == nullptr ? nullptr : &f->OwnerForm();
}

// The canvas (win32_canvas.cpp): its window procedure and its control.
LRESULT CALLBACK CanvasProc(HWND h, UINT msg, WPARAM w, LPARAM l);
std::unique_ptr<Control> MakeCanvas(Win32Application& app, Form& form, const ControlSpec& def);

// Places every control from its parent's size (win32_window.cpp).
void Layout(Win32Application& app, Form& form);
// The window procedures' classes, registered once per process.
void RegisterClasses();

}  // namespace tk::win32
