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

}  // namespace

void QtApplication::RunModal(Form& dialog, Form& owner) {
  QWidget* w = WidgetOf(dialog.Window());
  QWidget* o = WidgetOf(owner.Window());
  const QSize size = w->size();
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
  // Centred on the owner's frame; the dialog's frame is as thick as the owner's.
  const QRect of = o->frameGeometry();
  const QSize outer = size + (of.size() - o->size());
  const QScreen* screen = o->screen();
  const QRect a = screen != nullptr ? screen->availableGeometry() : of;
  const Rect placed =
      CentreOn({of.x(), of.y(), of.width(), of.height()}, {outer.width(), outer.height()},
               {a.x(), a.y(), a.width(), a.height()});
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

}  // namespace tk::qt
