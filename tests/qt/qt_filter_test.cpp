// The conditions window on real Qt widgets: keys, mouse and modality.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "../behaviour/filter_window.h"
#include "conditions/conditions.h"
#include "draws/draws.h"
#include "qt_harness.h"
#include "toolkit/ask_text.h"

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
    EXPECT_EQ(dialog->size(), QSize(894, 446));
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

TEST_F(QtFilter, TheNewControlsTakeKeysAndClicks) {
  Click("btnAll");
  auto ticked = [&](std::string_view name) { return W().Get<tk::CheckBox>(name).Checked(); };
  auto shown = [&] {
    Qh().app.FlushViews();
    return qobject_cast<QLabel*>(Dw("lblFilterCount"))->text().toStdString();
  };
  auto space = [&](std::string_view name) {
    Dw(name)->setFocus();
    QTest::keyClick(Dw(name), Qt::Key_Space);
  };
  auto mouse = [&](std::string_view name) {
    QTest::mouseClick(Dw(name), Qt::LeftButton, {}, QPoint(4, Dw(name)->height() / 2));
  };
  // The name dialog by keys: typed, Tab to 确定, Space.
  auto keyAnswer = [&](const char* name) {
    return [this, name] {
      QWidget* ask = tk::qt::WidgetOf(tk::ShownTextDialog()->Window());
      ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == ask; }, 2000));
      EXPECT_EQ(ask->windowTitle(), QStringLiteral("保存方案"));
      ASSERT_EQ(Focus(), "edtAskText");
      for (QChar ch : QString::fromUtf8(name)) {
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch),
                            Qt::NoModifier);
      }
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      ASSERT_EQ(Focus(), "btnAskOk");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    };
  };
  InWindow({[&] {
    QWidget* dialog = tk::qt::WidgetOf(W().Window());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 2000));
    // Typing ticks the condition; Tab walks the three 定位 edits.
    Dw("edtPosH")->setFocus();
    QTest::keyClicks(Dw("edtPosH"), "12");
    EXPECT_TRUE(ticked("chkPos"));
    QTest::keyClick(Dw("edtPosH"), Qt::Key_Tab);
    QTest::keyClick(Dw("edtPosT"), Qt::Key_Tab);
    ASSERT_EQ(Focus(), "edtPosU");
    QTest::keyClicks(Dw("edtPosU"), "3");
    EXPECT_EQ(shown(), "投注列表 1000 注，符合条件 20 注，将删除 980 注");
    // A click on one of a condition's boxes ticks it.
    mouse("chkRunFull");
    EXPECT_TRUE(ticked("chkRun"));
    EXPECT_EQ(shown(), "投注列表 1000 注，符合条件 3 注，将删除 997 注");  // 123 213 243
    Dw("edtTolerance")->setFocus();
    QTest::keyClicks(Dw("edtTolerance"), "1");
    const std::string both = "投注列表 1000 注：全中 3 注，错一 62 注；将删除 935 注";
    EXPECT_EQ(shown(), both);

    // 保存方案… by keys, then another by the mouse; the list by keys.
    Answering({keyAnswer("顺子")}, [&] { space("btnSchemeSave"); });
    EXPECT_EQ(W().cboScheme.Text(), "顺子");
    mouse("chkPos");
    mouse("chkRun");
    Answering({[&] { Answer(User(), "全部"); }},
              [&] { QTest::mouseClick(Dw("btnSchemeSave"), Qt::LeftButton); });
    EXPECT_EQ(W().cboScheme.Items(), (std::vector<std::string>{"全部", "顺子"}));
    EXPECT_EQ(shown(), "投注列表 1000 注，符合条件 1000 注，将删除 0 注");
    Dw("cboScheme")->setFocus();
    QTest::keyClick(Dw("cboScheme"), Qt::Key_Down);
    EXPECT_EQ(W().cboScheme.Text(), "顺子");
    EXPECT_TRUE(ticked("chkPos"));
    EXPECT_EQ(D("edtPosU").Text(), "3");
    EXPECT_EQ(shown(), both);
    QTest::keyClick(Dw("cboScheme"), Qt::Key_Up);
    EXPECT_FALSE(ticked("chkPos"));

    // 删除方案 by the mouse, asked first; the name dialog closed by Escape.
    Rec().answers = {true};
    QTest::mouseClick(Dw("btnSchemeDelete"), Qt::LeftButton);
    EXPECT_EQ(Rec().questions, std::vector<std::string>{"要删除方案“全部”吗？"});
    EXPECT_EQ(W().cboScheme.Items(), std::vector<std::string>{"顺子"});
    Answering(
        {[&] {
          QWidget* ask = tk::qt::WidgetOf(tk::ShownTextDialog()->Window());
          ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == ask; }, 2000));
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }},
        [&] { space("btnSchemeSave"); });
    EXPECT_EQ(W().cboScheme.Items(), std::vector<std::string>{"顺子"});
    // A name typed and Enter: saved.
    Answering(
        {[&] {
          QWidget* ask = tk::qt::WidgetOf(tk::ShownTextDialog()->Window());
          ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == ask; }, 2000));
          User().Type(tk::ShownTextDialog()->Find(tk::kAskTextEdit), "每日");
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
          if (!tk::ShownTextDialog()->Closed()) {
            ADD_FAILURE() << "Enter left the name dialog open";
            Cancel(User());
          }
        }},
        [&] { space("btnSchemeSave"); });
    EXPECT_EQ(W().cboScheme.Items(), (std::vector<std::string>{"每日", "顺子"}));
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 2000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  }});
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_TRUE(Rec().notices.empty());
}

