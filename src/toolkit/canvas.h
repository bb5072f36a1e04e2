// A scrollable drawing surface: the program describes what it shows as
// drawing operations, band by band, and the canvas keeps the operations of
// what it shows now, so tests read exactly what was drawn. Only the visible
// band is ever asked for: a picture 400,000 pixels tall costs one screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/placement.h"
#include "toolkit/png.h"
#include "toolkit/toolkit.h"

namespace tk {

// One drawing operation, in the canvas's pixels (96 dpi). Colours are 0xRRGGBB.
struct DrawOp {
  enum class Type {
    kFill,    // `rect` filled with `colour`
    kLine,    // from (x1, y1) to (x2, y2), both ends included, `width` pixels wide
    kCircle,  // a filled circle inscribed in `rect`
    kText,    // one line centred in `rect`, `fontSize` pixels high
  };
  Type type = Type::kFill;
  Rect rect;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int width = 1;
  std::uint32_t colour = 0;
  std::string text;
  int fontSize = 12;
  bool bold = false;

  static DrawOp Fill(const Rect& rect, std::uint32_t colour);
  static DrawOp Line(int x1, int y1, int x2, int y2, int width, std::uint32_t colour);
  static DrawOp Circle(const Rect& rect, std::uint32_t colour);
  static DrawOp Text(const Rect& rect, std::string text, std::uint32_t colour, int fontSize,
                     bool bold = false);
};
using Drawing = std::vector<DrawOp>;

// What a canvas shows now. The top `fixedTop` pixels of the content stay in
// place when it scrolls up and down (column heads); the rest scrolls.
struct CanvasFrame {
  Rect area;         // the content shown: scroll position and viewport size
  int fixedTop = 0;  // of the viewport, showing content [0, fixedTop)
  Drawing fixed;     // operations of the content band [0, fixedTop)
  Drawing scrolled;  // operations of the band [area.top + fixedTop, area.top + area.height)
};

class Canvas : public Control, public View {
 public:
  // Gives the operations that paint the content band [top, bottom), in
  // content coordinates, painted in order; they may reach past the band.
  using BandSource = std::function<Drawing(int top, int bottom)>;

  using Control::Control;

  // New content: its size, its fixed top band and where its pictures come
  // from. The scroll position is kept as far as the new size allows.
  void SetContent(Size size, int fixedTop, BandSource source);
  Size ContentSize() const { return content_; }
  // The content changed within the same size: it is asked for again.
  void Redraw() { Changed(); }
  int FixedTop() const { return fixedTop_; }

  // The scroll position: the content point at the viewport's top left.
  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  // Scrolls, kept within the content.
  void ScrollTo(int x, int y);
  // Shows the content's bottom left (the latest rows of a chart), and keeps
  // showing its bottom through changes of size until scrolled elsewhere.
  void ScrollToEnd();
  // The visible area's size (without scroll bars), at 96 dpi.
  Size Viewport() const { return viewport_; }

  // The frame as painted now: the backends paint exactly this, and tests
  // read it. Computed once for each scroll position, size and content.
  const CanvasFrame& Frame();
  // The operations of content [top, bottom), from the content's source.
  Drawing Band(int top, int bottom) const;

  // The last click, in content coordinates.
  int ClickX() const { return clickX_; }
  int ClickY() const { return clickY_; }

  // The bytes of a PNG picture width × height of these operations (content
  // coordinates from the top left), white where nothing is drawn; empty when
  // the backend cannot draw or the picture is larger than kMaxPngPixels.
  std::string Picture(const Drawing& ops, int width, int height);

  // The backend: the viewport got this size (96 dpi), the user scrolled, or
  // clicked at this point of the viewport.
  void ViewportChanged(Size size);
  void UserScrolled(int x, int y);
  void UserClickedAt(int x, int y);

  std::string Text() const override { return {}; }
  void SetText(std::string_view /*text*/) override {}

 protected:
  // Renders operations onto a white width × height picture; its pixels, or
  // empty when this backend cannot. `stride` and `layout` describe them.
  struct Pixels {
    std::vector<unsigned char> bytes;
    std::size_t stride = 0;
    PixelLayout layout = PixelLayout::kRgb;
  };
  virtual Pixels Render(const Drawing& ops, int width, int height) = 0;
  // The scroll position, content or viewport changed: the widget is shown
  // again with the next sync (scroll bars and a repaint).
  void Changed();

 private:
  void Clamp();

  Size content_;
  int fixedTop_ = 0;
  BandSource source_;
  Size viewport_{Def().rect.width, Def().rect.height};
  int scrollX_ = 0;
  int scrollY_ = 0;
  int clickX_ = 0;
  int clickY_ = 0;
  bool atEnd_ = false;
  bool frameStale_ = true;
  CanvasFrame frame_;
};

}  // namespace tk
