// The draws window and the conditions window on the real screen: wholly on
// its work area, as large as designed where that fits. ctest runs this at
// QT_SCALE_FACTOR 1, 1.25 and 1.5 on a 1366 x 728 screen.
#include <QScreen>
#include <QTest>
#include <iostream>

#include "../behaviour/draws_window.h"
#include "app/filter_form.h"
#include "qt_harness.h"

namespace {

using QtWindowFit = DrawsWindow;

// The frame on the work area; each side as designed, or as long as the
// work area allows.
void ExpectFits(const QWidget* w, QSize designed, const char* what) {
  const QRect area = w->screen()->availableGeometry();
  const QRect frame = w->frameGeometry();
  std::cout << what << ": frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
            << frame.height() << ", client " << w->width() << "x" << w->height() << " on work area "
            << area.width() << "x" << area.height() << " at scale " << w->devicePixelRatioF()
            << "\n";
  EXPECT_TRUE(area.contains(frame)) << what;
  const QSize border = frame.size() - w->size();
  EXPECT_EQ(w->width(), std::min(designed.width(), area.width() - border.width())) << what;
  EXPECT_EQ(w->height(), std::min(designed.height(), area.height() - border.height())) << what;
}

TEST_F(QtWindowFit, TheDrawsAndConditionsWindowsOpenOnTheWorkArea) {
  Form().mniDrawsClick(Form().mmoList);
  ASSERT_NE(Form().FormDraws, nullptr);
  QWidget* draws = tk::qt::WidgetOf(W().Window());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(draws));
  ExpectFits(draws, {960, 600}, "draws window");
  W().Close();

  Click("btnAll");
  bool seen = false;
  User().Post([&] {
    QWidget* filter = tk::qt::WidgetOf(Form().FormFilter->Window());
    (void)QTest::qWaitForWindowExposed(filter);
    ExpectFits(filter, {894, 446}, "conditions window");
    EXPECT_EQ(filter->size(), QSize(894, 446));  // not resizable: never cut
    seen = true;
    Form().FormFilter->Close();
  });
  Form().mniFilterClick(Form().mmoList);
  EXPECT_TRUE(seen);
}

}  // namespace
