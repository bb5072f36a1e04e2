// The canvas on Windows: a window of its own class with scroll bars that
// paints the canvas's frame with GDI into a memory bitmap, then onto the
// screen in one copy. Content pixels are at 96 dpi and scaled here; pictures
// are painted the same way, unscaled, into a DIB section.
#include <windows.h>

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include "toolkit/canvas.h"
#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_controls.h"

namespace tk::win32 {

namespace {

constexpr int kLineStep = 20;    // an arrow or a wheel notch's third: one chart row
constexpr int kColumnStep = 22;  // one digit column

COLORREF Colour(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

class Win32Canvas : public Native<Canvas> {
 public:
  Win32Canvas(Win32Application& app, Form& form, const ControlSpec& def) : Native(app, form, def) {
    Create(kCanvasClass, WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    Resized();
  }
  ~Win32Canvas() override {
    for (auto& [key, font] : fonts_) DeleteObject(font);
  }
  std::string Text() const override { return {}; }
  void SetText(std::string_view /*text*/) override {}

  void Sync() override {
    const int s = app_.Dpi();
    // Showing or hiding a bar resizes the client area (WM_SIZE, at once),
    // which may bring or take away the other bar: the bars settle here, and
    // this sync shows what they changed, not one more after it.
    for (int pass = 0; pass < 3; ++pass) {
      const Size seen = Viewport();
      const Size c = ContentSize();
      SetBar(SB_VERT, MulDiv(c.height, s, 96), MulDiv(ScrollY(), s, 96));
      SetBar(SB_HORZ, MulDiv(c.width, s, 96), MulDiv(ScrollX(), s, 96));
      if (Viewport() == seen) break;
    }
    app_.Views().Forget(*this);
    InvalidateRect(hwnd_, nullptr, FALSE);
  }

  std::optional<LRESULT> Message(UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT r{};
        GetClientRect(hwnd_, &r);
        PaintBuffered(dc, r.right, r.bottom);
        EndPaint(hwnd_, &ps);
        return 0;
      }
      case WM_PRINTCLIENT: {
        RECT r{};
        GetClientRect(hwnd_, &r);
        PaintBuffered(reinterpret_cast<HDC>(w), r.right, r.bottom);
        return 0;
      }
      case WM_SIZE:
        Resized();
        return 0;
      case WM_VSCROLL:
      case WM_HSCROLL:
        OnScroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(w));
        return 0;
      case WM_MOUSEWHEEL: {
        const int notches = GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA;
        ScrollBy(0, -notches * 3 * kLineStep);
        return 0;
      }
      case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
      case WM_KEYDOWN:
        if (OnKey(w)) return 0;
        return std::nullopt;
      case WM_LBUTTONDOWN:
        pressed_ = true;
        SetFocus(hwnd_);
        return 0;
      case WM_LBUTTONUP:
        if (pressed_) {
          pressed_ = false;
          UserClickedAt(app_.Unscale(GET_X_LPARAM(l)), app_.Unscale(GET_Y_LPARAM(l)));
          FlushLater();
        }
        return 0;
      default:
        return std::nullopt;
    }
  }

 protected:
  Pixels Render(const Drawing& ops, int width, int height) override {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) return {};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PaintOps(dc, ops, 0, 0, 96);
    GdiFlush();
    Pixels out;
    out.layout = PixelLayout::kBgrx;
    out.stride = static_cast<std::size_t>(width) * 4;
    out.bytes.resize(out.stride * static_cast<std::size_t>(height));
    std::memcpy(out.bytes.data(), bits, out.bytes.size());
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return out;
  }

