// 历史验证 opened from the conditions window over the kept draws, on every
// backend: when it may be opened, what it sums up, and the text it saves.
#include <algorithm>
#include <string>
#include <vector>

#include "app/backtest_form.h"
#include "draws/draws.h"
#include "filter_window.h"

namespace {

class BacktestWindow : public FilterWindow {
 protected:
  // 40 draws: ten with a 0 first, then 111 but 505 every fifth.
  void KeepDraws() {
    std::vector<numbers::Draw> draws;
    for (int i = 0; i < 40; ++i) {
      const int number = i < 10 ? 100 : i % 5 == 4 ? 505 : 111;
      draws.push_back({static_cast<std::uint32_t>(2024001 + i), 7, "", number});
    }
    Data().Write(std::string(numbers::kDrawsFileName), numbers::DrawsFileBytes(draws));
  }
  // Opens 历史验证 from the conditions window and runs `inside` there; it closes it.
  void InBacktest(const std::function<void(TFormBacktest&)>& inside) {
    ASSERT_TRUE(D("btnFilterBacktest").Enabled());
    Answering({[&] {
                ASSERT_NE(W().FormBacktest, nullptr);
                inside(*W().FormBacktest);
                User().Click(W().FormBacktest->Find("btnBacktestClose"));
              }},
              [&] { Tap("btnFilterBacktest"); });
    EXPECT_EQ(W().FormBacktest, nullptr);
  }
};

TEST_F(BacktestWindow, TheButtonWantsAKeptDrawAndValidConditions) {
  AddNumbers(true, {"123"});
  InWindow({[&] {
    EXPECT_FALSE(D("btnFilterBacktest").Enabled());
    Retype("edtKill", "0");
    EXPECT_FALSE(D("btnFilterBacktest").Enabled());  // no draw kept
    Tap("btnFilterCancel");
  }});
  KeepDraws();
  InWindow({[&] {
    EXPECT_TRUE(D("btnFilterBacktest").Enabled());
    Retype("edtKill", "a");
    EXPECT_FALSE(D("btnFilterBacktest").Enabled());
    Retype("edtKill", "0");
    Retype("edtTolerance", "1");  // one condition ticked: 容错 must be 0
    EXPECT_FALSE(D("btnFilterBacktest").Enabled());
    Retype("edtTolerance", "");
    EXPECT_TRUE(D("btnFilterBacktest").Enabled());
    Tap("btnFilterCancel");
  }});
  EXPECT_EQ(Lines("mmoList"), std::vector<std::string>{"123"});
}

TEST_F(BacktestWindow, TheSummaryFollowsTheSpanAndTheLatestRowIsShown) {
  KeepDraws();
  AddNumbers(true, {"123"});
  InWindow({[&] {
    Retype("edtKill", "0");
    InBacktest([&](TFormBacktest& b) {
      EXPECT_EQ(b.Window().Text(), "历史验证");
      EXPECT_EQ(b.lblBacktestConditions.Text(), "已选条件：杀码 0；处理方式：保留符合条件的号码");
      // 近 100 期 holds the 40 kept.
      EXPECT_EQ(b.cboBacktestShown.Text(), "近 100 期");
      EXPECT_EQ(b.lblBacktestSummary.Text(),
                "近 40 期：保留开奖号码 24 期（60%），最长连续未保留 10 期；平均每期保留 729 注，"
                "金额 1458 元");
      User().Choose(b.cboBacktestShown, 0);
      EXPECT_EQ(b.lblBacktestSummary.Text(),
                "近 30 期：保留开奖号码 24 期（80%），最长连续未保留 1 期；平均每期保留 729 注，"
                "金额 1458 元");
      // The latest row is on screen, 505 not kept for 杀码.
      const tk::CanvasFrame& frame = b.cnvBacktest.Frame();
      std::vector<std::string> shown;
      for (const tk::DrawOp& op : frame.scrolled) shown.push_back(op.text);
      const auto latest = std::find(shown.begin(), shown.end(), "2024040");
      ASSERT_NE(latest, shown.end());
      EXPECT_EQ(std::vector<std::string>(latest, latest + 5),
                (std::vector<std::string>{"2024040", "505", "未保留", "杀码", "729"}));
      EXPECT_EQ(std::find(shown.begin(), shown.end(), "2024001"), shown.end());
      User().Choose(b.cboBacktestShown, 3);
      EXPECT_EQ(b.Result().rows.size(), 40u);
    });
    Tap("btnFilterCancel");
  }});
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(BacktestWindow, SavedAsTextEveryRowOfTheSpan) {
  KeepDraws();
  AddNumbers(true, {"123"});
  const testsupport::TempFolder elsewhere;
  InWindow({[&] {
    Retype("edtKill", "0");
    Tap("rdoDrop");
    InBacktest([&](TFormBacktest& b) {
      User().Choose(b.cboBacktestShown, 0);
      Rec().dialogAnswers = {elsewhere.PathOf("验证.txt")};
      User().Click(b.Find("btnBacktestSave"));
      ASSERT_EQ(Rec().dialogs.size(), 1u);
      EXPECT_TRUE(Rec().dialogs.back().save);
      EXPECT_EQ(Rec().dialogs.back().fileName, "历史验证.txt");
    });
    Tap("btnFilterCancel");
  }});
  const std::string text = elsewhere.Read("验证.txt");
  // Drop mode: the draws with a 0 are the ones kept.
  const std::string head =
      "\xEF\xBB\xBF历史验证\r\n已选条件：杀码 0；处理方式：删除符合条件的号码\r\n"
      "近 30 期：保留开奖号码 6 期（20%），最长连续未保留 4 期；平均每期保留 271 注，金额 542 "
      "元\r\n\r\n期号\t开奖号码\t结果\t未符合的条件\t保留注数\r\n"
      "2024011\t111\t未保留\t\t271\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_TRUE(text.ends_with("2024039\t111\t未保留\t\t271\r\n2024040\t505\t保留\t杀码\t271\r\n"));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5 + 30);
  EXPECT_EQ(Lines("mmoList"), std::vector<std::string>{"123"});
}

}  // namespace
