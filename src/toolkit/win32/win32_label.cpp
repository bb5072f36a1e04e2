// Labels paint their own line: the face that stands in for SimSun may ink
// more rows than the designed rectangle, so each label measures its text's
// ink and moves it up, or draws it a pixel smaller, until every glyph and the
// underline show.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_controls.h"

namespace tk::win32 {

namespace {

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

}  // namespace

Label::Label(Win32Application& app, Form& form, const ControlSpec& def)
    : Native(app, form, def), text_(def.text), shown_(Widen(def.text)) {
  const bool notify = !def.onClick.empty() || def.handCursor || def.showHint;
  Create(L"STATIC", SS_LEFT | SS_NOPREFIX | (notify ? SS_NOTIFY : 0), 0);
  SetWindowSubclass(hwnd_, &PaintProc, 4, reinterpret_cast<DWORD_PTR>(this));
  Fit();
}
void Label::ShowHintChanged() {
  // The tooltip follows the mouse over the label only when it notifies.
  if (ShowsHint()) {
    SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | SS_NOTIFY);
  }
  Sync();
}
Label::~Label() {
  RemoveWindowSubclass(hwnd_, &PaintProc, 4);
}

void Label::Sync() {
  shown_ = Widen(text_);
  SetWindowTextW(hwnd_, shown_.c_str());
  Fit();
  ShowTip(ShowsHint() ? Hint() : std::string());
}

// The text shows whole on one line: auto-sized labels are as wide as their
// text, the others at least as wide (at high densities the face's Latin
// glyphs and the rounding grow faster than the rectangle). The face that
// stands in for the designed one may ink more rows than the rectangle has
// (Wine's for SimSun): the text moves up, or is drawn a pixel smaller, until
// every glyph and the underline show.
void Label::Fit() {
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

void Label::FitText(int height) {
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
                 reinterpret_cast<WPARAM>(app_.NativeFont(Face(), fit.pixels, s.underline)), FALSE);
  }
  fitted_ = true;
  fit_ = fit;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Label::Paint(HDC dc) {
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

LRESULT CALLBACK Label::PaintProc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self) {
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

}  // namespace tk::win32
