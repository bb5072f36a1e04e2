// Saves a picture of the conditions window, filled in, to the file named on
// the command line (scripts/screenshot-filter.sh runs it on a virtual display).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/filter_form.h"
#include "app/layout.h"
#include "app/main3d.h"
#include "numbers/draws.h"
#include "numbers/scheme.h"
#include "toolkit/headless/headless.h"
#include "toolkit/qt/qt_backend.h"
#include "toolkit/qt/qt_driver.h"

namespace {

void Write(const QString& path, const std::string& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  if (argc != 2) return 2;
  const QString picture = QString::fromLocal8Bit(argv[1]);
  // A data folder with a kept draw and two 方案.
  QTemporaryDir data;
  if (!data.isValid()) return 1;
  const QString schemes = data.filePath(QString::fromUtf8(kSchemeFolderName.data()));
  QDir().mkpath(schemes);
  numbers::FilterSettings daily;
  daily.sum = true;
  daily.sumText = "10-14,18";
  daily.shape = true;
  daily.zu6 = true;
  daily.kill = true;
  daily.killText = "4";
  daily.toleranceText = "1";
  Write(schemes + QStringLiteral("/每日.txt"), numbers::SchemeBytes(daily));
  Write(schemes + QStringLiteral("/周末.txt"), numbers::SchemeBytes({}));
  Write(data.filePath(QString::fromUtf8(numbers::kDrawsFileName.data())),
        numbers::DrawsFileBytes({{2024100, 7, "2024-04-10", 357}}));

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
