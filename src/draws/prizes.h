// 对奖: a bet list against a drawn number, with the prizes the user keeps
// in prizes.txt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/bet.h"
#include "core/result.h"

namespace numbers {

// In the user's data folder.
inline constexpr std::string_view kPrizesFileName = "prizes.txt";
inline constexpr std::size_t kPrizesFileMaxBytes = 4096;
inline constexpr std::size_t kWinnersShown = 20;
inline constexpr int kMaxPrize = 10000000;

struct Prizes {
  int direct = 1040;  // 直选
  int group3 = 346;   // 组三
  int group6 = 173;   // 组六

  bool operator==(const Prizes&) const = default;
};

struct PrizeCheck {
  std::string text;  // "直选 中 1 注 × 1040 元；投入 2,000 元，奖金 1,040 元"
  long long wins = 0;
  long long prize = 0;             // 元
  std::vector<std::string> shown;  // the first kWinnersShown winning lines
  long long more = 0;              // winning lines beyond those
};
// A 直选 line wins when it is the drawn number; a 组选 line wins 组三 or 组六
// when it holds the drawn digits in any order and the draw is 组三 or 组六.
PrizeCheck CheckBets(const std::vector<std::string>& lines, core::BetKind kind, int drawn,
                     const Prizes& prizes);

// 1234567 → "1,234,567".
std::string WithThousands(long long value);

// prizes.txt: "直选 1040", "组三 346", "组六 173", one a line.
std::string PrizesFileBytes(const Prizes& prizes);
// The defaults when refused.
core::Read<Prizes> ReadPrizesFile(std::string_view bytes);
// A prize typed in an edit: 1 to kMaxPrize 元, or -1.
int ParsePrize(std::string_view text);

}  // namespace numbers
