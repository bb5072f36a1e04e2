#include "numbers/filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using numbers::FilterSettings;
using Strings = std::vector<std::string>;

Strings AllNumbers() {
  Strings all;
  for (int n = 0; n < 1000; ++n) {
    std::string s = std::to_string(n);
    all.push_back(std::string(3 - s.size(), '0') + s);
  }
  return all;
}

// How many of the 1,000 numbers meet, through the path the window takes.
int Meeting(const FilterSettings& s) {
  const auto filter = numbers::CompileFilter(s);
  EXPECT_EQ(filter.error, "");
  const auto go = numbers::LinesThatGo(AllNumbers(), filter, true);
  return static_cast<int>(std::count(go.begin(), go.end(), true));
}

FilterSettings Sum(std::string text) {
  FilterSettings s;
  s.sum = true;
  s.sumText = std::move(text);
  return s;
}

TEST(Filter, ReferenceCountsOverAllNumbers) {
  FilterSettings s;
  EXPECT_EQ(Meeting(Sum("13")), 75);
  EXPECT_EQ(Meeting(Sum("0")), 1);
  EXPECT_EQ(Meeting(Sum("27")), 1);
  s = {}, s.span = true, s.spanText = "0";
  EXPECT_EQ(Meeting(s), 10);
  s.spanText = "9";
  EXPECT_EQ(Meeting(s), 54);
  s = {}, s.tail = true, s.tailText = "0";
  EXPECT_EQ(Meeting(s), 100);
  s = {}, s.shape = true, s.baozi = true;
  EXPECT_EQ(Meeting(s), 10);
  s.baozi = false, s.zu3 = true;
  EXPECT_EQ(Meeting(s), 270);
  s.zu3 = false, s.zu6 = true;
  EXPECT_EQ(Meeting(s), 720);
  s = {}, s.odd = true, s.oddRatios = {true, false, false, false};
  EXPECT_EQ(Meeting(s), 125);
  s.oddRatios = {false, true, false, false};
  EXPECT_EQ(Meeting(s), 375);
  s = {}, s.big = true, s.bigRatios = {false, false, true, false};  // 1:2
  EXPECT_EQ(Meeting(s), 375);
  s = {}, s.road = true, s.roadText = "1:1:1";
  EXPECT_EQ(Meeting(s), 216);
  s = {}, s.dan = true, s.danText = "1";
  EXPECT_EQ(Meeting(s), 271);
  s = {}, s.kill = true, s.killText = "1";
  EXPECT_EQ(Meeting(s), 729);
  EXPECT_EQ(numbers::ToGroups(AllNumbers()).size(), 210u);
  EXPECT_EQ(numbers::ExpandGroups(numbers::ToGroups(AllNumbers())).size(), 990u);
}

// The definitions written out plainly, one number at a time.
struct Plain {
  int a, b, c;
  explicit Plain(int n) : a(n / 100), b(n / 10 % 10), c(n % 10) {}
  int Sum() const { return a + b + c; }
  int Span() const { return std::max({a, b, c}) - std::min({a, b, c}); }
  bool Zu3() const { return !(a == b && b == c) && (a == b || b == c || a == c); }
  int Count(const std::function<bool(int)>& pred) const { return pred(a) + pred(b) + pred(c); }
  bool Has(int d) const { return a == d || b == d || c == d; }
};

void ExpectSameAsPlain(const FilterSettings& s, const std::function<bool(const Plain&)>& plain) {
  const auto filter = numbers::CompileFilter(s);
  ASSERT_EQ(filter.error, "");
  int meeting = 0;
  for (int n = 0; n < 1000; ++n) {
    EXPECT_EQ(filter.meets[static_cast<std::size_t>(n)], plain(Plain(n))) << n;
    meeting += plain(Plain(n));
  }
  EXPECT_GT(meeting, 0);  // a combination nothing meets would prove little
}

