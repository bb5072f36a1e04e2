// Test programs on Qt: one QApplication for all tests, on the offscreen
// display unless the environment names another.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>

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

}  // namespace

int RunQtTests(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A runtime folder of our own, private as Qt wants it.
  const QString runtime = QStringLiteral(QELMAR3D_TEST_RUNTIME_DIR);
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  previous = qInstallMessageHandler(FilterMessages);
  QApplication qapp(argc, argv);
  return RUN_ALL_TESTS();
}

int main(int argc, char** argv) {
  return RunQtTests(argc, argv);
}
