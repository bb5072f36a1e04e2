// Test programs on Qt: one QApplication for all tests, on the offscreen
// display unless the environment names another.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <cstdio>

#include "qt_harness.h"

namespace {

QtMessageHandler previous = nullptr;

// The offscreen display cannot pass size hints to a window manager it does
// not have, nor raise a menu or grab the keyboard for it; those warnings say
// nothing about the program.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message == QLatin1String("This plugin does not support propagateSizeHints()") ||
      message == QLatin1String("This plugin does not support raise()") ||
      message == QLatin1String("This plugin does not support grabbing the keyboard")) {
    return;
  }
  if (previous != nullptr) previous(type, context, message);
}

// The offscreen display's own screen is 800 x 600, smaller than the window
// with its frame. Tests get a desktop's screen instead, 1920 x 1080 device
// pixels unless QELMAR3D_TEST_SCREEN names another size ("1600x1000").
QString OffscreenWithScreen(const QString& folder) {
  int width = 1920;
  int height = 1080;
  const QStringList size = qEnvironmentVariable("QELMAR3D_TEST_SCREEN").split(QLatin1Char('x'));
  if (size.size() == 2 && size[0].toInt() > 0 && size[1].toInt() > 0) {
    width = size[0].toInt();
    height = size[1].toInt();
  }
  const QString path = QStringLiteral("%1/offscreen-%2x%3.json").arg(folder).arg(width).arg(height);
  // Tests run in parallel: each replaces the file whole, never truncates it under another.
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly)) {
    file.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, )"
                              R"("height": %2, "logicalDpi": 96, "logicalBaseDpi": 96}]})")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    file.commit();
  }
  return QStringLiteral("offscreen:configfile=") + path;
}

}  // namespace

int RunQtTests(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  // A runtime folder of our own, private as Qt wants it.
  const QString runtime = QStringLiteral(QELMAR3D_TEST_RUNTIME_DIR);
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") {
    qputenv("QT_QPA_PLATFORM", OffscreenWithScreen(runtime).toLocal8Bit());
  }
  previous = qInstallMessageHandler(FilterMessages);
  QApplication qapp(argc, argv);
  // As the program does: Qt's own texts in Chinese.
  if (!tk::qt::InstallChineseTranslation()) {
    std::fprintf(stderr, "Qt's Simplified Chinese translation is missing\n");
  }
  return RUN_ALL_TESTS();
}

int main(int argc, char** argv) {
  return RunQtTests(argc, argv);
}
