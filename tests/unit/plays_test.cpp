// The plays against their definitions, written out plainly over 000-999:
// every digit set, every 胆/拖 pair that can make bets, every sum and span.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "lists/lists.h"
#include "plays/plays.h"

namespace {

using plays::Play;
using Lines = std::vector<std::string>;

bool Has(unsigned set, int d) {
  return (set >> d & 1u) != 0;
}

// The numbers 000-999 that `keep` picks from their digits, ascending; for
// 组选 only the groups written ascending (a <= b <= c), never three alike.
Lines Model(bool group, const std::function<bool(int, int, int)>& keep) {
  Lines out;
  for (int a = 0; a < 10; ++a) {
    for (int b = 0; b < 10; ++b) {
      for (int c = 0; c < 10; ++c) {
        if (group && !(a <= b && b <= c && a != c)) continue;
        if (keep(a, b, c)) out.push_back(std::to_string(a) + std::to_string(b) + std::to_string(c));
      }
    }
  }
  return out;
}

// What the definitions say a play makes, for inputs they accept.
Lines Expected(Play play, unsigned digits, unsigned tuo, unsigned values) {
  auto all = [&](int a, int b, int c) {
    return Has(digits, a) && Has(digits, b) && Has(digits, c);
  };
  auto pair = [](int a, int b, int c) { return a == b || b == c; };  // ascending, not 豹子
  switch (play) {
    case Play::kDirectSum:
      return Model(false, [&](int a, int b, int c) { return Has(values, a + b + c); });
    case Play::kDirectSpan:
      return Model(false, [&](int a, int b, int c) {
        return Has(values, std::max({a, b, c}) - std::min({a, b, c}));
      });
    case Play::kDirectCombo:
      return Model(false,
                   [&](int a, int b, int c) { return a != b && b != c && a != c && all(a, b, c); });
    case Play::kGroupSum:
      return Model(true, [&](int a, int b, int c) { return Has(values, a + b + c); });
    case Play::kZu3:
      return Model(true, [&](int a, int b, int c) { return pair(a, b, c) && all(a, b, c); });
    case Play::kZu6:
      return Model(true, [&](int a, int b, int c) { return !pair(a, b, c) && all(a, b, c); });
    case Play::kGroupPack:
      return Model(true, all);
    case Play::kZu3DanTuo:
      return Model(true, [&](int a, int b, int c) {
        if (!pair(a, b, c)) return false;
        const int x = a, y = c;  // the two digits of aab or abb
        return (Has(digits, x) && Has(tuo, y)) || (Has(digits, y) && Has(tuo, x));
      });
    case Play::kZu6DanTuo:
      return Model(true, [&](int a, int b, int c) {
        if (pair(a, b, c)) return false;
        unsigned rest = digits;
        for (int d : {a, b, c}) {
          if (Has(digits, d)) {
            rest &= ~(1u << d);
          } else if (!Has(tuo, d)) {
            return false;
          }
        }
        return rest == 0;
      });
  }
  return {};
}

void ExpectMakes(Play play, const plays::Inputs& in, const Lines& want) {
  const auto lines = plays::LinesOf(play, in);
  const auto count = plays::CountOf(play, in);
  ASSERT_TRUE(lines.Ok()) << lines.refusal;
  ASSERT_TRUE(count.Ok()) << count.refusal;
  EXPECT_EQ(lines.value, want);
  EXPECT_EQ(count.value, static_cast<long long>(want.size()));
}

void ExpectRefused(Play play, const plays::Inputs& in, std::string_view names) {
  const auto lines = plays::LinesOf(play, in);
  const auto count = plays::CountOf(play, in);
  EXPECT_FALSE(lines.Ok());
  EXPECT_FALSE(count.Ok());
  EXPECT_EQ(lines.refusal, count.refusal);
  // Says which input and gives an example.
  EXPECT_NE(count.refusal.find(names), std::string::npos) << count.refusal;
  EXPECT_NE(count.refusal.find("如 "), std::string::npos) << count.refusal;
}

plays::Inputs Digits(unsigned digits, unsigned tuo = 0) {
  return {digits, tuo, {}};
}

TEST(Plays, DigitPlaysOverEveryDigitSet) {
  struct Case {
    Play play;
    int least;
  };
  for (const Case c : {Case{Play::kDirectCombo, 3}, Case{Play::kZu3, 2}, Case{Play::kZu6, 3},
                       Case{Play::kGroupPack, 2}}) {
    const std::string_view name = plays::InfoOf(c.play).name;
    for (unsigned set = 0; set < 1024; ++set) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(set));
      if (std::popcount(set) < c.least) {
        ExpectRefused(c.play, Digits(set), name);
      } else {
        ExpectMakes(c.play, Digits(set), Expected(c.play, set, 0, 0));
      }
      // A 拖码 left over from a 胆拖 play changes nothing here.
      if (set == 0x3FF) ExpectMakes(c.play, Digits(set, 0x3FF), Expected(c.play, set, 0, 0));
    }
  }
}

