// What the Qt backend's controls share, for its files: text across the
// edge, fonts, and the control that owns its widget.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

inline QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string S(const QString& s) {
  return s.toStdString();
}

inline QColor ColorOf(std::int32_t rgb) {
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

inline QFont MakeFont(int pixelHeight, bool underline,
                      const QStringList& families = FontFamilies()) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixelHeight);
  font.setUnderline(underline);
  return font;
}

// Every Qt control can name its widget.
class Native {
 public:
  virtual ~Native() = default;
  virtual QWidget* Widget() const = 0;
};

// What every control with a widget shares.
template <class Base, class W>
class QtControl : public Base, public Native {
 public:
  QtControl(QtApplication& app, const ControlSpec& def, W* widget)
      : Base(app, def), qapp_(app), widget_(widget) {}
  ~QtControl() override { delete widget_.data(); }

  QWidget* Widget() const override { return widget_; }
  W* Get() const { return widget_; }

  bool Enabled() const override { return widget_->isEnabled(); }
  void NativeSetEnabled(bool enabled) override { widget_->setEnabled(enabled); }
  void GiveFocus() override { widget_->setFocus(Qt::OtherFocusReason); }
  // The control that keeps the focus inside its window.
  bool Focused() const override { return widget_->window()->focusWidget() == widget_; }

 protected:
  void HintChanged() override { ShowHint(); }
  void ShowHint() { widget_->setToolTip(this->ShowsHint() ? Q(this->Hint()) : QString()); }

  QtApplication& qapp_;

 private:
  QPointer<W> widget_;
};

// The controls of qt_text_controls.cpp.
std::unique_ptr<Control> MakeEdit(QtApplication& app, const ControlSpec& def, QWidget* parent);
std::unique_ptr<Control> MakeList(QtApplication& app, const ControlSpec& def, QWidget* parent);
std::unique_ptr<Control> MakeCombo(QtApplication& app, const ControlSpec& def, QWidget* parent);

}  // namespace tk::qt
