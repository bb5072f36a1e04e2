// Where a label draws its line of text. The table's labels are exactly as
// tall as their font (14 pixels for a 14-pixel font), as SimSun's cells are
// on Windows; Linux faces reach further above and below the baseline, so a
// label placed by ascent alone loses its descenders and underline.
#include <QHash>
#include <QImage>
#include <QPainter>

#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

namespace {

struct InkRows {
  int top = 0;  // above the baseline: negative
  int bottom = 0;
};

// Rows that the font's Chinese glyphs, capitals and descenders cover, as
// painted (font metrics bound them loosely, by a pixel or more).
InkRows FontInk(const QFont& font) {
  static QHash<QString, InkRows> cache;
  const QString key = font.key();
  if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;
  QFont plain = font;
  plain.setUnderline(false);
  const QString sample = QStringLiteral("国工作室版本载提示：QWgjpqy()");
  const QFontMetrics fm(plain);
  const int margin = fm.height();
  QImage image(fm.horizontalAdvance(sample) + 2 * margin, 3 * margin, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setFont(plain);
    p.setPen(Qt::black);
    p.drawText(QPoint(margin, 2 * margin), sample);
  }
  InkRows ink{0, 0};
  bool any = false;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(row[x]) >= 192) continue;
      if (!any) ink.top = y - 2 * margin;
      ink.bottom = y - 2 * margin;
      any = true;
      break;
    }
  }
  if (!any) ink = {-fm.ascent(), fm.descent()};
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

TextPlacement PlaceText(const QFont& font, int height) {
  const InkRows ink = FontInk(font);
  int baseline = -ink.top;  // the ink's top on the label's top row
  if (baseline + ink.bottom > height - 1) {
    // Too tall for the label: as much cut off above as below.
    baseline = (height - 1 - ink.top - ink.bottom) / 2;
  }
  const QFontMetrics fm(font);
  const int underline = std::min(baseline + fm.underlinePos(), height - fm.lineWidth());
  return {baseline, underline, fm.lineWidth()};
}

}  // namespace tk::qt
