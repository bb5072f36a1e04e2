// The canvas on Qt: a QAbstractScrollArea whose viewport paints the frame the
// canvas keeps. The fixed top band is painted last, over what scrolled
// under it; pictures are painted the same way onto a QImage.
#include "toolkit/qt/qt_canvas.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "toolkit/canvas.h"
#include "toolkit/qt/qt_control.h"

namespace tk::qt {

namespace {

QColor Colour(std::uint32_t rgb) {
  return QColor(static_cast<QRgb>(rgb));
}

// Text is most of a chart: the fonts and the strings are made once.
class TextCache {
 public:
  const QFont& Font(int pixels, bool bold) {
    auto [it, made] = fonts_.try_emplace({pixels, bold});
    if (made) {
      it->second.setFamilies(FontFamilies());
      it->second.setPixelSize(std::max(pixels, 1));
      it->second.setBold(bold);
    }
    return it->second;
  }
  const QString& String(const std::string& text) {
    if (strings_.size() > 4096) strings_.clear();
    auto [it, made] = strings_.try_emplace(text);
    if (made) it->second = QString::fromStdString(text);
    return it->second;
  }

 private:
  std::map<std::pair<int, bool>, QFont> fonts_;
  std::map<std::string, QString> strings_;
};

void PaintOps(QPainter& p, const Drawing& ops, TextCache& cache) {
  for (const DrawOp& op : ops) {
    const QRect r(op.rect.left, op.rect.top, op.rect.width, op.rect.height);
    switch (op.type) {
      case DrawOp::Type::kFill:
        p.fillRect(r, Colour(op.colour));
        break;
      case DrawOp::Type::kLine: {
        // Straight grid lines stay crisp; slanted ones are smoothed.
        const bool straight = op.x1 == op.x2 || op.y1 == op.y2;
        p.setRenderHint(QPainter::Antialiasing, !straight);
        QPen pen(Colour(op.colour));
        pen.setWidth(std::max(op.width, 1));
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        if (straight && op.width <= 1) {
          p.fillRect(QRect(QPoint(std::min(op.x1, op.x2), std::min(op.y1, op.y2)),
                           QPoint(std::max(op.x1, op.x2), std::max(op.y1, op.y2))),
                     Colour(op.colour));
        } else {
          p.drawLine(QPointF(op.x1 + 0.5, op.y1 + 0.5), QPointF(op.x2 + 0.5, op.y2 + 0.5));
        }
        break;
      }
      case DrawOp::Type::kCircle:
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(Colour(op.colour));
        p.drawEllipse(QRectF(r));
        break;
      case DrawOp::Type::kText:
        p.setFont(cache.Font(op.fontSize, op.bold));
        p.setPen(Colour(op.colour));
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, cache.String(op.text));
        break;
    }
  }
}

class QtCanvas;

class CanvasArea : public QAbstractScrollArea {
 public:
  CanvasArea(QtCanvas& owner, QWidget* parent) : QAbstractScrollArea(parent), owner_(owner) {
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  }
  // Set while the bars are being brought up to date: their moves are not
  // the user's.
  bool syncing = false;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* e) override {
    pressed_ = e->button() == Qt::LeftButton;
    setFocus(Qt::MouseFocusReason);
    e->accept();
  }
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  QtCanvas& owner_;
  bool pressed_ = false;
};

class QtCanvas : public QtControl<Canvas, CanvasArea> {
 public:
  // The area only keeps its owner until events come.
  QtCanvas(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new CanvasArea(*this, parent)) {
    area_ = Get();
    area_->verticalScrollBar()->setSingleStep(20);
    area_->horizontalScrollBar()->setSingleStep(22);
  }
  std::string Text() const override { return {}; }
  void SetText(std::string_view /*text*/) override {}

  void Sync() override {
    const int x = ScrollX();
    const int y = ScrollY();
    const Size c = ContentSize();
    const Size v = Viewport();
    area_->syncing = true;
    QScrollBar* h = area_->horizontalScrollBar();
    h->setRange(0, std::max(0, c.width - v.width));
    h->setPageStep(std::max(v.width, 1));
    h->setValue(x);
    QScrollBar* vb = area_->verticalScrollBar();
    vb->setRange(0, std::max(0, c.height - v.height));
    vb->setPageStep(std::max(v.height - FixedTop(), 1));
    vb->setValue(y);
    area_->syncing = false;
    area_->viewport()->update();
  }

  void Paint(QPainter& p, int width, int height) {
    const CanvasFrame& f = Frame();
    p.fillRect(0, 0, width, height, Qt::white);
    p.save();
    p.setClipRect(0, f.fixedTop, width, height - f.fixedTop);
    p.translate(-f.area.left, -f.area.top);
    PaintOps(p, f.scrolled, text_);
    p.restore();
    if (f.fixedTop > 0) {
      p.setClipRect(0, 0, width, f.fixedTop);
      p.translate(-f.area.left, 0);
      PaintOps(p, f.fixed, text_);
    }
  }
  void Scrolled() {
    UserScrolled(area_->horizontalScrollBar()->value(), area_->verticalScrollBar()->value());
    qapp_.EventHandled();
  }
  void Clicked(QPoint at) {
    UserClickedAt(at.x(), at.y());
    qapp_.EventHandled();
  }

 protected:
  Pixels Render(const Drawing& ops, int width, int height) override {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(Qt::white);
    {
      QPainter p(&image);
      PaintOps(p, ops, text_);
    }
    Pixels out;
    out.layout = PixelLayout::kBgrx;
    out.stride = static_cast<std::size_t>(image.bytesPerLine());
    out.bytes.resize(out.stride * static_cast<std::size_t>(height));
    std::memcpy(out.bytes.data(), image.constBits(), out.bytes.size());
    return out;
  }

 private:
  CanvasArea* area_ = nullptr;
  TextCache text_;
};

void CanvasArea::paintEvent(QPaintEvent* /*e*/) {
  QPainter p(viewport());
  owner_.Paint(p, viewport()->width(), viewport()->height());
}

void CanvasArea::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  owner_.ViewportChanged({viewport()->width(), viewport()->height()});
}

void CanvasArea::scrollContentsBy(int /*dx*/, int /*dy*/) {
  if (!syncing) owner_.Scrolled();
  viewport()->update();
}

void CanvasArea::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressed_ && e->button() == Qt::LeftButton &&
                     viewport()->rect().contains(e->position().toPoint());
  pressed_ = false;
  e->accept();
  if (click) owner_.Clicked(e->position().toPoint());
}

}  // namespace

std::unique_ptr<Control> MakeCanvas(QtApplication& app, const ControlSpec& def, QWidget* parent) {
  return std::make_unique<QtCanvas>(app, def, parent);
}

}  // namespace tk::qt
