#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

bool InstallChineseTranslation() {
  auto* app = QCoreApplication::instance();
  if (app == nullptr) return false;
  auto* translator = new QTranslator(app);
  if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace tk::qt
