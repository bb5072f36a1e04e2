#include <QtWidgets/qlabel.h>
#include <QWidget>
#include "toolkit/testing/driver.h"
