// Where a label draws its line of text. The table's labels are exactly as
// tall as their font (14 pixels for a 14-pixel font), as SimSun's cells are
// on Windows; Linux faces reach further above and below the baseline, so a
// label placed by ascent alone loses its descenders and underline.
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QtMath>

#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

namespace {

struct InkRows {
  int top = 0;  // above the baseline: negative
  int bottom = 0;
};

// Rows of the screen (device pixels, 0 the baseline's) that the font's
// Chinese glyphs, capitals and descenders cover, as painted at `ratio`
// device pixels a pixel (font metrics bound them loosely, by a pixel or more).
InkRows FontInk(const QFont& font, qreal ratio, const QString& text) {
  static QHash<QString, InkRows> cache;
  const QString key =
      font.key() + QLatin1Char('@') + QString::number(ratio) + QLatin1Char('@') + text;
  if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
  if (cache.size() > 512) cache.clear();  // counts come and go
  QFont plain = font;
  plain.setUnderline(false);
  // The label's own text too: a tip may reach higher than these.
  const QString sample = QStringLiteral("国工作室版本载提示：QWgjpqy()") + text;
  const QFontMetrics fm(plain);
  const int margin = fm.height();
  const int base = qRound(2 * margin * ratio);
  QImage image(qCeil((fm.horizontalAdvance(sample) + 2 * margin) * ratio),
               qCeil(3 * margin * ratio), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setFont(plain);
    p.setPen(Qt::black);
    p.drawText(QPointF(margin, base / ratio), sample);
  }
  InkRows ink{0, 0};
  bool any = false;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(row[x]) >= 192) continue;
      if (!any) ink.top = y - base;
      ink.bottom = y - base;
      any = true;
      break;
    }
  }
  if (!any) ink = {-qCeil(fm.ascent() * ratio), qCeil(fm.descent() * ratio)};
  cache.insert(key, ink);
  return ink;
}

}  // namespace

QStringList LabelFontFamilies() {
  // Zen Hei Sharp carries Zen Hei's glyphs in cells as tall as the font.
  QStringList faces = FontFamilies();
  faces.insert(2, QStringLiteral("WenQuanYi Zen Hei Sharp"));
  return faces;
}

TextPlacement PlaceText(const QFont& font, int height, qreal ratio, const QString& text) {
  // The label's rows on the screen; a scaled screen hints and rounds the
  // glyphs at its own size, so they may need a row more than the label has:
  // then the text is drawn a pixel smaller, down to three quarters.
  const int rows = qFloor(height * ratio);
  QFont shown = font;
  const int asked = font.pixelSize();
  // The rows from the ink's top to the glyphs' or the underline's bottom.
  auto tall = [&](const QFont& f, const InkRows& ink) {
    int bottom = ink.bottom;
    if (f.underline()) {
      const QFontMetrics fm(f);
      bottom = std::max(bottom, qCeil((fm.underlinePos() + fm.lineWidth()) * ratio) - 1);
    }
    return bottom - ink.top + 1;
  };
  InkRows ink = FontInk(shown, ratio, text);
  for (int px = asked - 1; px >= asked * 3 / 4 && tall(shown, ink) > rows; --px) {
    QFont smaller = font;
    smaller.setPixelSize(px);
    const InkRows fits = FontInk(smaller, ratio, text);
    shown = smaller;
    ink = fits;
  }
  int baseline = -ink.top;  // the ink's top on the label's top row
  if (baseline + ink.bottom > rows - 1) {
    // Too tall for the label: as much cut off above as below.
    baseline = (rows - 1 - ink.top - ink.bottom) / 2;
  }
  const QFontMetrics fm(shown);
  const qreal line = fm.lineWidth();
  const qreal underline = std::min(baseline / ratio + fm.underlinePos(), height - line);
  return {baseline / ratio, underline, line, shown};
}

}  // namespace tk::qt
