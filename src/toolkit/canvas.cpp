#include "toolkit/canvas.h"

#include <algorithm>
#include <utility>

namespace tk {

DrawOp DrawOp::Fill(const Rect& rect, std::uint32_t colour) {
  DrawOp op;
  op.type = Type::kFill;
  op.rect = rect;
  op.colour = colour;
  return op;
}

DrawOp DrawOp::Line(int x1, int y1, int x2, int y2, int width, std::uint32_t colour) {
  DrawOp op;
  op.type = Type::kLine;
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2;
  op.width = width;
  op.colour = colour;
  return op;
}

DrawOp DrawOp::Circle(const Rect& rect, std::uint32_t colour) {
  DrawOp op;
  op.type = Type::kCircle;
  op.rect = rect;
  op.colour = colour;
  return op;
}

DrawOp DrawOp::Text(const Rect& rect, std::string text, std::uint32_t colour, int fontSize,
                    bool bold) {
  DrawOp op;
  op.type = Type::kText;
  op.rect = rect;
  op.colour = colour;
  op.text = std::move(text);
  op.fontSize = fontSize;
  op.bold = bold;
  return op;
}

void Canvas::SetContent(Size size, int fixedTop, BandSource source) {
  content_ = {std::max(size.width, 0), std::max(size.height, 0)};
  fixedTop_ = std::clamp(fixedTop, 0, content_.height);
  source_ = std::move(source);
  Clamp();
  Changed();
}

void Canvas::ScrollToEnd() {
  ScrollTo(0, content_.height);
  atEnd_ = true;
}

void Canvas::ScrollTo(int x, int y) {
  atEnd_ = false;
  const int oldX = scrollX_;
  const int oldY = scrollY_;
  scrollX_ = x;
  scrollY_ = y;
  Clamp();
  if (scrollX_ != oldX || scrollY_ != oldY) Changed();
}

void Canvas::Clamp() {
  if (atEnd_) scrollY_ = content_.height;
  scrollX_ = std::clamp(scrollX_, 0, std::max(0, content_.width - viewport_.width));
  scrollY_ = std::clamp(scrollY_, 0, std::max(0, content_.height - viewport_.height));
}

void Canvas::Changed() {
  frameStale_ = true;
  App().Views().MarkDirty(*this);
}

void Canvas::ViewportChanged(Size size) {
  size = {std::max(size.width, 0), std::max(size.height, 0)};
  if (size.width == viewport_.width && size.height == viewport_.height) return;
  viewport_ = size;
  Clamp();
  Changed();
}

void Canvas::UserScrolled(int x, int y) {
  if (x == scrollX_ && y == scrollY_) return;
  ScrollTo(x, y);
}

void Canvas::UserClickedAt(int x, int y) {
  clickX_ = scrollX_ + x;
  // The fixed band does not scroll up and down.
  clickY_ = y < std::min(fixedTop_, viewport_.height) ? y : scrollY_ + y;
  RaiseClick();
}

Drawing Canvas::Band(int top, int bottom) const {
  top = std::max(top, 0);
  bottom = std::min(bottom, content_.height);
  if (!source_ || top >= bottom) return {};
  return source_(top, bottom);
}

const CanvasFrame& Canvas::Frame() {
  if (!frameStale_) return frame_;
  frameStale_ = false;
  frame_.area = {scrollX_, scrollY_, viewport_.width, viewport_.height};
  frame_.fixedTop = std::min(fixedTop_, viewport_.height);
  frame_.fixed = Band(0, frame_.fixedTop);
  frame_.scrolled = Band(scrollY_ + frame_.fixedTop, scrollY_ + viewport_.height);
  return frame_;
}

std::string Canvas::Picture(const Drawing& ops, int width, int height) {
  if (width <= 0 || height <= 0 ||
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > kMaxPngPixels) {
    return {};
  }
  const Pixels p = Render(ops, width, height);
  if (p.bytes.empty()) return {};
  return EncodePng(p.bytes.data(), width, height, p.stride, p.layout);
}

}  // namespace tk
