// Not a test: shows the window on a real display with mmoList's context menu
// open and saves a picture of both (scripts/screenshot-menu.sh).
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "app/main_table.h"
#include "app/main_window.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QApplication qapp(argc, argv);
  tk::headless::HeadlessPlatform platform;
  tk::qt::QtApplication app(platform);
  app.SetTitle(app::kTitle);
  app.SetManualTimers(true);
  TForm1 form(app);
  tk::qt::QtDriver user(app);
  QWidget* window = tk::qt::WidgetOf(form.Window());
  window->show();
  (void)QTest::qWaitForWindowExposed(window);
  user.Click(form.btnAll);
  user.Select(form.mmoList, 5, 8);
  QTest::qWait(300);
  const QString out = QString::fromLocal8Bit(argv[1]);
  QTimer poll;
  poll.setInterval(100);
  int seen = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr || ++seen < 5) return;  // painted first
    poll.stop();
    const QRect area = window->frameGeometry().united(menu->geometry());
    QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(out);
    QTest::keyClick(menu, Qt::Key_Escape);
  });
  poll.start();
  QWidget* view = tk::qt::WidgetOf(form.mmoList);
  const QPoint at = view->mapTo(window, QPoint(60, 60));
  QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
  return 0;
}
