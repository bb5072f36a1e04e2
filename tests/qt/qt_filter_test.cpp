// The conditions window on real Qt widgets: keys, mouse and modality.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "../behaviour/filter_window.h"
#include "numbers/filter.h"
#include "qt_harness.h"

namespace {

class QtFilter : public FilterWindow {
 protected:
  QtHarness& Qh() { return static_cast<QtHarness&>(H()); }
  QWidget* Dw(std::string_view name) { return tk::qt::WidgetOf(D(name)); }
  std::string Focus() {
    QWidget* f = QApplication::focusWidget();
    return f != nullptr ? f->objectName().toStdString() : "";
  }
  std::vector<std::string> TabChain() {
    std::vector<std::string> names{Focus()};
    for (int i = 0; i < 120; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      if (Focus() == names.front()) break;
      names.push_back(Focus());
    }
    return names;
  }
};

TEST_F(QtFilter, KeysAndMouseDriveTheModalWindow) {
  Click("btnAll");
  InWindow({[&] {
    QWidget* dialog = tk::qt::WidgetOf(W().Window());
    QWidget* main = Qh().window;
    EXPECT_TRUE(dialog->isWindow());
    EXPECT_EQ(dialog->parentWidget(), main);
    EXPECT_NE(dialog->windowModality(), Qt::NonModal);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("条件过滤"));
    EXPECT_EQ(dialog->size(), QSize(912, 448));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 2000));
    // Centred on the main window, as far as the screen allows.
    const QRect of = main->frameGeometry();
    const QRect df = dialog->frameGeometry();
    const QRect screen = dialog->screen()->availableGeometry();
    const tk::Rect placed =
        tk::FitOnScreen({of.center().x() - df.width() / 2, of.center().y() - df.height() / 2,
                         df.width(), df.height()},
                        {screen.x(), screen.y(), screen.width(), screen.height()});
    EXPECT_NEAR(df.x(), placed.left, 1);
    EXPECT_NEAR(df.y(), placed.top, 1);

    // Tab from the first control, top to bottom; of each group of options
    // only the selected one; the action buttons are off while nothing goes.
    EXPECT_EQ(Focus(), "chkSum");
    const std::vector<std::string> want = TableTabChain(W());
    EXPECT_EQ(std::vector<std::string>(want.end() - 2, want.end()),
              (std::vector<std::string>{"rdoKeep", "btnFilterCancel"}));
    EXPECT_EQ(TabChain(), want);

    // Qt keeps input from the main window while this one shows.
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    EXPECT_EQ(dialog->windowHandle()->transientParent(), main->windowHandle());

    QTest::keyClick(Dw("chkSum"), Qt::Key_Space);
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkSum").Checked());
    QTest::keyClick(Dw("chkSum"), Qt::Key_Tab);
    EXPECT_EQ(Focus(), "edtSum");
    QTest::keyClicks(Dw("edtSum"), "13");
    Qh().app.FlushViews();
    auto* label = qobject_cast<QLabel*>(tk::qt::WidgetOf(W().lblFilterCount));
    EXPECT_EQ(label->text().toStdString(), "投注列表 1000 注，符合条件 75 注，将删除 925 注");
    // Arrows move within a group of options, and select.
    Dw("rdoDanAny")->setFocus();
    QTest::keyClick(Dw("rdoDanAny"), Qt::Key_Right);
    EXPECT_EQ(Focus(), "rdoDanAll");
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDanAll").Checked());
    QTest::keyClick(Dw("rdoDanAll"), Qt::Key_Left);
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDanAny").Checked());
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoKeep").Checked());
    QTest::mouseClick(Dw("rdoDrop"), Qt::LeftButton, {}, QPoint(4, Dw("rdoDrop")->height() / 2));
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDrop").Checked());
    EXPECT_EQ(W().lblFilterCount.Text(), "投注列表 1000 注，符合条件 75 注，将删除 75 注");
    // The longest explanation fits the label.
    const QPoint box(4, Dw("chkRoad")->height() / 2);
    QTest::keyClick(Dw("chkSum"), Qt::Key_Space);
    QTest::mouseClick(Dw("chkRoad"), Qt::LeftButton, {}, box);
    Qh().app.FlushViews();
    EXPECT_EQ(label->text().toStdString(), numbers::kRoadInvalid);
    EXPECT_LE(label->sizeHint().width(), label->width());
    EXPECT_FALSE(Dw("btnFilterDelete")->isEnabled());
    QTest::mouseClick(Dw("chkRoad"), Qt::LeftButton, {}, box);
    QTest::keyClick(Dw("chkSum"), Qt::Key_Space);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  }});
  EXPECT_EQ(Lines("mmoList").size(), 1000u);

  // Opened again it shows what it had; the mouse deletes.
  InWindow({[&] {
    QWidget* dialog = tk::qt::WidgetOf(W().Window());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 2000));
    EXPECT_EQ(D("edtSum").Text(), "13");
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDrop").Checked());
    const std::vector<std::string> want = TableTabChain(W());
    EXPECT_EQ(std::vector<std::string>(want.end() - 4, want.end()),
              (std::vector<std::string>{"rdoDrop", "btnFilterDelete", "btnFilterToDel",
                                        "btnFilterCancel"}));
    EXPECT_EQ(TabChain(), want);
    QTest::mouseClick(Dw("btnFilterDelete"), Qt::LeftButton);
  }});
  EXPECT_EQ(Lines("mmoList").size(), 925u);
  EXPECT_EQ(Text("lblCount"), "925");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
