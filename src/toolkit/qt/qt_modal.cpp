// Dialogs shown modal over their owner, with a nested event loop.
#include <algorithm>

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QWidget>

#include "toolkit/placement.h"
#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

namespace {

// The first control that Tab reaches: the focus chain after the window.
void FocusFirstTabStop(QWidget* window) {
  for (QWidget* w = window->nextInFocusChain(); w != nullptr && w != window;
       w = w->nextInFocusChain()) {
    if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) != 0) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

// The owner's outer rectangle, the frame that a window of the same kind
// adds to its client area, and the work area of the owner's screen.
struct Surroundings {
  Rect owner;
  Size frame;
  Rect work;
};

Surroundings Around(const QWidget* o) {
  const QRect of = o->frameGeometry();
  const QScreen* screen = o->screen();
  const QRect a = screen != nullptr ? screen->availableGeometry() : of;
  return {{of.x(), of.y(), of.width(), of.height()},
          {of.width() - o->width(), of.height() - o->height()},
          {a.x(), a.y(), a.width(), a.height()}};
}

}  // namespace

void QtApplication::RunModal(Form& dialog, Form& owner) {
  QWidget* w = WidgetOf(dialog.Window());
  QWidget* o = WidgetOf(owner.Window());
  // Centred on the owner's frame, the dialog's frame as thick as the
  // owner's, and no larger than the work area.
  const Surroundings around = Around(o);
  const Size designed{dialog.Def().clientWidth, dialog.Def().clientHeight};
  const Rect placed = FitWindow(designed, designed, 1, around.frame, around.owner, around.work);
  const QSize size(placed.width - around.frame.width, placed.height - around.frame.height);
  w->setParent(o, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  w->setWindowModality(Qt::WindowModal);
  w->setFixedSize(size);
  if (w->findChild<QShortcut*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), w);
    QObject::connect(escape, &QShortcut::activated, w, [w] { w->close(); });
    if (std::any_of(dialog.Controls().begin(), dialog.Controls().end(),
                    [](const Control* c) { return c->Def().isDefault; })) {
      for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), w);
        QObject::connect(enter, &QShortcut::activated, w, [&dialog] {
          Control* focused = nullptr;
          for (Control* c : dialog.Controls()) {
            if (WidgetOf(*c) == QApplication::focusWidget()) focused = c;
          }
          dialog.EnterPressed(focused);
        });
      }
    }
  }
  w->move(placed.left, placed.top);

  // The nested loop waits for input like the main loop: views are shown
  // when it does, even when the dialog was opened while a handler pumped.
  const int depth = pumpDepth_;
  pumpDepth_ = 0;
  FlushViews();
  w->show();
  w->activateWindow();
  FocusFirstTabStop(w);
  if (!dialog.Closed()) {
    QEventLoop loop;
    modal_.push_back({&dialog, &loop});
    loop.exec();
    modal_.pop_back();
  }
  pumpDepth_ = depth;
  w->hide();
  o->activateWindow();
  FlushViews();
}

void QtApplication::NativeOpenWindow(Form& window, Form& owner, Size client) {
  QWidget* w = WidgetOf(window.Window());
  const Surroundings around = Around(WidgetOf(owner.Window()));
  const FormSpec& f = window.Def();
  const Size least = f.minimum.width > 0 ? f.minimum : Size{f.clientWidth, f.clientHeight};
  const Rect placed = FitWindow(client, least, 1, around.frame, around.owner, around.work);
  const Rect smallest = FitWindow(least, least, 1, around.frame, around.owner, around.work);
  w->setMinimumSize(smallest.width - around.frame.width, smallest.height - around.frame.height);
  w->resize(placed.width - around.frame.width, placed.height - around.frame.height);
  w->move(placed.left, placed.top);
  FlushViews();
  w->show();
  w->raise();
  w->activateWindow();
  FocusFirstTabStop(w);
}

void QtApplication::NativeRaise(Form& window) {
  QWidget* w = WidgetOf(window.Window());
  if (w->isMinimized()) w->showNormal();
  w->raise();
  w->activateWindow();
}

Size QtApplication::ClientSize(const Form& form) const {
  const QWidget* w = WidgetOf(form.Window());
  const bool normal =
      (w->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0;
  const QSize s = normal || !w->normalGeometry().isValid() ? w->size() : w->normalGeometry().size();
  return {s.width(), s.height()};
}

}  // namespace tk::qt
