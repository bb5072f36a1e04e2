#include "draws/prizes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "core/decode.h"
#include "core/notice.h"
#include "core/number.h"
#include "core/text.h"
#include "core/tokens.h"

namespace numbers {

std::string WithThousands(long long value) {
  const auto magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                   : static_cast<unsigned long long>(value);
  const std::string digits = std::to_string(magnitude);
  std::string out;
  if (value < 0) out += '-';
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

PrizeCheck CheckBets(const std::vector<std::string>& lines, core::BetKind kind, int drawn,
                     const Prizes& prizes) {
  PrizeCheck out;
  const long long cost = static_cast<long long>(lines.size()) * core::kBetCost;
  const core::Shape shape = core::ShapeOf(drawn);
  const std::string tail = "；投入 " + WithThousands(cost) + " 元，";
  const bool direct = kind == core::BetKind::kDirect;
  if (!direct && shape == core::Shape::kBaozi) {
    out.text = "开奖号码 " + core::NumberText(drawn) + " 是豹子，组选不中奖" + tail + "奖金 0 元";
    return out;
  }
  const int key = direct ? drawn : core::GroupKey(drawn);
  for (const std::string& line : lines) {
    const int n = core::ParseNumber(line);
    if (n == core::kNoNumber || (direct ? n : core::GroupKey(n)) != key) continue;
    ++out.wins;
    if (out.shown.size() < kWinnersShown)
      out.shown.push_back(line);
    else
      ++out.more;
  }
  const int each = direct                       ? prizes.direct
                   : shape == core::Shape::kZu3 ? prizes.group3
                                                : prizes.group6;
  const std::string_view name = direct ? "直选" : core::ShapeText(shape);
  out.prize = out.wins * each;
  out.text = std::string(name) + " 中 " + WithThousands(out.wins) + " 注 × " +
             std::to_string(each) + " 元" + tail + "奖金 " + WithThousands(out.prize) + " 元";
  return out;
}

std::string PrizesFileBytes(const Prizes& prizes) {
  return "直选 " + std::to_string(prizes.direct) + "\r\n组三 " + std::to_string(prizes.group3) +
         "\r\n组六 " + std::to_string(prizes.group6) + "\r\n";
}

int ParsePrize(std::string_view text) {
  std::string_view typed = core::TrimView(text);
  // 1,040 as prizes are printed: groups of three digits after the first,
  // the commas ASCII or fullwidth.
  std::string plain;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    if (typed.substr(i).starts_with("，")) {
      plain += ',';
      i += std::string_view("，").size() - 1;
    } else {
      plain += typed[i];
    }
  }
  const std::size_t first = plain.find(',');
  if (first != std::string::npos) {
    if (first == 0 || first > 3 || (plain.size() - first) % 4 != 0) return -1;
    std::string digits;
    for (std::size_t i = 0; i < plain.size(); ++i) {
      const bool comma = i >= first && (i - first) % 4 == 0;
      if (comma != (plain[i] == ',')) return -1;
      if (!comma) digits += plain[i];
    }
    plain = std::move(digits);
  }
  typed = plain;
  std::string_view t = typed;
  if (t.empty() || !std::all_of(t.begin(), t.end(), core::IsAsciiDigit)) return -1;
  // Leading zeros do not count against the length that keeps stoi in range.
  t.remove_prefix(std::min(t.find_first_not_of('0'), t.size() - 1));
  if (t.size() > 8) return -1;
  const int v = std::stoi(std::string(t));
  return v >= 1 && v <= kMaxPrize ? v : -1;
}

core::Read<Prizes> ReadPrizesFile(std::string_view bytes) {
  using Result = core::Read<Prizes>;
  if (bytes.size() > kPrizesFileMaxBytes) return Result::Refused("奖金文件过大，未读取。");
  const std::optional<std::string> text = core::DecodeText(bytes);
  if (!text) return Result::Refused("奖金文件不是文本文件，未读取。");
  Prizes p;
  std::array<bool, 3> seen{};
  constexpr std::array<std::string_view, 3> kNames = {"直选", "组三", "组六"};
  std::string refusal;
  core::ForEachLine(*text, [&](std::string_view line, std::size_t lineNo) {
    const std::vector<std::string_view> tokens = core::Tokens(line);
    if (tokens.empty()) return true;
    const auto name = std::find(kNames.begin(), kNames.end(), tokens[0]);
    const int value = tokens.size() == 2 ? ParsePrize(tokens[1]) : -1;
    const auto i = static_cast<std::size_t>(name - kNames.begin());
    if (name == kNames.end() || value < 0 || seen[i]) {
      refusal = "奖金文件" + core::LineRef(lineNo) + "“" + core::Shown(line) + "”有误，未读取。";
      return false;
    }
    seen[i] = true;
    (i == 0 ? p.direct : i == 1 ? p.group3 : p.group6) = value;
    return true;
  });
  for (std::size_t i = 0; refusal.empty() && i < seen.size(); ++i) {
    if (!seen[i]) refusal = "奖金文件缺少“" + std::string(kNames[i]) + "”，未读取。";
  }
  if (!refusal.empty()) return Result::Refused(std::move(refusal));
  return {p, {}};
}

}  // namespace numbers