// Every text of the window and of the name dialog whole: a box's indicator
// and caption, a button's caption, a label's line. ctest runs this at
// QT_SCALE_FACTOR 1 to 2.
using QtFilterText = QtFilter;

void ExpectWhole(tk::Form& form) {
  for (tk::Control* c : form.Controls()) {
    QWidget* w = tk::qt::WidgetOf(*c);
    if (w == nullptr) continue;
    const QFontMetrics fm(w->font());
    const QString text = QString::fromStdString(c->Text());
    SCOPED_TRACE(std::string(c->Name()) + " \"" + c->Text() + "\"");
    switch (c->GetKind()) {
      case tk::Kind::CheckBox:
      case tk::Kind::Radio:
        EXPECT_LE(w->sizeHint().width(), w->width());
        break;
      case tk::Kind::Button:
        EXPECT_LE(fm.horizontalAdvance(text) + 8, w->width());
        break;
      case tk::Kind::Label:
        EXPECT_LE(fm.horizontalAdvance(text), w->width());
        EXPECT_LE(fm.height(), w->height() + 3);
        break;
      case tk::Kind::GroupBox:
        EXPECT_LE(fm.horizontalAdvance(text) + 16, w->width());
        break;
      case tk::Kind::ComboBox:
        for (const std::string& item : dynamic_cast<tk::ComboBox&>(*c).Items()) {
          EXPECT_LE(fm.horizontalAdvance(QString::fromStdString(item)) + 32, w->width());
        }
        break;
      default:
        break;
    }
  }
}

TEST_F(QtFilterText, EveryTextShowsWhole) {
  Data().Write(std::string(numbers::kDrawsFileName),
               numbers::DrawsFileBytes({{2024001, 7, "", 357}}));
  Click("btnAll");
  InWindow({[&] {
    FillEveryCondition();  // the widest summary and count
    Answering({[&] { Answer(User(), "一个四十个字以内的名称足够长了吧"); }},
              [&] { Tap("btnSchemeSave"); });
    Qh().app.FlushViews();
    ExpectWhole(W());
    // Every explanation the count line can show.
    tk::Control& count = W().lblFilterCount;
    auto* label = qobject_cast<QLabel*>(Dw("lblFilterCount"));
    for (std::string_view text :
         {numbers::kSumInvalid, numbers::kRoadInvalid, numbers::kPosInvalid, numbers::kPairInvalid,
          numbers::kDzxInvalid, numbers::kRepeatNoDraw}) {
      count.SetText(text);
      Qh().app.FlushViews();
      EXPECT_LE(label->sizeHint().width(), label->width()) << text;
    }
    count.SetText(numbers::ToleranceInvalidText(17));
    Qh().app.FlushViews();
    EXPECT_LE(label->sizeHint().width(), label->width());
    // The name dialog.
    Answering({[&] {
                ExpectWhole(*tk::ShownTextDialog());
                Cancel(User());
              }},
              [&] { Tap("btnSchemeSave"); });
    Tap("btnFilterCancel");
  }});
}
}  // namespace
