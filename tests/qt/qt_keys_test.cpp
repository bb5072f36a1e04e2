// Real key presses on the Qt window: where the focus is after a button ran,
// the editing shortcuts in filtered edits, and Qt's own texts in Chinese.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "qt_harness.h"

namespace {

class QtKeys : public Behaviour {
 protected:
  QtHarness& Qh() { return static_cast<QtHarness&>(H()); }
  QWidget* W(std::string_view name) { return Qh().Widget(name); }

  // The widget that keys go to; the window itself when no control has it.
  QWidget* FocusWidget() {
    QWidget* f = Qh().window->focusWidget();
    return f != nullptr ? f : Qh().window;
  }
  std::string FocusName() { return FocusWidget()->objectName().toStdString(); }
  void PressSpace() {
    QTest::keyClick(FocusWidget(), Qt::Key_Space);
    Qh().driver.Settle();
  }
  void Keys(std::string_view edit, Qt::Key key, Qt::KeyboardModifiers mods) {
    QTest::keyClick(W(edit), key, mods);
    Qh().driver.Settle();
  }
  void SelectAll(std::string_view edit) {
    User().Select(C(edit), 0, static_cast<int>(W(edit)->property("text").toString().size()));
  }
};

TEST_F(QtKeys, SpaceAfterAClickRunsTheSameButtonAgain) {
  for (int row = 0; row < 6; ++row) Tick(row, "12");
  Paste("edtNum", "12");

  Click("btnGet");
  EXPECT_EQ(FocusName(), "btnGet");
  Form().Row(0).boxes[3]->SetChecked(true);
  PressSpace();  // btnGet again, not btnAll's 1,000 numbers
  EXPECT_EQ(Lines("mmoList").size(), 12u);

  Click("btnAll");
  EXPECT_EQ(FocusName(), "btnAll");
  List("mmoList").ClearLines();
  PressSpace();  // btnAll again, not a blank typed into edtRight
  EXPECT_EQ(Lines("mmoList").size(), 1000u);

  Click("btnSel");
  EXPECT_EQ(FocusName(), "btnSel");
  Form().Row(3).boxes[3]->SetChecked(true);
  PressSpace();  // btnSel again; btnDelete would empty the bet list of them
  EXPECT_EQ(Lines("mmoDel").size(), 12u);
  EXPECT_EQ(Lines("mmoList").size(), 1000u);

  Click("btnDelete");
  EXPECT_EQ(FocusName(), "btnDelete");
  EXPECT_EQ(Lines("mmoList").size(), 988u);
  List("mmoList").AppendLine("111");
  PressSpace();
  EXPECT_EQ(Lines("mmoList").size(), 988u);

  // A Space during btnDel's run reaches nothing: not edtNum, not btnDel.
  List("mmoList").AppendLine("122");
  std::string focusDuring;
  User().Post([&] {
    focusDuring = FocusName();
    QTest::keyClick(FocusWidget(), Qt::Key_Space);
  });
  Click("btnDel");
  EXPECT_EQ(focusDuring, "Form1");
  EXPECT_EQ(Text("edtNum"), "12");
  EXPECT_EQ(FocusName(), "btnDel");
  EXPECT_EQ(Lines("mmoList").size(), 988u);
  List("mmoList").AppendLine("212");
  PressSpace();
  EXPECT_EQ(Lines("mmoList").size(), 988u);
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(QtKeys, PasteCutAndUndoKeysPassTheKeyFilters) {
  QApplication::clipboard()->setText(QStringLiteral("12ab34"));
  for (const char* edit : {"edt1", "edt2", "edt3", "edt4", "edt5", "edt6", "edtRight", "edtDel"}) {
    W(edit)->setFocus();
    Keys(edit, Qt::Key_V, Qt::ControlModifier);
    Keys(edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Text(edit), "") << edit;
  }
  // Cut and undo would change what the context menu pasted; the filter says no.
  Paste("edtRight", "123");
  SelectAll("edtRight");
  Keys("edtRight", Qt::Key_X, Qt::ControlModifier);
  Keys("edtRight", Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Text("edtRight"), "123");
  Keys("edtRight", Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text("edtRight"), "123");
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("12ab34"));

  // edtNum has no key filter: the keys act.
  Keys("edtNum", Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text("edtNum"), "12ab34");
  Keys("edtNum", Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text("edtNum"), "");
  Keys("edtNum", Qt::Key_Insert, Qt::ShiftModifier);
  SelectAll("edtNum");
  QApplication::clipboard()->clear();
  Keys("edtNum", Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Text("edtNum"), "");
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("12ab34"));

  // A key handler sees them as the control characters of a Windows edit.
  std::u32string seen;
  Form().edtNum.OnKeyPress = [&](tk::Control&, char32_t& key) {
    seen += key;
    if (key == 22) key = U'!';  // a handler may put something else in
  };
  Keys("edtNum", Qt::Key_V, Qt::ControlModifier);
  Keys("edtNum", Qt::Key_X, Qt::ControlModifier);
  Keys("edtNum", Qt::Key_Z, Qt::ControlModifier);
  Keys("edtNum", Qt::Key_Insert, Qt::ShiftModifier);
  Keys("edtNum", Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(seen, (std::u32string{22, 24, 26, 22, 24}));
  EXPECT_EQ(Text("edtNum"), "!");  // pasted, then undone, then pasted again
}

// The text of a menu's action, without its accelerator and shortcut.
QStringList MenuTexts(QMenu& menu) {
  QStringList texts;
  for (QAction* a : menu.actions()) {
    if (!a->isSeparator()) texts << a->text().section(QLatin1Char('\t'), 0, 0).remove('&');
  }
  return texts;
}

TEST_F(QtKeys, QtsOwnTextsAreChinese) {
  H().App().SetNoticeHook({});
  QString okText;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    okText = box->button(QMessageBox::Ok)->text();
    QTest::keyClick(box, Qt::Key_Escape);
  });
  closer.start(10);
  H().App().ShowNotice("号码已存在，不能添加！");
  EXPECT_EQ(okText.remove('&'), QStringLiteral("确定"));

  const std::unique_ptr<QMenu> editMenu(
      qobject_cast<QLineEdit*>(W("edtNum"))->createStandardContextMenu());
  const QStringList edit = MenuTexts(*editMenu);
  for (const QString& want :
       {QStringLiteral("粘贴"), QStringLiteral("复制"), QStringLiteral("全选")}) {
    EXPECT_EQ(edit.filter(want).size(), 1)
        << want.toStdString() << " in " << edit.join('|').toStdString();
  }
  const std::unique_ptr<QMenu> listMenu(
      qobject_cast<QPlainTextEdit*>(W("mmoList"))->createStandardContextMenu());
  const QStringList list = MenuTexts(*listMenu);
  for (const QString& want : {QStringLiteral("复制"), QStringLiteral("全选")}) {
    EXPECT_EQ(list.filter(want).size(), 1)
        << want.toStdString() << " in " << list.join('|').toStdString();
  }
}

TEST_F(QtKeys, TheContextMenusPasteGoesInUnfiltered) {
  QApplication::clipboard()->setText(QStringLiteral("12ab34"));
  const std::unique_ptr<QMenu> menu(
      qobject_cast<QLineEdit*>(W("edtRight"))->createStandardContextMenu());
  QAction* paste = nullptr;
  for (QAction* a : menu->actions()) {
    if (a->text().startsWith(QStringLiteral("粘贴"))) paste = a;
  }
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  EXPECT_EQ(Text("edtRight"), "12a");  // only the length limit applies
}

}  // namespace
