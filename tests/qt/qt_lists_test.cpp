// The lists' real menus and the real file dialogs on Qt.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "../support/temp_folder.h"
#include "qt_harness.h"

namespace {

using Key = tk::UserDriver::MenuKey;
using QtLists = Behaviour;

// Answers the next file dialog the way a user does: puts the path into the
// name box and presses Return.
class DialogUser {
 public:
  explicit DialogUser(QString path) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this, path] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      timer_.stop();
      title = dialog->windowTitle();
      folder = dialog->directory().absolutePath();
      filters = dialog->nameFilters();
      save = dialog->acceptMode() == QFileDialog::AcceptSave;
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (name == nullptr) {
        dialog->reject();
        return;
      }
      suggested = name->text();
      // Qt Test types only ASCII keys: the path goes in as a paste would.
      name->setText(path);
      QTest::keyClick(name, Qt::Key_Return);
    });
    timer_.start();
  }
  QString title, folder, suggested;
  QStringList filters;
  bool save = false;

 private:
  QTimer timer_;
};

TEST_F(QtLists, RealMenuAndDialogsSaveAndLoadTheList) {
  H().App().SetDialogHook(nullptr);
  testsupport::TempFolder dir;
  const QString path = QString::fromStdString(dir.Slashed()) + QStringLiteral("投注号码.txt");
  Generate(true, "12", "3", "45");
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QDir(documents).exists()) documents = QDir::homePath();
  {
    DialogUser user(path);
    const auto shown = User().UseContextMenu(C("mmoList"), Key::RightClick, U'S');
    ASSERT_EQ(shown.size(), 23u);
    EXPECT_EQ(user.title, QStringLiteral("保存为文本文件"));
    EXPECT_TRUE(user.save);
    EXPECT_EQ(user.suggested, QStringLiteral("投注号码.txt"));
    EXPECT_EQ(user.filters,
              (QStringList{QStringLiteral("文本文件 (*.txt)"), QStringLiteral("所有文件 (*.*)")}));
    EXPECT_EQ(QDir(user.folder), QDir(documents));
  }
  EXPECT_EQ(dir.Read("投注号码.txt"), "134\r\n135\r\n234\r\n235\r\n");
  {
    DialogUser user(path);
    User().UseContextMenu(C("mmoDel"), Key::ShiftF10, U'O');
    EXPECT_EQ(user.title, QStringLiteral("从文本文件载入"));
    EXPECT_FALSE(user.save);
    // The folder used last.
    EXPECT_EQ(QDir(user.folder), QDir(QString::fromStdString(dir.Slashed())));
  }
  EXPECT_EQ(Lines("mmoDel"), Lines("mmoList"));
  EXPECT_EQ(Text("lblDelCnt"), "4");
  // 复制 copies the selection to the clipboard.
  User().Select(C("mmoList"), 5, 3);
  User().UseContextMenu(C("mmoList"), Key::MenuKey, U'C');
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("135"));
  EXPECT_TRUE(Rec().errors.empty() && Rec().notices.empty());
}

TEST_F(QtLists, CtrlZAndCtrlYOnAListUndoAndRedoItsSteps) {
  auto& qh = static_cast<QtHarness&>(H());
  Click("btnAll");
  User().PlaceCaret(C("mmoList"), 0);
  Click("btn1");
  QWidget* list = qh.Widget("mmoList");
  auto key = [&](Qt::Key k, Qt::KeyboardModifiers mods) {
    list->setFocus();
    QTest::keyClick(list, k, mods);
    qh.driver.Settle();
  };
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_EQ(Text("lblCount"), "1000");
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  key(Qt::Key_Z, Qt::ControlModifier);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // the desktop's redo key
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  EXPECT_EQ(User().ShownListText(C("mmoList")).substr(0, 4), "001\n");
  // The real menu names the steps and takes their accelerators.
  auto shown = User().UseContextMenu(C("mmoList"), Key::RightClick, U'U');
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "撤销 删除一行(&U)");
  EXPECT_EQ(shown[0].shortcut, "Ctrl+Z");
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  shown = User().UseContextMenu(C("mmoList"), Key::ShiftF10, U'R');
  EXPECT_EQ(shown[1].text, "恢复 删除一行(&R)");
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  // The deletion list has nothing to undo: the key changes nothing.
  qh.Widget("mmoDel")->setFocus();
  QTest::keyClick(qh.Widget("mmoDel"), Qt::Key_Z, Qt::ControlModifier);
  qh.driver.Settle();
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  EXPECT_TRUE(Rec().errors.empty() && Rec().notices.empty());
}

}  // namespace
