// The Linux program: the main window on Qt Widgets.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <exception>
#include <string>

#include "app/config.h"
#include "app/main_table.h"
#include "app/main_window.h"
#include "toolkit/linux/linux_platform.h"
#include "toolkit/qt/qt_backend.h"

namespace {

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// For an error before the application object exists: the same error box.
void ShowBareError(std::string_view text) {
  QMessageBox box(QMessageBox::Critical, Q(app::kTitle), Q(text), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("qelmar3d"));
  QApplication::setDesktopFileName(QStringLiteral("qelmar3d"));
  QApplication::setWindowIcon(AppIcon());
  // The window is Chinese whatever the desktop's language; without the
  // translation Qt's own buttons and menus stay in English.
  tk::qt::InstallChineseTranslation();
  try {
    tk::LinuxPlatform platform(QELMAR3D_INSTALL_BINDIR);
    tk::qt::QtApplication app(platform);
    app.SetTitle(app::kTitle);
    try {
      TForm1 form(app);
      // Told once, before anything could be lost without a word.
      if (!platform.DataFolderNotice().empty()) app.ShowNotice(platform.DataFolderNotice());
      app.Run(form);
    } catch (const std::exception& e) {
      app.ShowError(e.what());
    } catch (...) {
      app.ShowError("");  // not one of the known error classes
    }
  } catch (const std::exception& e) {
    ShowBareError(e.what());
  } catch (...) {
    ShowBareError("");
  }
  return 0;
}