TEST(Plays, DanTuoOverEveryPair) {
  for (unsigned dan = 0; dan < 1024; ++dan) {
    const int d = std::popcount(dan);
    for (unsigned tuo = 0; tuo < 1024; ++tuo) {
      const int t = std::popcount(tuo);
      const bool both = (dan & tuo) != 0;
      SCOPED_TRACE(std::to_string(dan) + "/" + std::to_string(tuo));
      // Every pair for the 胆 sizes a play takes; the others with a few 拖.
      const bool few = tuo == 0 || tuo == (~dan & 0x3FFu) || tuo == 0x3FF;
      if (d == 1 || few) {
        if (d == 1 && !both && t >= 1) {
          ExpectMakes(Play::kZu3DanTuo, Digits(dan, tuo), Expected(Play::kZu3DanTuo, dan, tuo, 0));
        } else {
          ExpectRefused(Play::kZu3DanTuo, Digits(dan, tuo), both ? "拖码" : "组三胆拖");
        }
      }
      if (d == 1 || d == 2 || few) {
        if ((d == 1 || d == 2) && !both && d + t >= 3) {
          ExpectMakes(Play::kZu6DanTuo, Digits(dan, tuo), Expected(Play::kZu6DanTuo, dan, tuo, 0));
        } else {
          ExpectRefused(Play::kZu6DanTuo, Digits(dan, tuo), both ? "拖码" : "组六胆拖");
        }
      }
    }
  }
}

// "0,2-4,9" for the values of a set, as a user writes them.
std::string Written(unsigned values) {
  std::string out;
  for (int v = 0; v < 28; ++v) {
    if (!Has(values, v)) continue;
    int end = v;
    while (end + 1 < 28 && Has(values, end + 1)) ++end;
    if (!out.empty()) out += ",";
    out += std::to_string(v);
    if (end > v) out += "-" + std::to_string(end);
    v = end;
  }
  return out;
}

TEST(Plays, EverySumAndSpan) {
  for (int v = 0; v < 30; ++v) {
    const plays::Inputs in{0, 0, std::to_string(v)};
    const unsigned bit = v < 32 ? 1u << v : 0;
    if (v <= 27) {
      ExpectMakes(Play::kDirectSum, in, Expected(Play::kDirectSum, 0, 0, bit));
    } else {
      ExpectRefused(Play::kDirectSum, in, "和值");
    }
    if (v >= 1 && v <= 26) {
      ExpectMakes(Play::kGroupSum, in, Expected(Play::kGroupSum, 0, 0, bit));
    } else {
      ExpectRefused(Play::kGroupSum, in, "组选和值");
    }
    if (v <= 9) {
      ExpectMakes(Play::kDirectSpan, in, Expected(Play::kDirectSpan, 0, 0, bit));
    } else {
      ExpectRefused(Play::kDirectSpan, in, "跨度");
    }
  }
  // Every set of spans, and sets of sums, written with ranges.
  for (unsigned spans = 1; spans < 1024; ++spans) {
    ExpectMakes(Play::kDirectSpan, {0, 0, Written(spans)},
                Expected(Play::kDirectSpan, 0, 0, spans));
  }
  std::mt19937 random(7);
  for (int i = 0; i < 300; ++i) {
    const unsigned sums = random() & 0x7FFFFFEu;  // 1-26
    if (sums == 0) continue;
    ExpectMakes(Play::kDirectSum, {0, 0, Written(sums)}, Expected(Play::kDirectSum, 0, 0, sums));
    ExpectMakes(Play::kGroupSum, {0, 0, Written(sums)}, Expected(Play::kGroupSum, 0, 0, sums));
  }
  for (std::string_view blank : {"", " ", "，"}) {
    ExpectRefused(Play::kDirectSum, {0, 0, std::string(blank)}, "和值");
  }
}

