#include <QApplication>
#include "toolkit/qt/qt_backend.h"
#include "app/main_window.h"
