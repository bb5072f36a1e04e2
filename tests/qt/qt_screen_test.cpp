// Where the window opens on screens of any size and scale. Run at the
// display's scale (then the window stands where its table says) and by
// ctest at QT_SCALE_FACTOR 1.5 and 2 on a 1600 x 1000 screen.
#include <QScreen>
#include <iostream>

#include "qt_harness.h"

namespace {

using QtScreen = Behaviour;

TEST_F(QtScreen, TheWindowOpensWhollyOnTheWorkArea) {
  QWidget* w = static_cast<QtHarness&>(H()).window;
  const QRect area = w->screen()->availableGeometry();
  const QRect frame = w->frameGeometry();
  const qreal scale = w->devicePixelRatioF();
  std::cout << "window frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
            << frame.height() << " (client " << w->width() << "x" << w->height()
            << ") on work area " << area.width() << "x" << area.height()
            << ", device-independent pixels, scale " << scale << "\n";
  EXPECT_EQ(w->size(), QSize(784, 562));
  // Left and up from the table's place, only as far as the screen needs.
  EXPECT_LE(frame.left(), 335);
  EXPECT_LE(frame.top(), 130);
  if (frame.width() <= area.width()) {
    EXPECT_TRUE(frame.left() == 335 || frame.right() == area.right()) << frame.left();
    EXPECT_GE(frame.left(), area.left());
  } else {
    EXPECT_EQ(frame.left(), area.left());
  }
  if (frame.height() <= area.height()) {
    EXPECT_TRUE(frame.top() == 130 || frame.bottom() == area.bottom()) << frame.top();
    EXPECT_GE(frame.top(), area.top());
  } else {
    EXPECT_EQ(frame.top(), area.top());
  }
  if (area.width() >= 335 + frame.width() && area.height() >= 130 + frame.height()) {
    EXPECT_EQ(frame.topLeft(), QPoint(335, 130));
  }
}

}  // namespace