TEST(Filter, CombinedConditionsAgreeWithThePlainDefinitions) {
  FilterSettings s = Sum("10-14，18");
  s.shape = true, s.zu3 = true, s.zu6 = true;
  s.kill = true, s.killText = "0 9";
  ExpectSameAsPlain(s, [](const Plain& p) {
    const int sum = p.Sum();
    return ((sum >= 10 && sum <= 14) || sum == 18) && !(p.a == p.b && p.b == p.c) && !p.Has(0) &&
           !p.Has(9);
  });

  s = {}, s.span = true, s.spanText = "2-5";
  s.tail = true, s.tailText = "1、3 5";
  s.odd = true, s.oddRatios = {true, true, false, false};
  s.big = true, s.bigRatios = {false, false, true, false};
  ExpectSameAsPlain(s, [](const Plain& p) {
    const int odd = p.Count([](int d) { return d % 2 == 1; });
    const int big = p.Count([](int d) { return d >= 5; });
    const int tail = p.Sum() % 10;
    return p.Span() >= 2 && p.Span() <= 5 && (tail == 1 || tail == 3 || tail == 5) &&
           (odd == 3 || odd == 2) && big == 1;
  });

  s = {}, s.road = true, s.roadText = "2:0:1 1：2：0";
  s.dan = true, s.danText = "3,7,3";
  ExpectSameAsPlain(s, [](const Plain& p) {
    const int r0 = p.Count([](int d) { return d % 3 == 0; });
    const int r1 = p.Count([](int d) { return d % 3 == 1; });
    const int r2 = p.Count([](int d) { return d % 3 == 2; });
    return ((r0 == 2 && r1 == 0 && r2 == 1) || (r0 == 1 && r1 == 2 && r2 == 0)) &&
           (p.Has(3) || p.Has(7));
  });

  s = {}, s.dan = true, s.danText = "12";
  s.shape = true, s.zu3 = true;
  ExpectSameAsPlain(s, [](const Plain& p) { return (p.Has(1) || p.Has(2)) && p.Zu3(); });
}

// The sums a 和值 text stands for.
std::set<int> SumsOf(const std::string& text) {
  const auto filter = numbers::CompileFilter(Sum(text));
  EXPECT_EQ(filter.error, "") << text;
  std::set<int> sums;
  for (int n = 0; n < 1000; ++n) {
    if (filter.meets[static_cast<std::size_t>(n)]) sums.insert(Plain(n).Sum());
  }
  return sums;
}

TEST(Filter, InputsTakeRangesSeparatorsAndFullwidthForms) {
  const std::set<int> want = {10, 11, 12, 13, 14, 18};
  for (const char* text :
       {"10-14,18", "18,10-14", "10-14 18", "10-14、18", "１０－１４，１８", "10 - 14　18",
        "10~14,18", "10～14 ,, 18 ", "10–14,18", "10-12,11-14,18,18", " 010-14,18"}) {
    EXPECT_EQ(SumsOf(text), want) << text;
  }
  EXPECT_EQ(SumsOf("0 27"), (std::set<int>{0, 27}));
  EXPECT_EQ(SumsOf("5-5"), std::set<int>{5});

  FilterSettings s;
  s.road = true, s.roadText = "1：1：1，0 : 0 : 3";
  EXPECT_EQ(Meeting(s), 216 + 27);
  s = {}, s.dan = true, s.danText = "１、1,1 ２";
  EXPECT_EQ(Meeting(s), 1000 - 512);  // holds 1 or 2
  s.danAll = true;
  EXPECT_EQ(Meeting(s), 3 + 3 + 6 * 8);  // 112, 122 and 12x for the 8 other digits
}

TEST(Filter, EachInvalidInputNamesItsCondition) {
  auto error = [](const FilterSettings& s) { return numbers::CompileFilter(s).error; };
  for (const char* text : {"28", "a", "14-10", "10-", "-5", "", " ,、", "10-14-18", "1.5", "10x",
                           "99999999999", "1\xFF"}) {
    EXPECT_EQ(error(Sum(text)), numbers::kSumInvalid) << text;
  }
  FilterSettings s;
  s.span = true, s.spanText = "10";
  EXPECT_EQ(error(s), numbers::kSpanInvalid);
  s = {}, s.tail = true, s.tailText = "0-10";
  EXPECT_EQ(error(s), numbers::kTailInvalid);
  s = {}, s.shape = true;
  EXPECT_EQ(error(s), numbers::kShapeInvalid);
  s = {}, s.odd = true;
  EXPECT_EQ(error(s), numbers::kOddInvalid);
  s = {}, s.big = true;
  EXPECT_EQ(error(s), numbers::kBigInvalid);
  for (const char* text :
       {"1:1:2", "1:1", "111", "", "1:1:1:0", "1:1:1-2:1:0", "a:1:2", "4:0:-1"}) {
    s = {}, s.road = true, s.roadText = text;
    EXPECT_EQ(error(s), numbers::kRoadInvalid) << text;
  }
  for (const char* text : {"a", "", "1-3", "，"}) {
    s = {}, s.dan = true, s.danText = text;
    EXPECT_EQ(error(s), numbers::kDanInvalid) << text;
    s = {}, s.kill = true, s.killText = text;
    EXPECT_EQ(error(s), numbers::kKillInvalid) << text;
  }

  // Unticked inputs are not read; of several invalid ticked ones the first speaks.
  s = Sum("13");
  s.spanText = "x", s.roadText = "x";
  EXPECT_EQ(error(s), "");
  s.kill = true, s.killText = "x";
  s.big = true;
  EXPECT_EQ(error(s), numbers::kBigInvalid);
  s.sumText = "28";
  EXPECT_EQ(error(s), numbers::kSumInvalid);
  EXPECT_TRUE(numbers::CompileFilter(s).meets.none());
}

