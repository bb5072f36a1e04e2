// Random combinations of every condition, both modes and 容错, against the
// definitions written out plainly, number by number.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <random>
#include <string>
#include <vector>

#include "conditions/conditions.h"

namespace {

using numbers::FilterSettings;

// What a random combination stands for, in plain sets.
struct Truth {
  std::bitset<28> sums, spans, tails, pairSums, pairDiffs;
  std::bitset<10> dan, kill, draw;
  std::array<std::bitset<10>, 3> pos;  // none set: any digit
  std::vector<std::array<int, 3>> roads, dzx;
  std::vector<std::array<int, 2>> pairs;
  int tolerance = 0;
};

class Maker {
 public:
  explicit Maker(unsigned seed) : rng_(seed) {}

  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Coin(int percent = 50) { return Int(0, 99) < percent; }

  // A digit, ASCII or fullwidth.
  std::string Digit(int d) {
    return Coin(80) ? std::string(1, static_cast<char>('0' + d))
                    : "\xEF\xBC" + std::string(1, static_cast<char>(0x90 + d));
  }
  std::string Number(int v) {
    std::string out;
    for (char c : std::to_string(v)) out += Digit(c - '0');
    return out;
  }
  std::string Separator() {
    static const char* kSeps[] = {",", " ", "、", "，", "　", " , ", "\t"};
    return kSeps[Int(0, 6)];
  }
  std::string Join(std::vector<std::string> tokens) {
    std::shuffle(tokens.begin(), tokens.end(), rng_);
    std::string out = Coin(10) ? " " : "";
    for (std::size_t i = 0; i < tokens.size(); ++i) out += (i ? Separator() : "") + tokens[i];
    return out;
  }

  // A non-empty set of values 0..max and a way to type it.
  template <std::size_t N>
  std::string Values(int max, std::bitset<N>& set) {
    const int chance = Int(5, 60);
    for (int v = 0; v <= max; ++v) set[v] = Coin(chance);
    if (set.none()) set[Int(0, max)] = true;
    static const char* kDashes[] = {"-", "－", "~", "～", "–", " - "};
    std::vector<std::string> tokens;
    for (int v = 0; v <= max; ++v) {
      if (!set[v]) continue;
      int end = v;
      while (end < max && set[end + 1]) ++end;
      if (end > v && Coin(70)) {
        tokens.push_back(Number(v) + kDashes[Int(0, 5)] + Number(end));
      } else {
        for (int w = v; w <= end; ++w) tokens.push_back(Number(w));
      }
      v = end;
    }
    if (Coin(20)) tokens.push_back(tokens.front());  // repeats are harmless
    return Join(tokens);
  }

  std::string Digits(std::bitset<10>& set) {
    for (int d = 0; d < 10; ++d) set[d] = Coin(25);
    if (set.none()) set[Int(0, 9)] = true;
    std::vector<std::string> tokens;
    for (int d = 0; d < 10; ++d) {
      if (set[d]) tokens.push_back(Digit(d));
    }
    if (Coin(50)) return Join(tokens);
    std::shuffle(tokens.begin(), tokens.end(), rng_);
    std::string out;
    for (const auto& t : tokens) out += t;
    return out;
  }

  std::string Patterns(std::vector<std::array<int, 3>>& set) {
    std::vector<std::string> tokens;
    for (int x = 0; x <= 3; ++x) {
      for (int y = 0; x + y <= 3; ++y) {
        if (!Coin(25) && !(x == 3 && set.empty() && tokens.empty())) continue;
        set.push_back({x, y, 3 - x - y});
        const char* colon = Coin(70) ? ":" : "：";
        tokens.push_back(Digit(x) + colon + Digit(y) + colon + Digit(3 - x - y));
      }
    }
    return Join(tokens);
  }

  std::string Pairs(std::vector<std::array<int, 2>>& set) {
    std::vector<std::string> tokens;
    const int n = Int(1, 4);
    for (int i = 0; i < n; ++i) {
      const int x = Int(0, 9), y = Coin(20) ? x : Int(0, 9);
      set.push_back({x, y});
      tokens.push_back(Digit(x) + Digit(y));
    }
    return Join(tokens);
  }

  template <std::size_t N>
  std::array<bool, N> Boxes() {
    std::array<bool, N> boxes{};
    for (auto& b : boxes) b = Coin(40);
    boxes[static_cast<std::size_t>(Int(0, N - 1))] = true;
    return boxes;
  }

