#include "draws/reader.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <span>
#include <unordered_set>

#include "core/decode.h"
#include "core/notice.h"
#include "core/number.h"
#include "core/text.h"
#include "core/tokens.h"

namespace numbers {

namespace {

// Only the 期号, a date and three one-digit tokens matter on a line.
constexpr std::size_t kTokensUsed = 5;
// Dates before this year are typing mistakes, not draws.
constexpr int kFirstYear = 1900;

constexpr std::string_view kDi = "第";
constexpr std::string_view kQi = "期";

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), core::IsAsciiDigit);
}

// The first `most` (at most kTokensUsed) tokens of a line, without
// allocating: a history has thousands of lines.
struct FirstTokens {
  std::array<std::string_view, kTokensUsed> items{};
  std::size_t size = 0;

  FirstTokens(std::string_view line, std::size_t most) {
    most = std::min(most, items.size());
    if (most == 0) return;
    core::ForEachToken(line, [&](std::string_view t) {
      items[size++] = t;
      return size < most;
    });
  }
  std::span<const std::string_view> All() const { return {items.data(), size}; }
};

// 期号: 5-9 digits, alone, before 期, or between 第 and 期.
bool ParseIssue(std::string_view token, Draw& draw) {
  if (token.ends_with(kQi)) {
    token.remove_suffix(kQi.size());
    if (token.starts_with(kDi)) token.remove_prefix(kDi.size());
  }
  if (token.size() < kIssueMinDigits || token.size() > kIssueMaxDigits || !AllDigits(token))
    return false;
  std::uint32_t v = 0;
  for (char c : token) v = v * 10 + static_cast<std::uint32_t>(c - '0');
  draw.issue = v;
  draw.issueDigits = static_cast<int>(token.size());
  return true;
}

enum class DateRead { kNotADate, kDate, kBadDate };

// Takes 1 or 2 digits from the front of s.
int TakeSmall(std::string_view& s) {
  std::size_t n = 0;
  while (n < s.size() && n < 2 && core::IsAsciiDigit(s[n])) ++n;
  if (n == 0) return -1;
  const int v = n == 1 ? s[0] - '0' : (s[0] - '0') * 10 + (s[1] - '0');
  s.remove_prefix(n);
  return v;
}

// 2024-01-01, 2024/1/1, 2024年01月01日 as YYYY-MM-DD. A token that starts
// like a date (four digits, then - / or 年) and is not a real one is bad.
DateRead ParseDate(std::string_view token, std::string& date) {
  if (token.size() < 5 || !AllDigits(token.substr(0, 4))) return DateRead::kNotADate;
  std::string_view rest = token.substr(4);
  std::string_view sep2, end;
  if (rest.starts_with("-") || rest.starts_with("/")) {
    sep2 = rest.substr(0, 1);
    rest.remove_prefix(1);
  } else if (rest.starts_with("年")) {
    sep2 = "月", end = "日";
    rest.remove_prefix(std::string_view("年").size());
  } else {
    return DateRead::kNotADate;
  }
  const int year = std::stoi(std::string(token.substr(0, 4)));
  const int month = TakeSmall(rest);
  if (month < 0 || !rest.starts_with(sep2)) return DateRead::kBadDate;
  rest.remove_prefix(sep2.size());
  const int day = TakeSmall(rest);
  if (day < 0 || !rest.starts_with(end)) return DateRead::kBadDate;
  rest.remove_prefix(end.size());
  // A weekday may follow, as web pages write it: 2024-01-01(一).
  if (!rest.empty() && !rest.starts_with("(") && !rest.starts_with("（")) return DateRead::kBadDate;
  const std::chrono::year_month_day ymd{std::chrono::year{year},
                                        std::chrono::month{static_cast<unsigned>(month)},
                                        std::chrono::day{static_cast<unsigned>(day)}};
  if (year < kFirstYear || !ymd.ok()) return DateRead::kBadDate;
  char buf[11];
  buf[0] = token[0], buf[1] = token[1], buf[2] = token[2], buf[3] = token[3];
  buf[4] = '-', buf[5] = static_cast<char>('0' + month / 10),
  buf[6] = static_cast<char>('0' + month % 10);
  buf[7] = '-', buf[8] = static_cast<char>('0' + day / 10),
  buf[9] = static_cast<char>('0' + day % 10);
  date.assign(buf, 10);
  return DateRead::kDate;
}

struct DrawOnLine {
  Draw draw;
  std::size_t line = 0;
};

