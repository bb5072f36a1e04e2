// Saves a picture of the 历史验证 window over the sample history (named
// second on the command line) to the file named first
// (scripts/screenshot-dialog.sh runs it on a virtual display).
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "../support/backtest_shot.h"
#include "app/backtest_form.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  if (argc != 3) return 2;
  const QString picture = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir data;  // draws.txt goes here, not into the user's folder
  if (!data.isValid() || !testsupport::WriteBacktestShotDraws(
                             std::filesystem::path(data.path().toStdU16String()), argv[2])) {
    return 1;
  }
  tk::headless::HeadlessPlatform platform((data.path() + QLatin1Char('/')).toStdString());
  tk::qt::QtApplication app(platform);
  app.SetTitle(app::kTitle);
  app.SetManualTimers(true);
  tk::Recorder rec;
  rec.Attach(app);
  TForm1 form(app);
  tk::qt::QtDriver user(app);
  QWidget* main = tk::qt::WidgetOf(form.Window());
  main->show();
  (void)QTest::qWaitForWindowExposed(main);
  user.Click(form.btnAll);
  bool saved = false;
  user.Post([&] {
    TFormFilter& f = *form.FormFilter;
    testsupport::FillBacktestConditions(user, f);
    user.Post([&] {
      TFormBacktest& b = *f.FormBacktest;
      QWidget* dialog = tk::qt::WidgetOf(b.Window());
      (void)QTest::qWaitForWindowExposed(dialog);
      app.FlushViews();
      QTest::qWait(500);
      saved = rec.notices.empty() && rec.errors.empty() && dialog->grab().save(picture);
      b.Close();
    });
    user.Click(f.btnFilterBacktest);
    f.Close();
  });
  form.mniFilterClick(form.mmoList);
  return saved ? 0 : 1;
}