 private:
  std::mt19937 rng_;
};

// A random combination: each condition ticked or not, unticked ones holding
// text that must not be read.
FilterSettings RandomSettings(Maker& m, Truth& t) {
  FilterSettings s;
  const int chance = m.Int(5, 45);
  auto tick = [&] { return m.Coin(chance); };
  s.sumText = "x", s.spanText = "x", s.tailText = "28", s.roadText = "9", s.danText = "q";
  s.killText = "q", s.posHText = "q", s.pairText = "1", s.pairSumText = "10";
  s.pairDiffText = "-", s.dzxText = "1:1", s.repeatDraw = "x";
  if ((s.sum = tick())) s.sumText = m.Values(27, t.sums);
  if ((s.span = tick())) s.spanText = m.Values(9, t.spans);
  if ((s.tail = tick())) s.tailText = m.Values(9, t.tails);
  if ((s.shape = tick())) {
    const auto b = m.Boxes<3>();
    s.baozi = b[0], s.zu3 = b[1], s.zu6 = b[2];
  }
  if ((s.odd = tick())) s.oddRatios = m.Boxes<4>();
  if ((s.big = tick())) s.bigRatios = m.Boxes<4>();
  if ((s.road = tick())) s.roadText = m.Patterns(t.roads);
  if ((s.dan = tick())) s.danText = m.Digits(t.dan);
  s.danAll = m.Coin();
  if ((s.kill = tick())) s.killText = m.Digits(t.kill);
  if ((s.pos = tick())) {
    std::string* texts[3] = {&s.posHText, &s.posTText, &s.posUText};
    const int surely = m.Int(0, 2);
    for (int i = 0; i < 3; ++i) {
      *texts[i] = i == surely || m.Coin() ? m.Digits(t.pos[i]) : (m.Coin() ? "" : "　 ");
    }
  }
  if ((s.pair = tick())) s.pairText = m.Pairs(t.pairs);
  if ((s.pairSum = tick())) s.pairSumText = m.Values(9, t.pairSums);
  if ((s.pairDiff = tick())) s.pairDiffText = m.Values(9, t.pairDiffs);
  if ((s.dzx = tick())) s.dzxText = m.Patterns(t.dzx);
  if ((s.prime = tick())) s.primeRatios = m.Boxes<4>();
  if ((s.run = tick())) {
    const auto b = m.Boxes<3>();
    s.runFull = b[0], s.runHalf = b[1], s.runNone = b[2];
  }
  if ((s.repeat = tick())) {
    s.repeatCounts = m.Boxes<4>();
    s.repeatDraw.clear();
    for (int i = 0; i < 3; ++i) {
      const int d = m.Int(0, 9);
      s.repeatDraw += static_cast<char>('0' + d);
      t.draw[d] = true;
    }
  }
  s.dropMatching = m.Coin();
  const int ticked = numbers::TickedCount(s);
  t.tolerance = ticked > 0 ? m.Int(0, std::min(ticked - 1, 3)) : 0;
  s.toleranceText = ticked > 0 ? (m.Coin(80) ? "" : " ") + m.Number(t.tolerance) : "x";
  if (t.tolerance == 0 && m.Coin(30)) s.toleranceText = "";
  return s;
}

// The conditions a number fails, by their definitions.
int Failures(const FilterSettings& s, const Truth& t, int n) {
  const int d[3] = {n / 100, n / 10 % 10, n % 10};
  auto count = [&](auto pred) { return pred(d[0]) + pred(d[1]) + pred(d[2]); };
  auto has = [&](int x) { return count([x](int y) { return y == x; }) > 0; };
  auto ratio = [&](const std::array<bool, 4>& ticked, int first) { return ticked[3 - first]; };
  auto pattern = [](const std::vector<std::array<int, 3>>& set, int x, int y, int z) {
    return std::find(set.begin(), set.end(), std::array<int, 3>{x, y, z}) != set.end();
  };
  const int sum = d[0] + d[1] + d[2];
  const int span = std::max({d[0], d[1], d[2]}) - std::min({d[0], d[1], d[2]});
  const bool baozi = d[0] == d[1] && d[1] == d[2];
  const bool zu6 = d[0] != d[1] && d[1] != d[2] && d[0] != d[2];
  const bool zu3 = !baozi && !zu6;
  bool pairSum = false, pairDiff = false, adjacent = false;
  for (int i = 0; i < 3; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      pairSum = pairSum || t.pairSums[(d[i] + d[j]) % 10];
      pairDiff = pairDiff || t.pairDiffs[std::abs(d[i] - d[j])];
      adjacent = adjacent || std::abs(d[i] - d[j]) == 1;
    }
  }
  int sorted[3] = {d[0], d[1], d[2]};
  std::sort(sorted, sorted + 3);
  const bool full = sorted[1] == sorted[0] + 1 && sorted[2] == sorted[1] + 1;
  bool pair = false;
  for (const auto& p : t.pairs) {
    pair = pair ||
           (p[0] == p[1] ? count([&](int y) { return y == p[0]; }) >= 2 : has(p[0]) && has(p[1]));
  }
  bool pos = true;
  for (int i = 0; i < 3; ++i) pos = pos && (t.pos[i].none() || t.pos[i][d[i]]);
  bool danAll = true, danAny = false, killed = false;
  for (int x = 0; x < 10; ++x) {
    if (t.dan[x]) danAll = danAll && has(x), danAny = danAny || has(x);
    if (t.kill[x]) killed = killed || has(x);
  }
  int shared = 0;
  for (int x = 0; x < 10; ++x) shared += t.draw[x] && has(x);
  const int odd = count([](int x) { return x % 2 == 1; });
  const int big = count([](int x) { return x >= 5; });
  const int prime = count([](int x) { return x == 1 || x == 2 || x == 3 || x == 5 || x == 7; });
  const bool met[] = {
      !s.sum || t.sums[sum],
      !s.span || t.spans[span],
      !s.tail || t.tails[sum % 10],
      !s.shape || (baozi && s.baozi) || (zu3 && s.zu3) || (zu6 && s.zu6),
      !s.odd || ratio(s.oddRatios, odd),
      !s.big || ratio(s.bigRatios, big),
      !s.road ||
          pattern(t.roads, count([](int x) { return x % 3 == 0; }),
                  count([](int x) { return x % 3 == 1; }), count([](int x) { return x % 3 == 2; })),
      !s.dan || (s.danAll ? danAll : danAny),
      !s.kill || !killed,
      !s.pos || pos,
      !s.pair || pair,
      !s.pairSum || pairSum,
      !s.pairDiff || pairDiff,
      !s.dzx || pattern(t.dzx, count([](int x) { return x >= 7; }),
                        count([](int x) { return x >= 3 && x <= 6; }),
                        count([](int x) { return x <= 2; })),
      !s.prime || ratio(s.primeRatios, prime),
      !s.run || (full && s.runFull) || (!full && adjacent && s.runHalf) ||
          (!full && !adjacent && s.runNone),
      !s.repeat || s.repeatCounts[static_cast<std::size_t>(shared)],
  };
  return static_cast<int>(std::count(std::begin(met), std::end(met), false));
}