// One line: false with a refusal; `found` false when the line holds no draw.
bool ReadLine(std::string_view text, std::size_t lineNo, Draw& draw, bool& found,
              std::string& refusal) {
  found = false;
  const FirstTokens tokens(text, kTokensUsed);
  std::span<const std::string_view> rest = tokens.All();
  if (rest.empty() || !ParseIssue(rest[0], draw)) return true;
  rest = rest.subspan(1);
  draw.date.clear();
  if (!rest.empty()) {
    if (rest[0] == "-") {
      rest = rest.subspan(1);
    } else {
      switch (ParseDate(rest[0], draw.date)) {
        case DateRead::kDate:
          rest = rest.subspan(1);
          break;
        case DateRead::kBadDate:
          refusal =
              core::LineRef(lineNo) + "的日期“" + core::Shown(rest[0]) + "”不是有效日期，未导入。";
          return false;
        case DateRead::kNotADate:
          break;
      }
    }
  }
  draw.number = core::NumberOfTokens(rest);
  if (draw.number == core::kNoNumber) {
    refusal =
        core::LineRef(lineNo) + "有期号 " + IssueText(draw) + "，但没有可读的开奖号码，未导入。";
    return false;
  }
  found = true;
  return true;
}

}  // namespace

core::Read<std::vector<Draw>> ReadDraws(std::string_view text) {
  using Result = core::Read<std::vector<Draw>>;
  if (text.size() > kDrawsTextMaxBytes) return Result::Refused(kDrawsTextTooLarge);
  std::vector<DrawOnLine> read;
  std::string refusal;
  // Counted only past the limit: no fewer lines hold more 期号.
  std::unordered_set<std::uint32_t> issues;
  core::ForEachLine(text, [&](std::string_view line, std::size_t lineNo) {
    DrawOnLine d;
    bool found = false;
    if (!ReadLine(line, lineNo, d.draw, found, refusal)) return false;
    if (!found) return true;
    if (read.size() >= kMaxDraws) {
      if (issues.empty()) {
        for (const DrawOnLine& r : read) issues.insert(r.draw.issue);
      }
      issues.insert(d.draw.issue);
      if (issues.size() > kMaxDraws) {
        refusal = kTooManyDrawsRead;
        return false;
      }
    }
    d.line = lineNo;
    read.push_back(std::move(d));
    return true;
  });
  if (!refusal.empty()) return Result::Refused(std::move(refusal));
  if (read.empty()) return Result::Refused(std::string(kNoDraws));
  const auto byIssue = [](const DrawOnLine& a, const DrawOnLine& b) {
    return a.draw.issue < b.draw.issue;
  };
  // The kept file is in order already.
  if (!std::is_sorted(read.begin(), read.end(), byIssue)) {
    std::stable_sort(read.begin(), read.end(), byIssue);
  }
  Result out;
  std::vector<Draw>& draws = out.value;
  draws.reserve(read.size());
  std::size_t firstLine = 0;  // the line of the kept draw of this 期号
  for (auto& d : read) {
    if (draws.empty() || draws.back().issue != d.draw.issue) {
      firstLine = d.line;
      draws.push_back(std::move(d.draw));
      continue;
    }
    Draw& kept = draws.back();
    const bool otherNumber = kept.number != d.draw.number;
    if (otherNumber || (!kept.date.empty() && !d.draw.date.empty() && kept.date != d.draw.date)) {
      std::string r = core::LineRef(d.line);
      r += "：第 " + IssueText(d.draw) + " 期的";
      r += otherNumber ? "号码 " + core::NumberText(d.draw.number) : "日期 " + d.draw.date;
      r += " 与" + core::LineRef(firstLine) + "的 ";
      r += otherNumber ? core::NumberText(kept.number) : kept.date;
      r += " 不同，未导入。";
      return Result::Refused(std::move(r));
    }
    if (kept.date.empty()) kept.date = std::move(d.draw.date);
  }
  return out;
}

core::Read<std::vector<Draw>> ReadDrawsFile(std::string_view bytes, std::string_view fileName) {
  using Result = core::Read<std::vector<Draw>>;
  const std::string name = core::Shown(fileName);
  if (bytes.size() > kDrawsTextMaxBytes) {
    return Result::Refused("文件“" + name + "”大于 " + std::to_string(kDrawsTextMaxMiB) +
                           " MB，未导入。");
  }
  const std::optional<std::string> text = core::DecodeText(bytes);
  if (!text) return Result::Refused("文件“" + name + "”不是文本文件，未导入。");
  return ReadDraws(*text);
}

core::Read<Draw> DrawFromFields(std::string_view issue, std::string_view date,
                                std::string_view number) {
  using Result = core::Read<Draw>;
  Result out;
  const FirstTokens issueTokens(issue, 2);
  if (issueTokens.size != 1 || !ParseIssue(issueTokens.items[0], out.value)) {
    return Result::Refused("期号应为 " + IssueForm());
  }
  const std::string_view d = core::TrimView(date);
  if (!d.empty() && d != "-" && ParseDate(d, out.value.date) != DateRead::kDate) {
    return Result::Refused("日期应为 2024-01-01、2024/01/01 或 2024年01月01日，也可不填");
  }
  out.value.number = core::OneNumber(number);
  if (out.value.number == core::kNoNumber) return Result::Refused("号码应为三位数字，如 357");
  return out;
}

}  // namespace numbers
