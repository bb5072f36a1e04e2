// Every label's text shows whole on Qt at 96 dpi: no end cut off, no
// descender, top or underline outside the label's rectangle.
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPainter>

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

    // The same text drawn where nothing clips it, at the label's placement.
    const tk::qt::TextPlacement at = tk::qt::PlaceText(label->font(), label->height());
    const int margin = 20;
    QImage free(label->width() + 2 * margin, label->height() + 2 * margin, QImage::Format_RGB32);
    free.fill(background);
    QFont plain = label->font();
    plain.setUnderline(false);
    const QColor pen = label->palette().color(label->foregroundRole());
    {
      QPainter p(&free);
      p.setFont(plain);
      p.setPen(pen);
      p.drawText(QPoint(margin, margin + at.baseline), label->text());
      if (label->font().underline()) {
        p.fillRect(margin, margin + at.underline,
                   QFontMetrics(plain).horizontalAdvance(label->text()), at.underlineWidth, pen);
      }
    }
    const Ink whole = InkOf(free, background, {margin, margin});
    ASSERT_GT(whole.pixels, 0);
    EXPECT_TRUE(label->rect().contains(whole.box))
        << "ink " << whole.box.x() << "," << whole.box.y() << " " << whole.box.width() << "x"
        << whole.box.height() << " in " << label->width() << "x" << label->height();
    // What the label really painted: all of it.
    EXPECT_GE(InkOf(shown, background).pixels, whole.pixels);
    if (label->font().underline()) {
      const int y = at.underline;
      int lit = 0;
      for (int x = 0; x < shown.width(); ++x) lit += IsInk(shown.pixel(x, y), background) ? 1 : 0;
      EXPECT_GE(lit, shown.width() * 9 / 10) << "underline row " << y;
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
    // Drawn narrower, every digit inks: the ink spans the label and keeps at
    // least three quarters of the text drawn at its full width.
    const QImage shown = label->grab().toImage();
    const QRgb background = Background(shown);
    const Ink ink = InkOf(shown, background);
    QImage free(label->width() * 2, label->height(), QImage::Format_RGB32);
    free.fill(background);
    {
      QPainter p(&free);
      p.setFont(label->font());
      p.setPen(label->palette().color(label->foregroundRole()));
      p.drawText(QPoint(0, tk::qt::PlaceText(label->font(), label->height()).baseline),
                 label->text());
    }
    const Ink whole = InkOf(free, background);
    EXPECT_GT(whole.box.right(), label->width() - 1) << name << ": wider than its room";
    EXPECT_GE(ink.box.right(), label->width() - 4) << name;
    EXPECT_GE(ink.pixels * 4, whole.pixels * 3) << name;
  }
}

}  // namespace