TEST(FilterRandom, TenThousandCombinationsAgreeWithTheDefinitions) {
  std::vector<std::string> lines = {"abc", "12", "", "1234"};
  for (int n = 0; n < 1000; n += 3) {
    const std::string s = std::to_string(n);
    lines.push_back(std::string(3 - s.size(), '0') + s);
  }
  Maker m(20240917);
  int tolerated = 0;
  for (int round = 0; round < 10000; ++round) {
    Truth t;
    const FilterSettings s = RandomSettings(m, t);
    const auto filter = numbers::CompileFilter(s);
    ASSERT_EQ(filter.error, "") << "round " << round;
    const int ticked = numbers::TickedCount(s);
    std::array<int, numbers::kConditionCount + 1> byMisses{};
    for (int n = 0; n < 1000; ++n) {
      const int failed = Failures(s, t, n);
      const bool meets = failed <= t.tolerance;
      ASSERT_EQ(filter.meets[static_cast<std::size_t>(n)], meets)
          << "round " << round << ", number " << n << ", failed " << failed;
      if (n % 3 == 0) ++byMisses[static_cast<std::size_t>(failed)];
    }
    const auto counts = numbers::CountFilter(lines, filter, s.dropMatching);
    EXPECT_EQ(counts.byMisses, byMisses) << "round " << round;
    int meeting = 0;
    for (int k = 0; k <= t.tolerance; ++k) meeting += byMisses[static_cast<std::size_t>(k)];
    EXPECT_EQ(counts.meeting, meeting);
    const int going = ticked == 0      ? 0
                      : s.dropMatching ? meeting
                                       : static_cast<int>(lines.size()) - meeting;
    ASSERT_EQ(counts.going, going) << "round " << round;
    const auto go = numbers::LinesThatGo(lines, filter, s.dropMatching);
    ASSERT_EQ(std::count(go.begin(), go.end(), true), going) << "round " << round;
    tolerated += t.tolerance > 0;
  }
  EXPECT_GT(tolerated, 1000);  // 容错 above 0 had its share
}

}  // namespace
