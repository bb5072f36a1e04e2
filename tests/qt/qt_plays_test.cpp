// The plays window on real Qt widgets: typed keys recount, Escape closes it
// and changes nothing.
#include <QApplication>
#include <QTest>

#include "../behaviour/harness.h"
#include "app/plays_form.h"
#include "qt_harness.h"

namespace {

using QtPlays = Behaviour;

TEST_F(QtPlays, KeysRecountAndEscapeChangesNothing) {
  Click("btnAll");
  TForm1& form = Form();
  bool done = false;
  User().Post([&] { form.mniPlaysClick(form.mmoList); });
  User().Post([&] {
    ASSERT_NE(form.FormPlays, nullptr);
    TFormPlays& w = *form.FormPlays;
    QWidget* dialog = tk::qt::WidgetOf(w.Window());
    EXPECT_EQ(dialog->size(), QSize(528, 232));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }, 2000));
    EXPECT_EQ(QApplication::focusWidget(), tk::qt::WidgetOf(w.cboPlay));
    QWidget* edit = tk::qt::WidgetOf(w.edtPlaysValues);
    QTest::keyClicks(edit, "13");
    EXPECT_EQ(w.lblPlaysCount.Text(), "共 75 注，金额 150 元");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  User().Post([&] {
    if (form.FormPlays != nullptr && !form.FormPlays->Closed()) {
      ADD_FAILURE() << "Escape left the plays window open";
      form.FormPlays->Close();
    }
    done = true;
  });
  for (int i = 0; i < 100 && !done; ++i) H().App().PumpMessages();
  EXPECT_TRUE(done);
  EXPECT_EQ(form.FormPlays, nullptr);
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_EQ(form.PlaysChoice.sums, "13");
  EXPECT_TRUE(Rec().notices.empty());
}

}  // namespace
