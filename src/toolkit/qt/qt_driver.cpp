#include "toolkit/qt/qt_driver.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

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

void QtDriver::PressEnter(Form& /*form*/, Control& control) {
  QWidget& w = Must(control);
  if (!w.isEnabled()) return;
  w.setFocus(Qt::OtherFocusReason);
  QTest::keyClick(&w, Qt::Key_Return);
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

void QtDriver::Choose(Control& combo, int index) {
  auto* box = qobject_cast<QComboBox*>(&Must(combo));
  if (box == nullptr) throw Error("Not a drop-down list: " + std::string(combo.Name()));
  if (!box->isEnabled()) return;
  box->setFocus(Qt::MouseFocusReason);
  // What the popup does when the user picks an item.
  box->setCurrentIndex(index);
  QMetaObject::invokeMethod(box, "activated", Qt::DirectConnection, Q_ARG(int, index));
  Settle();
}

void QtDriver::ClickAt(Control& control, int x, int y) {
  QWidget* w = &Must(control);
  // A scroll area's points are its viewport's.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) w = area->viewport();
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  Settle();
}

void QtDriver::CloseWindow(Form& form) {
  Must(form.Window()).close();
  Settle();
}

void QtDriver::ResizeWindow(Form& form, Size client) {
  Must(form.Window()).resize(client.width, client.height);
  QApplication::processEvents();
  Settle();
}

void QtDriver::Activate(Form& form) {
  QWidget& w = Must(form.Window());
  w.raise();
  w.activateWindow();
  (void)QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }, 1000);
  Settle();
}

bool QtDriver::InFront(Form& form) {
  QWidget& w = Must(form.Window());
  // Activation arrives as an event of the window system.
  (void)QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }, 200);
  return w.isVisible() && QApplication::activeWindow() == &w;
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

std::vector<UserDriver::ShownItem> QtDriver::UseContextMenu(Control& list, MenuKey how,
                                                            char32_t letter) {
  auto* view = qobject_cast<QPlainTextEdit*>(&Must(list));
  if (view == nullptr) throw Error("Not a list: " + std::string(list.Name()));
  std::vector<ShownItem> shown;
  // The menu runs a loop of its own: a timer in that loop reads it and
  // presses the key.
  QTimer poll;
  poll.setInterval(5);
  QElapsedTimer waited;
  waited.start();
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
      if (waited.elapsed() > 5000) poll.stop();
      return;
    }
    poll.stop();
    for (QAction* a : menu->actions()) {
      if (a->isSeparator()) {
        shown.push_back({});
        continue;
      }
      const QStringList parts = a->text().split(QLatin1Char('\t'));
      shown.push_back({parts.value(0).toStdString(), parts.value(1).toStdString(), a->isEnabled()});
    }
    if (letter != 0) {
      QTest::sendKeyEvent(QTest::Click, menu, KeyFor(letter), QString::fromUcs4(&letter, 1),
                          Qt::NoModifier);
    } else {
      QTest::keyClick(menu, Qt::Key_Escape);
    }
  });
  poll.start();
  // Through the window, as the window system delivers input: that is where
  // Qt makes a context menu event of a right click or the menu key.
  QWindow* window = view->window()->windowHandle();
  if (how == MenuKey::RightClick) {
    const QPoint at = view->viewport()->mapTo(view->window(), view->viewport()->rect().center());
    QTest::mouseClick(window, Qt::RightButton, Qt::NoModifier, at);
  } else {
    view->setFocus(Qt::TabFocusReason);
    if (how == MenuKey::MenuKey) {
      QTest::keyClick(window, Qt::Key_Menu);
    } else {
      QTest::keyClick(window, Qt::Key_F10, Qt::ShiftModifier);
    }
  }
  poll.stop();
  Settle();
  return shown;
}

void QtDriver::Settle() {
  if (!app_.Pumping()) app_.FlushViews();
}

}  // namespace tk::qt
