#include <QApplication>
#include "app/main_window.h"
#include "toolkit/qt/qt_backend.h"
