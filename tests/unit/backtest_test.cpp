// 历史验证 against a model written from docs/backtest.md: a few conditions
// worked out digit by digit, number by number, apart from the program.
#include "conditions/backtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

using numbers::BacktestDraw;
using numbers::FilterSettings;

// A dozen draws with a 期号 missing (2024008) and repeats between neighbours.
const std::vector<BacktestDraw> kHistory = {{"2024001", 123}, {"2024002", 321}, {"2024003", 458},
                                            {"2024004", 455}, {"2024005", 99},  {"2024006", 909},
                                            {"2024007", 777}, {"2024009", 135}, {"2024010", 680},
                                            {"2024011", 246}, {"2024012", 112}, {"2024013", 129}};

int Digit(int n, int place) {
  return place == 0 ? n / 100 : place == 1 ? n / 10 % 10 : n % 10;
}
std::set<int> DigitSet(int n) {
  return {Digit(n, 0), Digit(n, 1), Digit(n, 2)};
}

// A condition of the model: its name and whether number n meets it, given
// the draw before (none on the first).
struct ModelCondition {
  std::string name;
  std::function<bool(int n, std::optional<int> before)> meets;
  bool repeat = false;
};

struct ModelRow {
  bool kept = false;
  bool repeatApplied = true;
  std::vector<std::string> failed;
  int keptCount = 0;
};

ModelRow Model(const std::vector<ModelCondition>& conditions, int tolerance, bool drop, int drawn,
               std::optional<int> before) {
  std::vector<const ModelCondition*> apply;
  ModelRow row;
  for (const ModelCondition& c : conditions) {
    if (c.repeat && !before) {
      row.repeatApplied = false;
      continue;
    }
    apply.push_back(&c);
  }
  auto fails = [&](int n) {
    int k = 0;
    for (const ModelCondition* c : apply) k += c->meets(n, before) ? 0 : 1;
    return k;
  };
  for (const ModelCondition* c : apply) {
    if (!c->meets(drawn, before)) row.failed.push_back(c->name);
  }
  if (apply.empty()) {
    row.kept = true;
    row.keptCount = 1000;
    return row;
  }
  row.kept = (fails(drawn) <= tolerance) != drop;
  for (int n = 0; n < 1000; ++n) row.keptCount += ((fails(n) <= tolerance) != drop) ? 1 : 0;
  return row;
}

// 和值 10-14, 跨度 3-7, 杀码 0, 重号 1 or 2 shared digits.
std::vector<ModelCondition> ModelConditions(bool withKill) {
  std::vector<ModelCondition> c;
  c.push_back({"和值", [](int n, auto) {
                 const int s = Digit(n, 0) + Digit(n, 1) + Digit(n, 2);
                 return s >= 10 && s <= 14;
               }});
  c.push_back({"跨度", [](int n, auto) {
                 const std::set<int> d = DigitSet(n);
                 const int span = *d.rbegin() - *d.begin();
                 return span >= 3 && span <= 7;
               }});
  if (withKill) c.push_back({"杀码", [](int n, auto) { return DigitSet(n).count(0) == 0; }});
  c.push_back({"重号",
               [](int n, std::optional<int> before) {
                 int shared = 0;
                 for (int d : DigitSet(n)) shared += DigitSet(*before).count(d) ? 1 : 0;
                 return shared == 1 || shared == 2;
               },
               true});
  return c;
}

FilterSettings Settings(bool withKill, const std::string& tolerance, bool drop) {
  FilterSettings s;
  s.sum = true, s.sumText = "10-14";
  s.span = true, s.spanText = "3-7";
  s.kill = withKill, s.killText = "0";
  s.repeat = true, s.repeatCounts = {false, true, true, false};
  s.toleranceText = tolerance;
  s.dropMatching = drop;
  s.repeatDraw = "999";  // the window's latest draw: not what a row compares with
  return s;
}

void ExpectModel(bool withKill, int tolerance, bool drop, int span) {
  SCOPED_TRACE(testing::Message() << "kill " << withKill << ", 容错 " << tolerance << ", drop "
                                  << drop << ", span " << span);
  const numbers::Backtest b =
      numbers::RunBacktest(Settings(withKill, std::to_string(tolerance), drop), kHistory, span);
  ASSERT_EQ(b.error, "");
  const std::size_t count = span <= 0 ? kHistory.size() : std::min<std::size_t>(span, 12);
  ASSERT_EQ(b.rows.size(), count);
  int kept = 0, run = 0, longest = 0;
  std::int64_t numbers = 0;
  for (std::size_t r = 0; r < count; ++r) {
    const std::size_t i = kHistory.size() - count + r;
    const std::optional<int> before =
        i == 0 ? std::nullopt : std::optional<int>(kHistory[i - 1].number);
    const ModelRow want =
        Model(ModelConditions(withKill), tolerance, drop, kHistory[i].number, before);
    const numbers::BacktestRow& got = b.rows[r];
    EXPECT_EQ(got.issue, kHistory[i].issue);
    EXPECT_EQ(got.kept, want.kept) << got.issue;
    EXPECT_EQ(got.repeatApplied, want.repeatApplied) << got.issue;
    EXPECT_EQ(std::vector<std::string>(got.failed.begin(), got.failed.end()), want.failed)
        << got.issue;
    EXPECT_EQ(got.keptCount, want.keptCount) << got.issue;
    kept += want.kept;
    run = want.kept ? 0 : run + 1;
    longest = std::max(longest, run);
    numbers += want.keptCount;
  }
  EXPECT_EQ(b.keptDraws, kept);
  EXPECT_EQ(b.longestMissRun, longest);
  EXPECT_EQ(b.keptNumbers, numbers);
}

