#include "toolkit/qt/qt_menu.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStandardPaths>
#include <optional>

#include "toolkit/qt/qt_backend.h"

namespace tk::qt {

namespace {

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Where the menu that is being asked for opens (global coordinates).
std::optional<QPoint> g_menuAt;

class ListMenuFilter : public QObject {
 public:
  ListMenuFilter(ListControl& list, QPlainTextEdit* widget) : QObject(widget), list_(list) {}

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* e) override {
    if (!list_.OnContextMenu) return false;  // the widget's own menu
    if (e->type() == QEvent::ContextMenu) {
      auto* c = static_cast<QContextMenuEvent*>(e);
      Open(c->reason() == QContextMenuEvent::Mouse ? MenuReason::Mouse : MenuReason::Keyboard,
           c->reason() == QContextMenuEvent::Mouse ? std::optional<QPoint>(c->globalPos())
                                                   : std::nullopt);
      return true;
    }
    if (e->type() == QEvent::KeyPress) {
      // Qt 6.4 makes no menu event of these keys; taking the key press
      // keeps later versions, which do when it is not taken, from opening
      // a second one.
      auto* k = static_cast<QKeyEvent*>(e);
      const bool menuKey = k->key() == Qt::Key_Menu && k->modifiers() == Qt::NoModifier;
      if (menuKey || (k->key() == Qt::Key_F10 && k->modifiers() == Qt::ShiftModifier)) {
        Open(MenuReason::Keyboard, std::nullopt);
        return true;
      }
      // 撤销 and 恢复 of the list's own menu; the desktop's other redo key
      // counts as Ctrl+Y.
      const auto mods = k->modifiers() & ~Qt::KeypadModifier;
      const char* shortcut = nullptr;
      if (k->key() == Qt::Key_Z && mods == Qt::ControlModifier) shortcut = "Ctrl+Z";
      if ((k->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
          (k->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
        shortcut = "Ctrl+Y";
      }
      if (shortcut != nullptr && list_.ShortcutPressed(shortcut)) {
        static_cast<QtApplication&>(list_.App()).EventHandled();
        return true;
      }
    }
    return false;
  }

 private:
  void Open(MenuReason reason, std::optional<QPoint> at) {
    g_menuAt = at;
    list_.ContextMenuRequested(reason);
    g_menuAt.reset();
    static_cast<QtApplication&>(list_.App()).EventHandled();
  }

  ListControl& list_;
};

}  // namespace

void InstallListMenu(ListControl& list, QPlainTextEdit* widget) {
  auto* filter = new ListMenuFilter(list, widget);
  widget->installEventFilter(filter);
  // A right click reaches the viewport, not the edit itself.
  widget->viewport()->installEventFilter(filter);
}

int RunPopupMenu(QWidget* owner, const MenuItems& items, MenuReason reason) {
  QMenu menu(owner);
  std::vector<QAction*> actions;
  for (const MenuItem& item : items) {
    if (item.Separator()) {
      actions.push_back(menu.addSeparator());
      continue;
    }
    // The text after a tab is shown as the item's shortcut.
    QString text = Q(item.text);
    if (!item.shortcut.empty()) text += QLatin1Char('\t') + Q(item.shortcut);
    QAction* a = menu.addAction(text);
    a->setEnabled(item.enabled);
    actions.push_back(a);
  }
  QPoint at;
  if (reason == MenuReason::Mouse) {
    at = g_menuAt.value_or(QCursor::pos());
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(owner)) {
    at = edit->viewport()->mapToGlobal(edit->cursorRect().bottomLeft());
  } else {
    at = owner->mapToGlobal(QPoint(0, 0));
  }
  QPointer<QWidget> alive(owner);
  QAction* chosen = menu.exec(at);
  if (!alive || chosen == nullptr) return -1;
  for (std::size_t i = 0; i < actions.size(); ++i) {
    if (actions[i] == chosen) return static_cast<int>(i);
  }
  return -1;
}

std::string RunFileDialog(QWidget* parent, const FileRequest& request) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const bool text = request.extension.empty();
  // The folder used last, while it is there.
  if (!request.folder.empty() && QDir(Q(request.folder)).exists()) folder = Q(request.folder);
  QStringList filters;
  for (const std::string& f : request.filters) filters << Q(f);
  if (filters.isEmpty()) filters << Q(kTextFilesFilter);
  QFileDialog dialog(parent ? parent->window() : nullptr, Q(request.title), folder);
  dialog.setNameFilters(filters);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (request.save) {
    dialog.setDefaultSuffix(text ? QStringLiteral("txt") : Q(request.extension));
    dialog.selectFile(Q(request.fileName));
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::string() : files.first().toStdString();
}

}  // namespace tk::qt
