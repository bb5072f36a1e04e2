// Saves a picture of the conditions window, filled in, to the file named on
// the command line (scripts/screenshot-filter.sh runs it on a virtual display).
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "../support/filter_shot_data.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  if (argc != 2) return 2;
  const QString picture = QString::fromLocal8Bit(argv[1]);
  // A data folder with a kept draw and two 方案.
  QTemporaryDir data;
  if (!data.isValid()) return 1;
  testsupport::WriteFilterShotData(std::filesystem::path(data.path().toStdU16String()));

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
    QWidget* dialog = tk::qt::WidgetOf(f.Window());
    (void)QTest::qWaitForWindowExposed(dialog);
    user.Choose(f.cboScheme, 1);  // 每日, after 周末
    user.Type(f.Find("edtPosH"), "12");
    user.Click(f.Find("chkPrime21"));
    user.Click(f.Find("chkPrime12"));
    user.Click(f.Find("chkRepeat1"));
    app.FlushViews();
    QTest::qWait(500);
    saved = dialog->grab().save(picture);
    f.Close();
  });
  form.mniFilterClick(form.mmoList);
  return saved ? 0 : 1;
}
