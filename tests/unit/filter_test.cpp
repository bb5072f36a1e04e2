#include "app/filter_table.h"
#include "conditions/condition_table.h"
#include "conditions/conditions.h"
#include "core/number.h"
#include "lists/groups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
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

TEST(Filter, ReferenceCountsOfTheAddedConditions) {
  FilterSettings s;
  s.pos = true, s.posHText = "12", s.posUText = "3";
  EXPECT_EQ(Meeting(s), 20);
  s.posHText = "1 2", s.posTText = "　";
  EXPECT_EQ(Meeting(s), 20);
  s = {}, s.pair = true, s.pairText = "12";
  EXPECT_EQ(Meeting(s), 54);
  s.pairText = "12 35";
  EXPECT_EQ(Meeting(s), 108);
  s.pairText = "77";
  EXPECT_EQ(Meeting(s), 28);  // 77x, 7x7, x77 for x != 7, and 777
  s = {}, s.pairDiff = true, s.pairDiffText = "0";
  EXPECT_EQ(Meeting(s), 280);
  s.pairDiffText = "9";
  EXPECT_EQ(Meeting(s), 54);
  s = {}, s.pairSum = true, s.pairSumText = "0";
  EXPECT_EQ(Meeting(s), 272);
  s = {}, s.prime = true;
  const int primes[] = {125, 375, 375, 125};
  for (std::size_t i = 0; i < 4; ++i) {
    s.primeRatios = {}, s.primeRatios[i] = true;
    EXPECT_EQ(Meeting(s), primes[i]) << i;
  }
  s = {}, s.run = true, s.runFull = true;
  EXPECT_EQ(Meeting(s), 48);
  s.runHalf = true, s.runNone = true;
  EXPECT_EQ(Meeting(s), 1000);
  s = {}, s.dzx = true, s.dzxText = "1:1:1";
  EXPECT_EQ(Meeting(s), 6 * 3 * 4 * 3);
  s = Sum("13"), s.span = true, s.spanText = "5", s.shape = true, s.zu6 = true;
  EXPECT_EQ(Meeting(s), 6);
  s.toleranceText = "0";
  EXPECT_EQ(Meeting(s), 6);
  s = {}, s.repeat = true, s.repeatDraw = "357";
  const int repeats[] = {343, 507, 144, 6};
  for (std::size_t i = 0; i < 4; ++i) {
    s.repeatCounts = {}, s.repeatCounts[i] = true;
    EXPECT_EQ(Meeting(s), repeats[i]) << i;
  }
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
  for (const char* text : {"10-14,18", "18,10-14", "10-14 18", "10-14、18", "１０－１４，１８",
                           "10 - 14　18", "10~14,18", "10～14 ,, 18 ", "10–14,18",
                           "10-12,11-14,18,18", " 010-14,18", "10\v-\f14；18"}) {
    EXPECT_EQ(SumsOf(text), want) << text;
  }
  // Every separator of the lists: semicolons, form feeds, a byte-order mark.
  for (const char* text : {"10;12", "10；12", "10\v\f12", "\uFEFF10 ;12"})
    EXPECT_EQ(SumsOf(text), (std::set<int>{10, 12})) << text;
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
                           "99999999999", "1\xFF",
                           "1\xA0"
                           "2"}) {
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

TEST(Filter, EachInvalidAddedInputNamesItsCondition) {
  auto error = [](const FilterSettings& s) { return numbers::CompileFilter(s).error; };
  FilterSettings s;
  for (const char* text : {"", " ", "a", "1-3", "1.0"}) {
    s = {}, s.pos = true, s.posTText = text;
    EXPECT_EQ(error(s), numbers::kPosInvalid) << text;
  }
  s.posTText = "", s.posHText = "1", s.posUText = "，";  // one good edit, one bad
  EXPECT_EQ(error(s), numbers::kPosInvalid);
  for (const char* text : {"", "1", "123", "1 2", "12-35", "12:35", "ab", "12,3"}) {
    s = {}, s.pair = true, s.pairText = text;
    EXPECT_EQ(error(s), numbers::kPairInvalid) << text;
  }
  for (const char* text : {"", "10", "x", "5-3"}) {
    s = {}, s.pairSum = true, s.pairSumText = text;
    EXPECT_EQ(error(s), numbers::kPairSumInvalid) << text;
    s = {}, s.pairDiff = true, s.pairDiffText = text;
    EXPECT_EQ(error(s), numbers::kPairDiffInvalid) << text;
  }
  s = {}, s.dzx = true, s.dzxText = "2:2:0";
  EXPECT_EQ(error(s), numbers::kDzxInvalid);
  s = {}, s.prime = true;
  EXPECT_EQ(error(s), numbers::kPrimeInvalid);
  s = {}, s.run = true;
  EXPECT_EQ(error(s), numbers::kRunInvalid);
  s = {}, s.repeat = true, s.repeatDraw = "357";
  EXPECT_EQ(error(s), numbers::kRepeatInvalid);
  s.repeatCounts[1] = true;
  for (const char* draw : {"", "35", "35x", "３５７"}) {
    s.repeatDraw = draw;
    EXPECT_EQ(error(s), numbers::kRepeatNoDraw) << draw;
  }

  // 容错 from 0 to the ticked conditions minus one; checked after every input.
  s = Sum("13"), s.kill = true, s.killText = "4";
  for (const char* text : {"", "0", "1", " １ "}) {
    s.toleranceText = text;
    EXPECT_EQ(error(s), "") << text;
  }
  for (const char* text : {"2", "-1", "1,", "1；", "x", "1 1", "99999999999"}) {
    s.toleranceText = text;
    EXPECT_EQ(error(s), "容错应为 0–1 之间的数（已选 2 个条件），如 1") << text;
  }
  s.kill = false;
  s.toleranceText = "1";
  EXPECT_EQ(error(s), "只选了 1 个条件，容错应为 0");
  s.sum = false;  // nothing ticked: 容错 is not read
  EXPECT_EQ(error(s), "");
  s.sum = true, s.run = true;
  EXPECT_EQ(error(s), numbers::kRunInvalid);
}

TEST(Filter, ToleranceCountsEachNumberByTheConditionsItMisses) {
  // 和值 13 (75 numbers), 跨度 5, 组六; 容错 1: numbers failing at most one.
  FilterSettings s = Sum("13");
  s.span = true, s.spanText = "5", s.shape = true, s.zu6 = true, s.toleranceText = "1";
  const auto filter = numbers::CompileFilter(s);
  ASSERT_EQ(filter.error, "");
  const Strings lines = {"139", "148", "427", "355", "000", "013", "xyz"};
  // 139: 13/8/组六 → misses 跨度; 148: 13/7; 427: 13/5/组六; 355: 13/2/组三;
  // 000: 0/0/豹子; 013: 4/3/组六.
  EXPECT_EQ(filter.misses[139], 1);
  EXPECT_EQ(filter.misses[148], 1);
  EXPECT_EQ(filter.misses[427], 0);
  EXPECT_EQ(filter.misses[355], 2);
  EXPECT_EQ(filter.misses[0], 3);
  EXPECT_EQ(filter.misses[13], 2);
  auto counts = numbers::CountFilter(lines, filter, false);
  EXPECT_EQ(counts.meeting, 3);
  EXPECT_EQ(counts.going, 4);
  EXPECT_EQ(numbers::FilterCountText(counts), "投注列表 7 注：全中 1 注，错一 2 注；将删除 4 注");
  s.toleranceText = "2";
  counts = numbers::CountFilter(lines, numbers::CompileFilter(s), true);
  EXPECT_EQ(numbers::FilterCountText(counts),
            "投注列表 7 注：全中 1 注，错一 2 注，错二 2 注；将删除 5 注");
  s.toleranceText = "0";
  counts = numbers::CountFilter(lines, numbers::CompileFilter(s), false);
  EXPECT_EQ(numbers::FilterCountText(counts), "投注列表 7 注，符合条件 1 注，将删除 6 注");

  // The highest 容错 spells its numeral right.
  s = {};
  for (std::size_t i = 0; i < 4; ++i) {
    s.odd = s.big = s.prime = true;
    s.oddRatios[i] = s.bigRatios[i] = s.primeRatios[i] = true;
  }
  s.run = true, s.runFull = s.runHalf = s.runNone = true;
  s.shape = true, s.baozi = s.zu3 = s.zu6 = true;
  for (bool* tick : {&s.sum, &s.span, &s.tail, &s.road, &s.dan, &s.kill, &s.pair, &s.pairSum,
                     &s.pairDiff, &s.dzx, &s.pos})
    *tick = true;
  s.sumText = "0", s.spanText = "0", s.tailText = "0", s.roadText = "3:0:0", s.danText = "0";
  s.killText = "1", s.pairText = "00", s.pairSumText = "0", s.pairDiffText = "0";
  s.dzxText = "0:0:3", s.posHText = "0";
  s.repeat = true, s.repeatDraw = "000", s.repeatCounts = {false, true, false, false};
  ASSERT_EQ(numbers::TickedCount(s), numbers::kConditionCount);
  s.toleranceText = "12";
  counts = numbers::CountFilter({"000"}, numbers::CompileFilter(s), false);
  EXPECT_EQ(counts.byMisses[0], 1);
  const std::string text = numbers::FilterCountText(counts);
  EXPECT_NE(text.find("，错十 0 注，错十一 0 注，错十二 0 注；"), std::string::npos) << text;
}

TEST(Filter, SummaryNamesTheTickedConditionsAsTheyRead) {
  FilterSettings s = Sum("18，10-12 13-14");
  s.shape = true, s.zu6 = true, s.kill = true, s.killText = "4", s.toleranceText = "1";
  s.span = false, s.spanText = "3";  // unticked: not named
  EXPECT_EQ(numbers::FilterSummary(s), "已选条件：和值 10-14,18；形态 组六；杀码 4；容错 1");
  s = {};
  EXPECT_EQ(numbers::FilterSummary(s), "已选条件：无");
  s.toleranceText = "2";  // 容错 alone is no condition
  EXPECT_EQ(numbers::FilterSummary(s), "已选条件：无");
  s.pos = true, s.posHText = "2 1", s.posUText = "3";
  s.pair = true, s.pairText = "53，12 21";
  s.odd = true, s.oddRatios = {false, true, true, false};
  s.dan = true, s.danText = "5 1", s.danAll = true;
  s.road = true, s.roadText = "0:1:2,1:1:1";
  s.run = true;
  s.sum = true, s.sumText = "1,2,4-5,28x\x01long long long";
  s.toleranceText = "0";
  EXPECT_EQ(numbers::FilterSummary(s),
            "已选条件：和值 1,2,4-5,28x\uFFFD…；奇偶比 2:1、1:2；012路比 1:1:1,0:1:2；"
            "胆码 1,5（全部包含）；定位 百位 12 个位 3；二码 12 35；连号 （未选）");
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

  EXPECT_EQ(core::ParseNumber("007"), 7);
  EXPECT_EQ(core::ParseNumber("999"), 999);
  EXPECT_EQ(core::ParseNumber("12a"), -1);
  EXPECT_EQ(numbers::FilterCountText(1000, 75, 925),
            "投注列表 1000 注，符合条件 75 注，将删除 925 注");
}

// The conditions' table and the window's table name the same controls: a box
// or input missing from a row would be neither read, counted nor saved.
TEST(Filter, EveryConditionControlOfTheWindowIsInOneRow) {
  using Kind = numbers::SettingControl::Kind;
  std::map<std::string_view, tk::Kind> named;  // by the rows
  auto name = [&named](std::string_view control, tk::Kind kind) {
    EXPECT_TRUE(named.emplace(control, kind).second) << control << " in two rows";
  };
  for (const numbers::Condition& c : numbers::Conditions()) {
    name(c.box, tk::Kind::CheckBox);
    for (const numbers::SettingControl& part : c.parts) {
      switch (part.kind) {
        case Kind::kInput:
          name(part.control, tk::Kind::Edit);
          break;
        case Kind::kBox:
          name(part.control, tk::Kind::CheckBox);
          break;
        case Kind::kOption:
          name(part.control, tk::Kind::Radio);
          name(part.other, tk::Kind::Radio);
          break;
      }
    }
  }
  std::size_t inWindow = 0;
  for (const tk::ControlSpec& control : app::FilterFormSpec().controls) {
    const bool input = control.kind == tk::Kind::CheckBox || control.kind == tk::Kind::Edit ||
                       control.kind == tk::Kind::Radio;
    if (!input || (control.parent != "grpFilter" && control.parent != "grpMore")) continue;
    ++inWindow;
    const auto row = named.find(control.name);
    ASSERT_NE(row, named.end()) << control.name << " is in no row";
    EXPECT_EQ(row->second, control.kind) << control.name;
  }
  EXPECT_EQ(inWindow, named.size());
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
