// The draws window as a window of its own: the main window stays usable
// beside it, one window comes to the front when opened again, it goes with
// the main window, the chart takes its size, and size and choice of rows
// are kept. On every backend.
#include "app/draws_table.h"
#include "draws_window.h"

namespace {

class OwnDrawsWindow : public DrawsWindow {
 protected:
  // From the list's menu, as the user opens it; the menu returns at once.
  void OpenFromMenu() {
    User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::RightClick, U'T');
    Settle();
    ASSERT_NE(Form().FormDraws, nullptr);
  }
  void Settle() {
    for (int i = 0; i < 3; ++i) H().App().PumpMessages();
    H().App().FlushViews();
  }
  tk::Size ClientOf(TFormDraws& w) { return H().App().ClientSize(w); }
  void CloseDraws() {
    User().CloseWindow(W());
    Settle();
    EXPECT_EQ(Form().FormDraws, nullptr);
  }
};

TEST_F(OwnDrawsWindow, TheMainWindowWorksBesideItAndCheckingReadsTheListAsItIsNow) {
  folder.Write("draws.txt", "期号 日期 号码\r\n2024001 - 357\r\n");
  OpenFromMenu();
  EXPECT_EQ(W().edtCheck.Text(), "357");
  // The main window takes clicks and menus while the draws window is open.
  Click("btnAll");
  EXPECT_EQ(Form().mmoList.LineCount(), 1000);
  Tap("btnCheck");
  EXPECT_EQ(D("lblResult").Text(), "直选 中 1 注 × 1040 元；投入 2,000 元，奖金 1,040 元");
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::RightClick, U'G');
  ASSERT_EQ(Form().BetListKind(), core::BetKind::kGroup);
  Tap("btnCheck");
  EXPECT_EQ(D("lblResult").Text(), "组六 中 1 注 × 173 元；投入 420 元，奖金 173 元");
  EXPECT_EQ(D("lblWinners").Text(), "中奖号码：357");

  // Another number: the old result goes at the first keystroke, even when
  // the number typed is whole again, until 对奖 is clicked.
  Retype("edtCheck", "3");
  EXPECT_EQ(D("lblResult").Text(), "");
  EXPECT_EQ(D("lblWinners").Text(), "");
  User().Type(D("edtCheck"), "57");
  EXPECT_EQ(D("lblResult").Text(), "");
  Tap("btnCheck");
  EXPECT_EQ(D("lblResult").Text(), "组六 中 1 注 × 173 元；投入 420 元，奖金 173 元");
  // Changing a prize leaves the result of the number checked.
  Retype("edtGroup6", "180");
  EXPECT_EQ(D("lblWinners").Text(), "中奖号码：357");
  CloseDraws();
  EXPECT_TRUE(Notices().empty()) << Notices().front();
  EXPECT_TRUE(Rec().errors.empty()) << Rec().errors.front();
}

TEST_F(OwnDrawsWindow, OpenedAgainTheSameWindowComesToTheFrontAndGoesWithTheMainWindow) {
  OpenFromMenu();
  TFormDraws* const first = Form().FormDraws;
  EXPECT_TRUE(User().InFront(*first));
  User().Activate(Form());
  EXPECT_FALSE(User().InFront(*first));
  OpenFromMenu();
  EXPECT_EQ(Form().FormDraws, first);
  EXPECT_TRUE(User().InFront(*first));

  // Closed and opened again: a new window, reading what the last one kept.
  Retype("edtDirect", "2000");
  CloseDraws();
  OpenFromMenu();
  EXPECT_EQ(W().edtDirect.Text(), "2000");

  // The main window's close box closes it, and it keeps what it keeps.
  User().CloseWindow(Form());
  Settle();
  EXPECT_TRUE(Form().Closed());
  EXPECT_EQ(Form().FormDraws, nullptr);
  EXPECT_NE(folder.Read("draws-window.txt"), "");
  EXPECT_TRUE(Rec().errors.empty()) << Rec().errors.front();
}

TEST_F(OwnDrawsWindow, TheChartTakesWhatTheWindowGrowsBy) {
  OpenFromMenu();
  const tk::Size client = ClientOf(W());
  const tk::Size chart = W().cnvChart.Viewport();
  User().ResizeWindow(W(), {client.width + 60, client.height + 40});
  EXPECT_EQ(ClientOf(W()), (tk::Size{client.width + 60, client.height + 40}));
  EXPECT_EQ(W().cnvChart.Viewport(), (tk::Size{chart.width + 60, chart.height + 40}));
  // No smaller than every row needs.
  User().ResizeWindow(W(), {300, 200});
  EXPECT_EQ(ClientOf(W()), (tk::Size{720, 360}));
  CloseDraws();
}

TEST_F(OwnDrawsWindow, SizeAndRowsShownAreKeptAcrossOpeningsAndRuns) {
  OpenFromMenu();
  const tk::Size designed = ClientOf(W());
  User().Choose(W().cboShown, 3);
  User().ResizeWindow(W(), {800, 500});
  CloseDraws();
  EXPECT_EQ(folder.Read("draws-window.txt"), "width=800\r\nheight=500\r\nshown=全部\r\n");
  OpenFromMenu();
  EXPECT_EQ(ClientOf(W()), (tk::Size{800, 500}));
  EXPECT_EQ(W().cboShown.Selected(), 3);
  CloseDraws();

  Restart([&] {
    std::unique_ptr<Harness> next = MakeHarness();
    next->SetProgramFolder(folder.Slashed());
    return next;
  });
  OpenFromMenu();
  EXPECT_EQ(ClientOf(W()), (tk::Size{800, 500}));
  EXPECT_EQ(W().cboShown.Selected(), 3);
  CloseDraws();

  // A damaged file opens the window as designed, without a word.
  folder.Write("draws-window.txt", "width=abc\r\nheight=100\r\nshown=近 7 期\r\n\xff\xfe");
  OpenFromMenu();
  EXPECT_EQ(ClientOf(W()), designed);
  EXPECT_EQ(W().cboShown.Selected(), app::kShownDefault);
  CloseDraws();
  EXPECT_TRUE(Notices().empty()) << Notices().front();
}

}  // namespace
