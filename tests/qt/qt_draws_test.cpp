// The draws window on real Qt widgets: the canvas paints what it keeps.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QTest>

#include "../behaviour/draws_window.h"
#include "qt_harness.h"

namespace {

using numbers::TrendChart;

class QtDraws : public DrawsWindow {
 protected:
  static std::string Focus() {
    QWidget* f = QApplication::focusWidget();
    return f != nullptr ? f->objectName().toStdString() : "";
  }
};

TEST_F(QtDraws, ADrawnCellHoldsItsCircleColourOnScreen) {
  folder.Write("draws.txt",
               "期号 日期 号码\r\n2024001 - 012\r\n2024002 - 998\r\n2024003 - 357\r\n");
  InWindow({[&] {
    auto* area = qobject_cast<QAbstractScrollArea*>(tk::qt::WidgetOf(W().cnvChart));
    ASSERT_NE(area, nullptr);
    H().App().FlushViews();
    QApplication::processEvents();
    const QImage shown = area->viewport()->grab().toImage();
    const TrendChart& c = W().Chart();
    tk::Canvas& canvas = W().cnvChart;
    // Beside the digit, inside the circle: each block's colour on 357's row.
    for (int b = 0; b < 3; ++b) {
      const int digit = b == 0 ? 3 : b == 1 ? 5 : 7;
      const tk::Rect cell = c.CellRect(2, TrendChart::kFirstDigitColumn + 10 * b + digit);
      const QPoint at(cell.left + cell.width / 2 - 6 - canvas.ScrollX(),
                      cell.top + cell.height / 2 - canvas.ScrollY());
      EXPECT_EQ(shown.pixel(at) & 0xFFFFFF, TrendChart::kBlockColours[b]) << b;
      // The next cell holds a grey 遗漏 on the row's own background.
      EXPECT_NE(shown.pixel(at + QPoint(22, 0)) & 0xFFFFFF, TrendChart::kBlockColours[b]) << b;
    }
    // Tab walks the table's order, the drop-down and the chart included.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Focus().empty(); }, 2000));
    std::vector<std::string> chain{Focus()};
    for (int i = 0; i < 30; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      if (Focus() == chain.front()) break;
      chain.push_back(Focus());
    }
    EXPECT_EQ(chain, TableTabChain(W()));
    W().Close();
  }});
}

// The date column and the mark of a break in the 期号 sequence reach the screen.
TEST_F(QtDraws, DatesAndABreakInThe期号SequenceAreOnScreen) {
  folder.Write("draws.txt",
               "期号 日期 号码\r\n2024001 2024-01-01 012\r\n2024002 2024-01-02 998\r\n"
               "2024005 2024-01-06 357\r\n");
  InWindow({[&] {
    auto* area = qobject_cast<QAbstractScrollArea*>(tk::qt::WidgetOf(W().cnvChart));
    ASSERT_NE(area, nullptr);
    const TrendChart& c = W().Chart();
    ASSERT_EQ(c.Columns(), TrendChart::kDateColumn + 1);
    W().cnvChart.ScrollTo(0, 0);
    H().App().FlushViews();
    QApplication::processEvents();
    const QImage shown = area->viewport()->grab().toImage();
    auto marked = [&](int row) {
      for (int dy = -1; dy <= 1; ++dy)
        if ((shown.pixel(30, c.RowY(row) + dy) & 0xFFFFFF) == TrendChart::kGapColour) return true;
      return false;
    };
    EXPECT_TRUE(marked(2));
    EXPECT_FALSE(marked(1));
    W().Close();
  }});
}

}  // namespace