TEST(Plays, ReferenceFigures) {
  auto count = [](Play p, const plays::Inputs& in) { return plays::CountOf(p, in).value; };
  auto set = [](std::string_view digits) {
    unsigned s = 0;
    for (char c : digits) s |= 1u << (c - '0');
    return s;
  };
  EXPECT_EQ(count(Play::kDirectSum, {0, 0, "13"}), 75);
  EXPECT_EQ(count(Play::kDirectSum, {0, 0, "0"}), 1);
  EXPECT_EQ(count(Play::kDirectSpan, {0, 0, "5"}), 150);
  EXPECT_EQ(count(Play::kDirectSpan, {0, 0, "0"}), 10);
  EXPECT_EQ(count(Play::kDirectCombo, Digits(set("1234"))), 24);
  EXPECT_EQ(count(Play::kGroupSum, {0, 0, "13"}), 15);
  EXPECT_EQ(count(Play::kZu3, Digits(set("12345"))), 20);
  EXPECT_EQ(count(Play::kZu6, Digits(set("12345"))), 10);
  EXPECT_EQ(count(Play::kZu6, Digits(0x3FF)), 120);
  EXPECT_EQ(count(Play::kGroupPack, Digits(set("1234"))), 16);
  EXPECT_EQ(count(Play::kZu3DanTuo, Digits(set("1"), set("2345"))), 8);
  EXPECT_EQ(count(Play::kZu6DanTuo, Digits(set("1"), set("2345"))), 6);
  EXPECT_EQ(count(Play::kZu6DanTuo, Digits(set("12"), set("345"))), 3);
  const auto sum13 = plays::LinesOf(Play::kGroupSum, {0, 0, "13"}).value;
  EXPECT_EQ(std::count_if(sum13.begin(), sum13.end(),
                          [](const std::string& l) { return l[0] == l[1] || l[1] == l[2]; }),
            5);
  EXPECT_EQ(plays::LinesOf(Play::kZu3DanTuo, Digits(set("1"), set("23"))).value,
            (Lines{"112", "113", "122", "133"}));
}

TEST(Plays, ValuesAsUsersWriteThem) {
  auto read = [](std::string_view text) {
    const auto r = plays::ReadValues(text, 0, 27, "bad");
    return r.Ok() ? r.value : 0u;
  };
  EXPECT_EQ(read("13"), 1u << 13);
  EXPECT_EQ(read(" 10-14,18 "), 0x1Fu << 10 | 1u << 18);
  EXPECT_EQ(read("１０－１４、１８"), 0x1Fu << 10 | 1u << 18);
  EXPECT_EQ(read("10 ~ 14；18"), 0x1Fu << 10 | 1u << 18);
  EXPECT_EQ(read("3 3 0-1"), 0xBu);
  for (std::string_view bad : {"", "28", "14-10", "1-2-3", "a", "-3", "3-", "1.5", "99999999999"}) {
    EXPECT_EQ(plays::ReadValues(bad, 0, 27, "bad").refusal, "bad") << bad;
  }
}

TEST(Plays, PlacingInTheBetList) {
  const numbers::BetType group = numbers::GroupBets(0);
  // Replacing takes the lines and their kind, whatever the list held.
  auto r = plays::Place({"123", "456"}, numbers::GroupBets(2), {"001"}, false, true);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.value.lines, Lines{"001"});
  EXPECT_EQ(r.value.type, numbers::kDirectBets);
  // Adding skips what is listed, once per line made, and keeps the order.
  r = plays::Place({"555", "heading", "123"}, numbers::kDirectBets, {"123", "124", "555", "999"},
                   false, false);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.value.lines, (Lines{"555", "heading", "123", "124", "999"}));
  EXPECT_EQ(r.value.skipped, 2u);
  EXPECT_EQ(plays::SkippedText(2), "已跳过 2 注重复号码");
  // A group is listed in any order of its digits; the list keeps its 豹子 count.
  r = plays::Place({"211"}, numbers::GroupBets(3), {"112", "122"}, true, false);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.value.lines, (Lines{"211", "122"}));
  EXPECT_EQ(r.value.type, numbers::GroupBets(3));
  // The kinds do not mix in a list that holds lines; an empty one takes either.
  EXPECT_NE(plays::Place({"123"}, numbers::kDirectBets, {"112"}, true, false).refusal.find("组选"),
            std::string::npos);
  EXPECT_FALSE(plays::Place({"112"}, group, {"123"}, false, false).Ok());
  r = plays::Place({}, numbers::GroupBets(4), {"123"}, false, false);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.value.type, numbers::kDirectBets);
  EXPECT_EQ(plays::Place({}, numbers::kDirectBets, {"112"}, true, false).value.type, group);
}

}  // namespace
