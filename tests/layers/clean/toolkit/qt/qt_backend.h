#include <QWidget>
#include <QtWidgets/qlabel.h>
#include "toolkit/testing/driver.h"
