#include "toolkit/qt/qt_driver.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace tk::qt {

namespace {

QWidget& Must(const Control& control) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr) throw Error("No widget: " + std::string(control.Name()));
  return *w;
}

// The key that types a character on a US keyboard, where there is one.
Qt::Key KeyFor(char32_t ch) {
  if (ch >= U'0' && ch <= U'9') return static_cast<Qt::Key>(Qt::Key_0 + (ch - U'0'));
  if (ch >= U'a' && ch <= U'z') return static_cast<Qt::Key>(Qt::Key_A + (ch - U'a'));
  if (ch >= U'A' && ch <= U'Z') return static_cast<Qt::Key>(Qt::Key_A + (ch - U'A'));
  if (ch == U' ') return Qt::Key_Space;
  return Qt::Key_unknown;
}

}  // namespace

void QtDriver::Click(Control& control) {
  QWidget& w = Must(control);
  // A check box reacts only over its box and caption: aim at the box.
  const QPoint at =
      qobject_cast<QCheckBox*>(&w) != nullptr ? QPoint(4, w.height() / 2) : w.rect().center();
  QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, at);
  Settle();
}

void QtDriver::TypeChar(Control& edit, char32_t ch) {
  QWidget& w = Must(edit);
  if (ch == kBackspace) {
    QTest::keyClick(&w, Qt::Key_Backspace);
  } else {
    QTest::sendKeyEvent(QTest::Click, &w, KeyFor(ch), QString::fromUcs4(&ch, 1), Qt::NoModifier);
  }
  Settle();
}

void QtDriver::Paste(Control& edit, std::string_view text) {
  auto* line = qobject_cast<QLineEdit*>(&Must(edit));
  if (line == nullptr) throw Error("Cannot paste into " + std::string(edit.Name()));
  // As the context menu's Paste: over the selection, within the length limit.
  line->insert(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  Settle();
}

void QtDriver::Select(Control& control, int start, int length) {
  SetSelection(control, start, length);
  Settle();
}

void QtDriver::FireTimer(Control& timer) {
  QTimer* t = TimerOf(timer);
  if (t == nullptr) throw Error("Not a timer: " + std::string(timer.Name()));
  // The tick the loop would deliver, while the timer runs.
  if (timer.Enabled()) QMetaObject::invokeMethod(t, "timeout", Qt::DirectConnection);
  Settle();
}

void QtDriver::CloseWindow(Form& form) {
  Must(form.Window()).close();
  Settle();
}

void QtDriver::Post(std::function<void()> action) {
  QMetaObject::invokeMethod(
      posts_.get(), [this, action = std::move(action)] { app_.Guard(action); },
      Qt::QueuedConnection);
}

std::string QtDriver::ShownListText(Control& list) {
  app_.FlushViews();
  auto* view = qobject_cast<QPlainTextEdit*>(&Must(list));
  if (view == nullptr) throw Error("Not a list: " + std::string(list.Name()));
  return view->toPlainText().toStdString();
}

void QtDriver::Settle() {
  if (!app_.Pumping()) app_.FlushViews();
}

}  // namespace tk::qt