 private:
  void SetBar(int bar, int content, int position) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    RECT r{};
    GetClientRect(hwnd_, &r);
    si.nMin = 0;
    si.nMax = std::max(content - 1, 0);
    si.nPage = static_cast<UINT>(bar == SB_VERT ? r.bottom : r.right);
    si.nPos = position;
    SetScrollInfo(hwnd_, bar, &si, TRUE);
  }

  void Resized() {
    RECT r{};
    GetClientRect(hwnd_, &r);
    ViewportChanged({app_.Unscale(r.right), app_.Unscale(r.bottom)});
  }

  // A scroll the user asked for is shown before the loop waits again.
  void FlushLater() { app_.FlushViews(); }

  void ScrollBy(int dx, int dy) {
    UserScrolled(ScrollX() + dx, ScrollY() + dy);
    FlushLater();
  }

  void OnScroll(int bar, WORD code) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, bar, &si);
    const bool vertical = bar == SB_VERT;
    const int line = app_.Scale(vertical ? kLineStep : kColumnStep);
    const int page = vertical ? app_.Scale(std::max(Viewport().height - FixedTop(), 1))
                              : static_cast<int>(si.nPage);
    int pos = si.nPos;
    switch (code) {
      case SB_LINEUP:
        pos -= line;
        break;
      case SB_LINEDOWN:
        pos += line;
        break;
      case SB_PAGEUP:
        pos -= page;
        break;
      case SB_PAGEDOWN:
        pos += page;
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        pos = si.nTrackPos;
        break;
      case SB_TOP:
        pos = 0;
        break;
      case SB_BOTTOM:
        pos = si.nMax;
        break;
      default:
        return;
    }
    const int at = app_.Unscale(std::max(pos, 0));
    if (vertical) {
      UserScrolled(ScrollX(), at);
    } else {
      UserScrolled(at, ScrollY());
    }
    FlushLater();
  }

  bool OnKey(WPARAM key) {
    const int page = std::max(Viewport().height - FixedTop(), 1);
    switch (key) {
      case VK_UP:
        ScrollBy(0, -kLineStep);
        return true;
      case VK_DOWN:
        ScrollBy(0, kLineStep);
        return true;
      case VK_LEFT:
        ScrollBy(-kColumnStep, 0);
        return true;
      case VK_RIGHT:
        ScrollBy(kColumnStep, 0);
        return true;
      case VK_PRIOR:
        ScrollBy(0, -page);
        return true;
      case VK_NEXT:
        ScrollBy(0, page);
        return true;
      case VK_HOME:
        ScrollBy(-ScrollX(), -ScrollY());
        return true;
      case VK_END:
        ScrollToEnd();
        FlushLater();
        return true;
      default:
        return false;
    }
  }

  void PaintBuffered(HDC screen, int width, int height) {
    if (width <= 0 || height <= 0) return;
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const CanvasFrame& f = Frame();
    const int dpi = app_.Dpi();
    const int fixed = MulDiv(f.fixedTop, dpi, 96);
    SaveDC(dc);
    IntersectClipRect(dc, 0, fixed, width, height);
    PaintOps(dc, f.scrolled, f.area.left, f.area.top, dpi);
    RestoreDC(dc, -1);
    if (fixed > 0) {
      SaveDC(dc);
      IntersectClipRect(dc, 0, 0, width, fixed);
      PaintOps(dc, f.fixed, f.area.left, 0, dpi);
      RestoreDC(dc, -1);
    }
    BitBlt(screen, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }

  HFONT FontOf(int pixels, bool bold) {
    HFONT& font = fonts_[{pixels, bold}];
    if (font == nullptr) {
      font = CreateFontW(-std::max(pixels, 1), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                         FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         Widen(form_.Def().fontFace).c_str());
    }
    return font;
  }

  // Content point (x, y) is at device pixel S(x - dx), S(y - dy).
  void PaintOps(HDC dc, const Drawing& ops, int dx, int dy, int dpi) {
    auto sx = [&](int x) { return MulDiv(x - dx, dpi, 96); };
    auto sy = [&](int y) { return MulDiv(y - dy, dpi, 96); };
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    SetBkMode(dc, TRANSPARENT);
    auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (const DrawOp& op : ops) {
      const Rect& r = op.rect;
      switch (op.type) {
        case DrawOp::Type::kFill: {
          SetDCBrushColor(dc, Colour(op.colour));
          RECT box{sx(r.left), sy(r.top), sx(r.left + r.width), sy(r.top + r.height)};
          FillRect(dc, &box, brush);
          break;
        }
        case DrawOp::Type::kLine: {
          const bool straight = op.x1 == op.x2 || op.y1 == op.y2;
          if (straight && op.width <= 1) {
            SetDCBrushColor(dc, Colour(op.colour));
            RECT box{sx(std::min(op.x1, op.x2)), sy(std::min(op.y1, op.y2)),
                     sx(std::max(op.x1, op.x2) + 1), sy(std::max(op.y1, op.y2) + 1)};
            FillRect(dc, &box, brush);
            break;
          }
          HPEN pen = CreatePen(PS_SOLID, std::max(MulDiv(op.width, dpi, 96), 1), Colour(op.colour));
          HGDIOBJ before = SelectObject(dc, pen);
          // Through the middle of the end pixels.
          const int half = MulDiv(1, dpi, 192);
          MoveToEx(dc, sx(op.x1) + half, sy(op.y1) + half, nullptr);
          LineTo(dc, sx(op.x2) + half, sy(op.y2) + half);
          SelectObject(dc, before);
          DeleteObject(pen);
          break;
        }
        case DrawOp::Type::kCircle: {
          SetDCBrushColor(dc, Colour(op.colour));
          const int d = std::min(r.width, r.height);
          // Without a pen the ellipse leaves out its right and bottom edge.
          Ellipse(dc, sx(r.left), sy(r.top), sx(r.left + d) + 1, sy(r.top + d) + 1);
          break;
        }
        case DrawOp::Type::kText: {
          SelectObject(dc, FontOf(MulDiv(op.fontSize, dpi, 96), op.bold));
          SetTextColor(dc, Colour(op.colour));
          RECT box{sx(r.left), sy(r.top), sx(r.left + r.width), sy(r.top + r.height)};
          const std::wstring text = Widen(op.text);
          DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
          break;
        }
      }
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
  }

  std::map<std::pair<int, bool>, HFONT> fonts_;
  bool pressed_ = false;
};

}  // namespace

LRESULT CALLBACK CanvasProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  // No C++ exception may unwind through the system's frames.
  try {
    if (auto* canvas = dynamic_cast<Win32Canvas*>(ControlOf(h))) {
      if (auto r = canvas->Message(msg, w, l)) return *r;
    }
  } catch (...) {
  }
  return DefWindowProcW(h, msg, w, l);
}

std::unique_ptr<Control> MakeCanvas(Win32Application& app, Form& form, const ControlSpec& def) {
  return std::make_unique<Win32Canvas>(app, form, def);
}

}  // namespace tk::win32