TEST(Filter, ModesDecideWhatGoesAndOtherLinesMeetNothing) {
  const Strings lines = {"123", "abc", "12", "1234", "６", "051", "111", " 123", ""};
  const auto filter = numbers::CompileFilter(Sum("6"));  // 123, 051
  using Go = std::vector<bool>;
  EXPECT_EQ(numbers::LinesThatGo(lines, filter, false),
            (Go{false, true, true, true, true, false, true, true, true}));
  EXPECT_EQ(numbers::LinesThatGo(lines, filter, true),
            (Go{true, false, false, false, false, true, false, false, false}));
  auto counts = numbers::CountFilter(lines, filter, false);
  EXPECT_EQ(counts.lines, 9);
  EXPECT_EQ(counts.meeting, 2);
  EXPECT_EQ(counts.going, 7);
  EXPECT_EQ(numbers::CountFilter(lines, filter, true).going, 2);

  // Nothing ticked, or an error: nothing goes, in either mode.
  for (const auto& f : {numbers::CompileFilter({}), numbers::CompileFilter(Sum("x"))}) {
    for (bool drop : {false, true}) {
      EXPECT_EQ(numbers::LinesThatGo(lines, f, drop), Go(lines.size(), false));
      EXPECT_EQ(numbers::CountFilter(lines, f, drop).going, 0);
    }
  }
  EXPECT_FALSE(numbers::CompileFilter({}).anyTicked);
  EXPECT_EQ(numbers::CountFilter(lines, numbers::CompileFilter({}), true).meeting, 3);

  EXPECT_EQ(numbers::NumberOf("007"), 7);
  EXPECT_EQ(numbers::NumberOf("999"), 999);
  EXPECT_EQ(numbers::NumberOf("12a"), -1);
  EXPECT_EQ(numbers::FilterCountText(1000, 75, 925),
            "投注列表 1000 注，符合条件 75 注，将删除 925 注");
}

TEST(Groups, FirstOfEachGroupInOrderOfFirstAppearance) {
  EXPECT_EQ(numbers::ToGroups({"321", "abc", "213", "211", "111", "112", "x", "121", "x", "909"}),
            (Strings{"123", "abc", "112", "x", "x", "099"}));
  const Strings groups = numbers::ToGroups(AllNumbers());
  int zu3 = 0;
  for (const auto& g : groups) {
    EXPECT_TRUE(g[0] <= g[1] && g[1] <= g[2] && g[0] != g[2]) << g;
    zu3 += g[0] == g[1] || g[1] == g[2];
  }
  EXPECT_EQ(zu3, 90);
  EXPECT_EQ(std::set<std::string>(groups.begin(), groups.end()).size(), 210u);
  EXPECT_TRUE(std::is_sorted(groups.begin(), groups.end()));  // 000..999 meets each group sorted

  EXPECT_EQ(numbers::ExpandGroups({"321"}), (Strings{"123", "132", "213", "231", "312", "321"}));
  EXPECT_EQ(numbers::ExpandGroups({"211", "q", "111", "112", "121", "q"}),
            (Strings{"112", "121", "211", "q", "111", "q"}));
  const Strings expanded = numbers::ExpandGroups(groups);
  EXPECT_EQ(std::set<std::string>(expanded.begin(), expanded.end()).size(), 990u);
  EXPECT_EQ(numbers::ExpandGroups(AllNumbers()).size(), 1000u);
}

}  // namespace
