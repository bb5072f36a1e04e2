#include "harness_win32.h"

#include <algorithm>
#include <cstring>

#include "app/main_table.h"
#include "toolkit/win32/wide.h"

namespace {

std::int32_t Rgb(COLORREF c) {
  return static_cast<std::int32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}

tk::Control* ControlAt(TForm1& form, HWND h) {
  for (tk::Control* c : form.Controls()) {
    if (tk::win32::HandleOf(*c) == h) return c;
  }
  return nullptr;
}

}  // namespace

Win32Harness::Win32Harness(int dpi) : app(platform, {.dpi = dpi, .nativeTimers = false}) {
  app.SetTitle(app::kTitle);
  rec.Attach(app);
  platform.SetProgramFolder(home.Slashed());
  app.Show(form);
}

std::optional<Look> Win32Harness::LookOf(tk::Control& control) {
  HWND h = tk::win32::HandleOf(control);
  if (h == nullptr) return std::nullopt;
  app.FlushViews();  // labels and their tooltips lag by a frame
  Look look;
  HWND parent = GetParent(h);
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  look.rect = {app.Unscale(r.left), app.Unscale(r.top), app.Unscale(r.right - r.left),
               app.Unscale(r.bottom - r.top)};
  look.visible = IsWindowVisible(h) != FALSE;
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  const tk::Kind kind = control.GetKind();
  const bool edit = kind == tk::Kind::Edit || kind == tk::Kind::List;
  look.readOnly = edit && (style & ES_READONLY) != 0;
  look.keepsSelection = edit && (style & ES_NOHIDESEL) != 0;

  // Colours as the control gets them from its parent when it paints.
  HDC dc = CreateCompatibleDC(nullptr);
  const UINT ask = kind == tk::Kind::Button             ? WM_CTLCOLORBTN
                   : edit && (style & ES_READONLY) == 0 ? WM_CTLCOLOREDIT
                                                        : WM_CTLCOLORSTATIC;
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(parent, ask, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  look.textColor = Rgb(GetTextColor(dc));
  LOGBRUSH lb{};
  look.background = brush != nullptr && GetObjectW(brush, sizeof lb, &lb) != 0
                        ? Rgb(lb.lbColor)
                        : Rgb(GetBkColor(dc));
  DeleteDC(dc);

  if (auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0))) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    look.fontPixelHeight = app.Unscale(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight);
    look.underline = lf.lfUnderline != 0;
  }

  // The cursor over the middle of the control: the hit test passes a
  // transparent window (a label that takes no clicks) on to its parent.
  GetWindowRect(h, &r);
  const LPARAM middle = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  HWND target = h;
  LRESULT hit = SendMessageW(target, WM_NCHITTEST, 0, middle);
  while (hit == HTTRANSPARENT && GetParent(target) != nullptr) {
    target = GetParent(target);
    hit = SendMessageW(target, WM_NCHITTEST, 0, middle);
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
               MAKELPARAM(hit, WM_MOUSEMOVE));
  look.handCursor = GetCursor() == LoadCursorW(nullptr, IDC_HAND);
  look.hint = tk::win32::ShownHint(control);
  return look;
}

std::vector<std::string> Win32Harness::TabChain() {
  // Tab presses as the message loop hands them to the dialog manager.
  HWND window = Window();
  HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
  SetFocus(first);
  std::vector<std::string> chain;
  for (int i = 0; i < 200; ++i) {
    HWND focus = GetFocus();
    tk::Control* c = ControlAt(form, focus);
    chain.emplace_back(c != nullptr ? std::string(c->Name()) : "?");
    MSG msg{};
    msg.hwnd = focus;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    msg.lParam = 0x000F0001;
    app.Dispatch(msg);
    if (GetFocus() == first || GetFocus() == focus) break;
  }
  return chain;
}

void Win32Harness::ResizeClient(int width, int height) {
  HWND window = Window();
  RECT r{0, 0, app.Scale(width), app.Scale(height)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  app.PumpMessages();
}

std::optional<tk::Rect> Win32Harness::WindowPlacement() {
  HWND window = Window();
  RECT outer{};
  RECT client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  return tk::Rect{app.Unscale(outer.left), app.Unscale(outer.top), app.Unscale(client.right),
                  app.Unscale(client.bottom)};
}

std::unique_ptr<Harness> MakeHarness() {
  return std::make_unique<Win32Harness>();
}

void Win32Harness::SetClipboardText(const std::string& text) {
  const std::wstring units = tk::win32::Widen(text);
  // The clipboard needs an owner window for SetClipboardData to take the text.
  if (!OpenClipboard(Window())) {
    ADD_FAILURE() << "the clipboard cannot be opened";
    return;
  }
  EmptyClipboard();
  const std::size_t bytes = (units.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (block != nullptr) {
    std::memcpy(GlobalLock(block), units.c_str(), bytes);
    GlobalUnlock(block);
    if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) GlobalFree(block);
  }
  CloseClipboard();
}

int DrawnWidth(HFONT font, const std::string& text) {
  const std::wstring w = tk::win32::Widen(text);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE measure{};
  GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &measure);
  // Twice the measure and a margin: room for whatever a glyph draws beyond it.
  const int width = 2 * measure.cx + 40;
  const int height = 2 * measure.cy + 8;
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 0, 0, w.c_str(), static_cast<int>(w.size()));
  int right = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = width - 1; x >= right; --x) {
      if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
        right = x + 1;
        break;
      }
    }
  }
  SelectObject(dc, oldBitmap);
  SelectObject(dc, oldFont);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return std::max<int>(measure.cx, right);
}
