// Every label's text shows whole on Qt at 96 dpi: no end cut off, no
// descender, top or underline outside the label's rectangle.
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QtMath>

#include "../qt/qt_harness.h"

namespace {

using QtLabelFit = Behaviour;

QRgb Background(const QImage& image) {
  QHash<QRgb, int> seen;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ++seen[image.pixel(x, y)];
  }
  QRgb most = 0;
  for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
    if (it.value() > seen.value(most)) most = it.key();
  }
  return most;
}

bool IsInk(QRgb c, QRgb background) {
  return std::abs(qRed(c) - qRed(background)) + std::abs(qGreen(c) - qGreen(background)) +
             std::abs(qBlue(c) - qBlue(background)) >
         96;
}

// The ink's bounding box and pixel count.
struct Ink {
  QRect box;
  int pixels = 0;
};
Ink InkOf(const QImage& image, QRgb background, QPoint origin = {}) {
  Ink ink;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (!IsInk(image.pixel(x, y), background)) continue;
      ink.box |= QRect(x - origin.x(), y - origin.y(), 1, 1);
      ++ink.pixels;
    }
  }
  return ink;
}

TEST_F(QtLabelFit, EveryLabelShowsItsWholeTextAndUnderline) {
  C("lblTips").SetCaption("今日提示：by Qelmar工作室 (gjpqy) >>");
  Click("btnAll");  // the count at its widest
  static_cast<QtHarness&>(H()).app.FlushViews();
  for (tk::Control* c : Form().Controls()) {
    if (c->GetKind() != tk::Kind::Label) continue;
    auto* label = qobject_cast<QLabel*>(tk::qt::WidgetOf(*c));
    ASSERT_NE(label, nullptr);
    SCOPED_TRACE(std::string(c->Name()) + " \"" + label->text().toStdString() + "\"");
    const QImage shown = label->grab().toImage();
    const QRgb background = Background(shown);

    // The same text drawn where nothing clips it, at the label's placement,
    // in the screen's pixels (QT_SCALE_FACTOR runs).
    const qreal ratio = label->devicePixelRatioF();
    const tk::qt::TextPlacement at =
        tk::qt::PlaceText(label->font(), label->height(), ratio, label->text());
    const int margin = 20;
    QImage free(qCeil((label->width() + 2 * margin) * ratio),
                qCeil((label->height() + 2 * margin) * ratio), QImage::Format_RGB32);
    free.setDevicePixelRatio(ratio);
    free.fill(background);
    QFont plain = at.font;
    plain.setUnderline(false);
    const QColor pen = label->palette().color(label->foregroundRole());
    {
      QPainter p(&free);
      p.setFont(plain);
      p.setPen(pen);
      p.drawText(QPointF(margin, margin + at.baseline), label->text());
      if (label->font().underline()) {
        p.fillRect(QRectF(margin, margin + at.underline,
                          QFontMetrics(plain).horizontalAdvance(label->text()), at.underlineWidth),
                   pen);
      }
    }
    const int origin = qRound(margin * ratio);
    const Ink whole = InkOf(free, background, {origin, origin});
    ASSERT_GT(whole.pixels, 0);
    const QRect inside(0, 0, shown.width(), shown.height());
    EXPECT_TRUE(inside.contains(whole.box))
        << "ink " << whole.box.x() << "," << whole.box.y() << " " << whole.box.width() << "x"
        << whole.box.height() << " in " << shown.width() << "x" << shown.height() << " at "
        << ratio;
    // What the label really painted: all of it.
    EXPECT_GE(InkOf(shown, background).pixels, whole.pixels);
    if (label->font().underline()) {
      int lit = 0;
      for (int y = qFloor(at.underline * ratio);
           y < qCeil((at.underline + at.underlineWidth) * ratio); ++y) {
        int row = 0;
        for (int x = 0; x < shown.width(); ++x) row += IsInk(shown.pixel(x, y), background) ? 1 : 0;
        lit = std::max(lit, row);
      }
      // Under the whole text as drawn (a pixel smaller where the label is short).
      const int advance = qFloor(QFontMetrics(plain).horizontalAdvance(label->text()) * ratio);
      EXPECT_GE(lit, std::min(advance, shown.width()) * 9 / 10) << "underline row " << at.underline;
    }
  }
}

TEST_F(QtLabelFit, CountsUpToTheListLimitShowWholeBeforeTheirButtons) {
  for (std::string_view name : {"lblCount", "lblDelCnt"}) {
    C(name).SetText("100999");
    static_cast<QtHarness&>(H()).app.FlushViews();
    auto* label = qobject_cast<QLabel*>(tk::qt::WidgetOf(C(name)));
    ASSERT_NE(label, nullptr);
    const int button = tk::qt::WidgetOf(C(name == "lblCount" ? "btn1" : "btn2"))->x();
    EXPECT_LE(label->x() + label->width(), button) << name;
    // Drawn narrower, every digit whole: digits share one advance, so each
    // takes a sixth of the label; the last 9 (cut to "(" when the button
    // covers it) inks as much as the 9 before it. The ink spans the label and
    // keeps at least three quarters of the text drawn at its full width.
    const qreal ratio = label->devicePixelRatioF();
    const QImage shown = label->grab().toImage();
    const QRgb background = Background(shown);
    const Ink ink = InkOf(shown, background);
    const int share = shown.width() / 6;
    const Ink fifth = InkOf(shown.copy(4 * share, 0, share, shown.height()), background);
    const Ink last =
        InkOf(shown.copy(5 * share, 0, shown.width() - 5 * share, shown.height()), background);
    EXPECT_GE(last.pixels * 4, fifth.pixels * 3) << name << ": the last digit cut";
    EXPECT_LT(ink.box.right(), shown.width()) << name;
    QImage free(qCeil(label->width() * 2 * ratio), qCeil(label->height() * ratio),
                QImage::Format_RGB32);
    free.setDevicePixelRatio(ratio);
    free.fill(background);
    {
      QPainter p(&free);
      const tk::qt::TextPlacement at =
          tk::qt::PlaceText(label->font(), label->height(), ratio, label->text());
      p.setFont(at.font);
      p.setPen(label->palette().color(label->foregroundRole()));
      p.drawText(QPointF(0, at.baseline), label->text());
    }
    const Ink whole = InkOf(free, background);
    EXPECT_GT(whole.box.right(), shown.width() - 1) << name << ": wider than its room";
    EXPECT_GE(ink.box.right(), shown.width() - qCeil(4 * ratio)) << name;
    EXPECT_GE(ink.pixels * 4, whole.pixels * 3) << name;
  }
}

}  // namespace
