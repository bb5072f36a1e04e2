// The canvas on Qt: a scroll area whose viewport paints the canvas's frame
// with QPainter (qt_canvas.cpp).
#pragma once

#include <memory>

#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

std::unique_ptr<Control> MakeCanvas(QtApplication& app, const ControlSpec& def, QWidget* parent);

}  // namespace tk::qt