TEST(Backtest, MatchesTheModelInBothModesWithAndWithoutTolerance) {
  for (bool drop : {false, true}) {
    for (int tolerance : {0, 1}) {
      for (int span : {0, 5}) ExpectModel(true, tolerance, drop, span);
      ExpectModel(false, tolerance, drop, 0);
    }
  }
  // Keep mode, 容错 1: the first draw leaves 重号 out and says so.
  const numbers::Backtest b = numbers::RunBacktest(Settings(true, "1", false), kHistory, 0);
  EXPECT_FALSE(b.rows.front().repeatApplied);
  EXPECT_TRUE(b.rows[1].repeatApplied);
  // 123: 和值 6, 跨度 2.
  EXPECT_EQ(numbers::FailedText(b.rows.front()), "和值 跨度 重号不适用（无上一期）");
  // The span of 5 still compares its first row with the draw before it.
  const numbers::Backtest last = numbers::RunBacktest(Settings(true, "1", false), kHistory, 5);
  EXPECT_TRUE(last.rows.front().repeatApplied);
}

TEST(Backtest, NothingApplyingKeepsEveryNumberAndInvalidSettingsAreRefused) {
  FilterSettings only;
  only.repeat = true;
  only.repeatCounts = {true, false, false, false};
  for (bool drop : {false, true}) {
    only.dropMatching = drop;
    const numbers::Backtest b = numbers::RunBacktest(only, kHistory, 0);
    EXPECT_TRUE(b.rows[0].kept);
    EXPECT_EQ(b.rows[0].keptCount, 1000);
    // 321 shares all three digits with 123; none shared: the 7 x 7 x 7 numbers without 1, 2, 3.
    EXPECT_EQ(b.rows[1].keptCount, drop ? 1000 - 343 : 343);
    EXPECT_EQ(b.rows[1].kept, drop);
  }
  EXPECT_EQ(numbers::RunBacktest(FilterSettings{}, kHistory, 30).keptNumbers, 12 * 1000);

  FilterSettings bad = Settings(false, "3", false);  // three ticked: 容错 at most 2
  EXPECT_EQ(numbers::RunBacktest(bad, kHistory, 0).error, numbers::ToleranceInvalidText(3));
  bad.toleranceText = "2";
  bad.sumText = "28";
  EXPECT_EQ(numbers::RunBacktest(bad, kHistory, 0).error, numbers::kSumInvalid);
  EXPECT_TRUE(numbers::RunBacktest(bad, kHistory, 0).rows.empty());
}

TEST(Backtest, SummaryRoundingAndTheTextFile) {
  numbers::Backtest b;
  b.rows.resize(100);
  b.keptDraws = 63;
  b.longestMissRun = 5;
  b.keptNumbers = 41200;
  EXPECT_EQ(numbers::BacktestSummary(b),
            "近 100 期：保留开奖号码 63 期（63%），最长连续未保留 5 期；平均每期保留 412 注，金额 "
            "824 元");
  b.rows.resize(8);
  b.keptDraws = 1;       // 12.5 %
  b.keptNumbers = 3300;  // 412.5
  EXPECT_EQ(numbers::BacktestSummary(b),
            "近 8 期：保留开奖号码 1 期（13%），最长连续未保留 5 期；平均每期保留 413 注，金额 "
            "826 元");
  EXPECT_EQ(numbers::BacktestPercent(199, 200), 99);
  EXPECT_EQ(numbers::BacktestPercent(1, 200), 1);
  EXPECT_EQ(numbers::BacktestPercent(0, 200), 0);
  EXPECT_EQ(numbers::BacktestPercent(200, 200), 100);
  EXPECT_EQ(numbers::BacktestPercent(2, 3), 67);

  const FilterSettings s = Settings(false, "", true);
  const numbers::Backtest two = numbers::RunBacktest(s, kHistory, 2);
  const std::string conditions = numbers::BacktestConditionsText(s);
  EXPECT_EQ(conditions, "已选条件：和值 10-14；跨度 3-7；重号 1、2；处理方式：删除符合条件的号码");
  const std::string head = "\xEF\xBB\xBF历史验证\r\n" + conditions + "\r\n" +
                           numbers::BacktestSummary(two) +
                           "\r\n\r\n期号\t开奖号码\t结果\t未符合的条件\t保留注数\r\n";
  const std::string bytes = numbers::BacktestFileBytes(two, conditions);
  ASSERT_EQ(bytes.substr(0, head.size()), head);
  // 112 after 246: shares 2; 和值 4, 跨度 1. 129 after 112: shares 1 and 2; 和值 12, 跨度 8.
  EXPECT_EQ(bytes.substr(head.size()),
            "2024012\t112\t保留\t和值 跨度\t" + std::to_string(two.rows[0].keptCount) +
                "\r\n2024013\t129\t保留\t跨度\t" + std::to_string(two.rows[1].keptCount) + "\r\n");
}

}  // namespace
