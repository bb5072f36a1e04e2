// Saves a picture of the draws window on a sample history, after a 对奖 of
// every number, to the file named first on the command line; the history is
// the file named second (scripts/screenshot-draws.sh runs it on a virtual
// display).
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "app/draws_form.h"
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
  tk::headless::HeadlessPlatform platform(data.path().toStdString() + "/");
  tk::qt::QtApplication app(platform);
  app.SetTitle(app::kTitle);
  app.SetManualTimers(true);
  tk::Recorder rec;
  rec.Attach(app);
  rec.dialogAnswers = {argv[2]};
  TForm1 form(app);
  tk::qt::QtDriver user(app);
  QWidget* main = tk::qt::WidgetOf(form.Window());
  main->show();
  (void)QTest::qWaitForWindowExposed(main);
  user.Click(form.btnAll);
  bool saved = false;
  user.Post([&] {
    TFormDraws& d = *form.FormDraws;
    QWidget* dialog = tk::qt::WidgetOf(d.Window());
    (void)QTest::qWaitForWindowExposed(dialog);
    user.Click(d.Find("btnImport"));
    user.Click(d.Find("btnCheck"));
    app.FlushViews();
    QTest::qWait(500);
    saved = rec.notices.empty() && rec.errors.empty() && dialog->grab().save(picture);
    d.Close();
  });
  form.mniDrawsClick(form.mmoList);
  // The window is one of its own: the menu returns at once.
  while (form.FormDraws != nullptr) QTest::qWait(10);
  return saved ? 0 : 1;
}
