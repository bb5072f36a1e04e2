// Saves a picture of the plays window, a 胆拖 play chosen over a small bet
// list, to the file named on the command line (scripts/screenshot-plays.sh
// runs it on a virtual display).
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "../support/plays_shot.h"
#include "app/main_table.h"
#include "core/bet.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  if (argc != 2) return 2;
  const QString picture = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir data;  // the lists kept at the end go here, not to the user's folder
  if (!data.isValid()) return 1;
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
  testsupport::FillShotBets(user, form);
  bool saved = false;
  user.Post([&] {
    TFormPlays& p = *form.FormPlays;
    QWidget* dialog = tk::qt::WidgetOf(p.Window());
    (void)QTest::qWaitForWindowExposed(dialog);
    testsupport::ChooseShotPlay(user, p);
    app.FlushViews();
    QTest::qWait(500);
    saved = p.lblPlaysCount.Text() == core::CostText(6) && rec.notices.empty() &&
            dialog->grab().save(picture);
    p.Close();
  });
  form.mniPlaysClick(form.mmoList);
  return saved ? 0 : 1;
}
