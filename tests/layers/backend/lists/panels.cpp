#include "toolkit/qt/qt_backend.h"
