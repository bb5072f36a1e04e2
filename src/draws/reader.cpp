#include "draws/reader.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <compare>
#include <cstdint>
#include <span>
#include <unordered_set>

#include "core/decode.h"
#include "core/notice.h"
#include "core/number.h"
#include "core/text.h"
#include "core/tokens.h"

namespace numbers {

namespace {

// Two index columns, a date, a 期号 and three one-digit tokens: no column
// past these decides anything.
constexpr std::size_t kTokensLooked = 8;
constexpr std::size_t kMaxSkipped = 2;
// An index column: a row count, never as long as a 期号 of 7 digits.
constexpr std::size_t kIndexMaxDigits = 6;
// Dates before this year are typing mistakes, not draws.
constexpr int kFirstYear = 1900;
// The heading draws.txt starts with.
constexpr std::string_view kKeptHeading = "期号 日期 号码";

constexpr std::string_view kDi = "第";
constexpr std::string_view kQi = "期";

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), core::IsAsciiDigit);
}

std::uint32_t DigitsValue(std::string_view digits) {
  std::uint32_t v = 0;
  for (char c : digits) v = v * 10 + static_cast<std::uint32_t>(c - '0');
  return v;
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// 期号: 5-9 digits, alone, before 期, or between 第 and 期; a letter may
// stand between a year of 2 or 4 digits and the sequence (2005D001).
bool ParseIssue(std::string_view token, Draw& draw) {
  if (token.ends_with(kQi)) {
    token.remove_suffix(kQi.size());
    if (token.starts_with(kDi)) token.remove_prefix(kDi.size());
  }
  std::string_view head = token, tail;
  const std::size_t letter = token.find_first_not_of("0123456789");
  if (letter != std::string_view::npos) {
    if ((letter != 2 && letter != 4) || !IsAsciiLetter(token[letter])) return false;
    head = token.substr(0, letter);
    tail = token.substr(letter + 1);
    if (!AllDigits(tail)) return false;
  }
  const std::size_t digits = head.size() + tail.size();
  if (digits < kIssueMinDigits || digits > kIssueMaxDigits || !AllDigits(head)) return false;
  std::uint32_t v = DigitsValue(head);
  for (char c : tail) v = v * 10 + static_cast<std::uint32_t>(c - '0');
  draw.issue = v;
  draw.issueDigits = static_cast<int>(digits);
  return true;
}

enum class DateKind : std::uint8_t {
  kNone,        // not a date at all
  kDate,        // a day that exists
  kNoDate,      // "-": written as unknown
  kBroken,      // starts as a date, not written as one (2005年月28日)
  kImpossible,  // written as one, but no such day (2024-02-30)
};

struct DateRead {
  DateKind kind = DateKind::kNone;
  std::uint32_t ymd = 0;  // YYYYMMDD of kDate
};

// Takes 1 or 2 digits from the front of s.
int TakeSmall(std::string_view& s) {
  std::size_t n = 0;
  while (n < s.size() && n < 2 && core::IsAsciiDigit(s[n])) ++n;
  if (n == 0) return -1;
  const int v = static_cast<int>(DigitsValue(s.substr(0, n)));
  s.remove_prefix(n);
  return v;
}

DateRead DayOf(int year, int month, int day) {
  const std::chrono::year_month_day ymd{std::chrono::year{year},
                                        std::chrono::month{static_cast<unsigned>(month)},
                                        std::chrono::day{static_cast<unsigned>(day)}};
  if (year < kFirstYear || !ymd.ok()) return {DateKind::kImpossible};
  return {DateKind::kDate, static_cast<std::uint32_t>(year * 10000 + month * 100 + day)};
}

// 2024-01-01, 2024/1/1, 2024.01.01, 2024年1月1日, a weekday after them in
// brackets; 20240101 only when it is a real day (else it may be a 期号).
DateRead ReadDate(std::string_view token) {
  if (token == "-") return {DateKind::kNoDate};
  if (token.size() < 5 || !AllDigits(token.substr(0, 4))) return {};
  const int year = static_cast<int>(DigitsValue(token.substr(0, 4)));
  if (token.size() == 8 && AllDigits(token)) {
    const DateRead d = DayOf(year, static_cast<int>(DigitsValue(token.substr(4, 2))),
                             static_cast<int>(DigitsValue(token.substr(6, 2))));
    return d.kind == DateKind::kDate ? d : DateRead{};
  }
  std::string_view rest = token.substr(4);
  std::string_view sep2, end;
  if (rest.starts_with("-") || rest.starts_with("/") || rest.starts_with(".")) {
    sep2 = rest.substr(0, 1);
    rest.remove_prefix(1);
  } else if (rest.starts_with("年")) {
    sep2 = "月", end = "日";
    rest.remove_prefix(std::string_view("年").size());
  } else {
    return {};
  }
  const int month = TakeSmall(rest);
  if (month < 0 || !rest.starts_with(sep2)) return {DateKind::kBroken};
  rest.remove_prefix(sep2.size());
  const int day = TakeSmall(rest);
  if (day < 0 || !rest.starts_with(end)) return {DateKind::kBroken};
  rest.remove_prefix(end.size());
  // A weekday may follow, as web pages write it: 2024-01-01(一).
  if (!rest.empty() && !rest.starts_with("(") && !rest.starts_with("（")) {
    return {DateKind::kBroken};
  }
  return DayOf(year, month, day);
}

std::string DateText(std::uint32_t ymd) {
  char buf[11];
  const auto put = [&](int at, std::uint32_t v, int width) {
    for (int i = width - 1; i >= 0; --i, v /= 10) buf[at + i] = static_cast<char>('0' + v % 10);
  };
  put(0, ymd / 10000, 4);
  buf[4] = '-';
  put(5, ymd / 100 % 100, 2);
  buf[7] = '-';
  put(8, ymd % 100, 2);
  return {buf, 10};
}

// What one token could be, worked out once a line.
struct Token {
  std::string_view text;
  Draw issue;          // issueDigits 0: no 期号
  DateRead date;       // kNone: no date
  int digit = -1;      // a one-digit token's value
  int number = -1;     // a three-digit token's value
  bool index = false;  // all digits, short: may be a row's index
};

Token Classify(std::string_view text) {
  Token t;
  t.text = text;
  if (!ParseIssue(text, t.issue)) t.issue.issueDigits = 0;
  t.date = ReadDate(text);
  if (AllDigits(text)) {
    if (text.size() == 1) t.digit = text[0] - '0';
    if (text.size() == 3) t.number = static_cast<int>(DigitsValue(text));
    t.index = text.size() <= kIndexMaxDigits;
  }
  return t;
}

// The first kTokensLooked tokens of a line, without allocating: a history
// has thousands of lines. CSV quotes cut tokens too ("2024001","357").
struct LineTokens {
  std::array<Token, kTokensLooked> items{};
  std::size_t size = 0;

  explicit LineTokens(std::string_view line) {
    core::ForEachToken(line, [&](std::string_view t) {
      for (std::size_t a = 0; a < t.size() && size < items.size();) {
        std::size_t b = t.find('"', a);
        if (b == std::string_view::npos) b = t.size();
        if (b > a) items[size++] = Classify(t.substr(a, b - a));
        a = b + 1;
      }
      return size < items.size();
    });
  }
  std::span<const Token> All() const { return {items.data(), size}; }
};

enum class Role : std::uint8_t { kIssue, kDate, kNumber };

// Where the columns stand: `skip` index columns, then the 期号, the date
// (which a line may lack) and the number in this order.
struct Layout {
  std::size_t skip = 0;
  std::array<Role, 3> order{};
};

constexpr std::size_t kOrders = 6;
constexpr std::size_t kLayoutCount = kOrders * (kMaxSkipped + 1);

// In order of preference when two read a text alike.
constexpr std::array<Layout, kLayoutCount> kLayouts = [] {
  using R = Role;
  constexpr std::array<std::array<Role, 3>, kOrders> orders = {{
      {R::kIssue, R::kDate, R::kNumber},
      {R::kDate, R::kIssue, R::kNumber},
      {R::kIssue, R::kNumber, R::kDate},
      {R::kNumber, R::kIssue, R::kDate},
      {R::kDate, R::kNumber, R::kIssue},
      {R::kNumber, R::kDate, R::kIssue},
  }};
  std::array<Layout, kLayoutCount> out{};
  for (std::size_t s = 0; s <= kMaxSkipped; ++s)
    for (std::size_t o = 0; o < kOrders; ++o) out[s * kOrders + o] = {s, orders[o]};
  return out;
}();

// A line as one layout reads it.
struct Match {
  enum class Kind : std::uint8_t { kNone, kClaimed, kRead };
  Kind kind = Kind::kNone;  // kClaimed: a 期号 where the layout has it, no draw
  Draw issue;
  int number = -1;
  DateRead date;
  std::string_view dateToken;

  bool Read() const { return kind == Kind::kRead; }
  bool SameDraw(const Match& o) const {
    return issue.issue == o.issue.issue && issue.issueDigits == o.issue.issueDigits &&
           number == o.number && date.kind == o.date.kind && date.ymd == o.date.ymd;
  }
};

// Fills the layout's slots from `pos` on; a missing date is tried last.
void Walk(std::span<const Token> t, std::size_t pos, const Layout& layout, std::size_t slot,
          Match& cur, Match& best) {
  if (slot == layout.order.size()) {
    best = cur;
    best.kind = Match::Kind::kRead;
    return;
  }
  switch (layout.order[slot]) {
    case Role::kIssue:
      if (pos >= t.size() || t[pos].issue.issueDigits == 0) return;
      cur.issue = t[pos].issue;
      if (best.kind == Match::Kind::kNone) {
        best = cur;
        best.kind = Match::Kind::kClaimed;
      }
      Walk(t, pos + 1, layout, slot + 1, cur, best);
      return;
    case Role::kNumber:
      if (pos < t.size() && t[pos].number >= 0) {
        cur.number = t[pos].number;
        Walk(t, pos + 1, layout, slot + 1, cur, best);
      } else if (pos + 2 < t.size() && t[pos].digit >= 0 && t[pos + 1].digit >= 0 &&
                 t[pos + 2].digit >= 0) {
        cur.number = t[pos].digit * 100 + t[pos + 1].digit * 10 + t[pos + 2].digit;
        Walk(t, pos + 3, layout, slot + 1, cur, best);
      }
      return;
    case Role::kDate:
      if (pos < t.size() && t[pos].date.kind != DateKind::kNone) {
        cur.date = t[pos].date;
        cur.dateToken = t[pos].text;
        Walk(t, pos + 1, layout, slot + 1, cur, best);
        if (best.Read()) return;
      }
      cur.date = {};
      cur.dateToken = {};
      Walk(t, pos, layout, slot + 1, cur, best);
      return;
  }
}

Match MatchLine(std::span<const Token> t, const Layout& layout) {
  Match cur, best;
  if (t.size() < layout.skip) return best;
  for (std::size_t i = 0; i < layout.skip; ++i)
    if (!t[i].index) return best;
  Walk(t, layout.skip, layout, 0, cur, best);
  return best;
}

struct Score {
  std::size_t read = 0, dated = 0;
  auto operator<=>(const Score&) const = default;
};

struct DrawOnLine {
  Draw draw;
  std::size_t line = 0;
  std::string_view text;
  bool dateBroken = false;
};

// Reads text; `kept` sets unreadable lines aside instead of refusing.
DrawsRead ReadText(std::string_view text, bool kept) {
  DrawsRead out;
  const auto refuse = [&](std::string notice) {
    out.refusal = std::move(notice);
    out.value.clear();
    out.setAside.clear();
    out.datesLeftOut = 0;
    return std::move(out);
  };
  if (text.size() > kDrawsTextMaxBytes) return refuse(kDrawsTextTooLarge);

  // The layout that reads the most lines, then the most dates.
  std::array<Score, kLayoutCount> scores{};
  core::ForEachLine(text, [&](std::string_view line, std::size_t) {
    const LineTokens tokens(line);
    if (tokens.size == 0) return true;
    for (std::size_t l = 0; l < kLayoutCount; ++l) {
      const Match m = MatchLine(tokens.All(), kLayouts[l]);
      if (!m.Read()) continue;
      ++scores[l].read;
      if (m.date.kind == DateKind::kDate) ++scores[l].dated;
    }
    return true;
  });
  std::size_t chosen = 0;
  for (std::size_t l = 1; l < kLayoutCount; ++l)
    if (scores[l] > scores[chosen]) chosen = l;
  const Layout& layout = kLayouts[chosen];
  // Layouts that read as much: where they read a line otherwise, the text
  // can be read two ways. Those with no more index columns may read a line
  // that the chosen one does not: a draw in another order.
  std::vector<std::size_t> tied, others;
  if (scores[chosen].read > 0) {
    for (std::size_t l = 0; l < kLayoutCount; ++l) {
      if (l == chosen) continue;
      if (scores[l] == scores[chosen]) tied.push_back(l);
      if (kLayouts[l].skip <= layout.skip) others.push_back(l);
    }
  }

  std::vector<DrawOnLine> read;
  std::string refusal;
  // Counted only past the limit: no fewer lines hold more 期号.
  std::unordered_set<std::uint32_t> issues;
  const auto setAside = [&](std::size_t lineNo, std::string_view line, std::string why) {
    if (!kept) {
      refusal = std::move(why);
      return false;
    }
    out.setAside.push_back({lineNo, std::string(line), std::move(why)});
    return true;
  };
  core::ForEachLine(text, [&](std::string_view line, std::size_t lineNo) {
    const LineTokens tokens(line);
    if (tokens.size == 0) return true;
    Match m = MatchLine(tokens.All(), layout);
    for (std::size_t l : tied) {
      const Match o = MatchLine(tokens.All(), kLayouts[l]);
      if (o.Read() != m.Read() || (m.Read() && !m.SameDraw(o))) {
        refusal = core::LineRef(lineNo) + "：分不清哪一列是期号、日期和号码，未导入。";
        return false;
      }
    }
    // The same columns without an index the line lacks.
    for (std::size_t s = layout.skip; !m.Read() && m.kind == Match::Kind::kNone && s > 0; --s)
      m = MatchLine(tokens.All(), {s - 1, layout.order});
    if (m.kind == Match::Kind::kClaimed) {
      return setAside(lineNo, line,
                      core::LineRef(lineNo) + "有期号 " + IssueText(m.issue) +
                          "，但没有可读的开奖号码，未导入。");
    }
    if (!m.Read()) {
      for (std::size_t l : others) {
        if (MatchLine(tokens.All(), kLayouts[l]).Read()) {
          return setAside(lineNo, line,
                          core::LineRef(lineNo) + "的期号、日期和号码的次序与其他行不同，未导入。");
        }
      }
      if (kept && core::TrimView(line) != kKeptHeading)
        return setAside(lineNo, line, core::LineRef(lineNo) + "不是开奖号码。");
      return true;
    }
    if (m.date.kind == DateKind::kImpossible) {
      return setAside(
          lineNo, line,
          core::LineRef(lineNo) + "的日期“" + core::Shown(m.dateToken) + "”不是有效日期，未导入。");
    }
    DrawOnLine d;
    d.draw = m.issue;
    d.draw.number = m.number;
    if (m.date.kind == DateKind::kDate) d.draw.date = DateText(m.date.ymd);
    d.dateBroken = m.date.kind == DateKind::kBroken;
    if (d.dateBroken && kept) {
      out.setAside.push_back(
          {lineNo, std::string(line), core::LineRef(lineNo) + "的日期无法识别，已略去日期。"});
    }
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
    d.text = line;
    read.push_back(std::move(d));
    return true;
  });
  if (!refusal.empty()) return refuse(std::move(refusal));
  if (read.empty() && !kept) return refuse(std::string(kNoDraws));
  const auto byIssue = [](const DrawOnLine& a, const DrawOnLine& b) {
    return a.draw.issue < b.draw.issue;
  };
  // The kept file is in order already; newest first reads the same.
  if (!std::is_sorted(read.begin(), read.end(), byIssue)) {
    std::stable_sort(read.begin(), read.end(), byIssue);
  }
  std::vector<Draw>& draws = out.value;
  draws.reserve(read.size());
  std::size_t firstLine = 0;  // the line of the kept draw of this 期号
  std::size_t dateLine = 0;   // the line its date came from
  std::vector<bool> broken;   // a kept draw's date was left out on a line
  broken.reserve(read.size());
  for (auto& d : read) {
    if (draws.empty() || draws.back().issue != d.draw.issue) {
      firstLine = dateLine = d.line;
      broken.push_back(d.dateBroken);
      draws.push_back(std::move(d.draw));
      continue;
    }
    Draw& have = draws.back();
    const bool otherNumber = have.number != d.draw.number;
    if (otherNumber || (!have.date.empty() && !d.draw.date.empty() && have.date != d.draw.date)) {
      std::string r = core::LineRef(d.line);
      r += "：第 " + IssueText(d.draw) + " 期的";
      r += otherNumber ? "号码 " + core::NumberText(d.draw.number) : "日期 " + d.draw.date;
      r += " 与" + core::LineRef(otherNumber ? firstLine : dateLine) + "的 ";
      r += otherNumber ? core::NumberText(have.number) : have.date;
      r += " 不同，未导入。";
      if (!kept) return refuse(std::move(r));
      out.setAside.push_back({d.line, std::string(d.text), std::move(r)});
      continue;
    }
    if (have.date.empty() && !d.draw.date.empty()) {
      have.date = std::move(d.draw.date);
      dateLine = d.line;
    }
    broken.back() = broken.back() || d.dateBroken;
  }
  for (std::size_t i = 0; i < draws.size(); ++i)
    if (broken[i] && draws[i].date.empty()) ++out.datesLeftOut;
  if (kept) {
    std::stable_sort(out.setAside.begin(), out.setAside.end(),
                     [](const LineSetAside& a, const LineSetAside& b) { return a.line < b.line; });
  }
  return out;
}

DrawsRead ReadBytes(std::string_view bytes, std::string_view fileName, bool kept) {
  DrawsRead out;
  const std::string name = core::Shown(fileName);
  if (bytes.size() > kDrawsTextMaxBytes) {
    out.refusal = "文件“" + name + "”大于 " + std::to_string(kDrawsTextMaxMiB) + " MB，未导入。";
    return out;
  }
  const std::optional<std::string> text = core::DecodeText(bytes);
  if (!text) {
    out.refusal = "文件“" + name + "”不是文本文件，未导入。";
    return out;
  }
  return ReadText(*text, kept);
}

}  // namespace

DrawsRead ReadDraws(std::string_view text) {
  return ReadText(text, false);
}

DrawsRead ReadDrawsFile(std::string_view bytes, std::string_view fileName) {
  return ReadBytes(bytes, fileName, false);
}

DrawsRead ReadKeptDraws(std::string_view bytes, std::string_view fileName) {
  return ReadBytes(bytes, fileName, true);
}

core::Read<Draw> DrawFromFields(std::string_view issue, std::string_view date,
                                std::string_view number) {
  using Result = core::Read<Draw>;
  Result out;
  std::array<std::string_view, 2> issueTokens;
  std::size_t count = 0;
  core::ForEachToken(issue, [&](std::string_view t) {
    issueTokens[count++] = t;
    return count < issueTokens.size();
  });
  if (count != 1 || !ParseIssue(issueTokens[0], out.value)) {
    return Result::Refused("期号应为 " + IssueForm());
  }
  const std::string_view d = core::TrimView(date);
  if (!d.empty() && d != "-") {
    const DateRead when = ReadDate(d);
    if (when.kind != DateKind::kDate) {
      return Result::Refused("日期应为 2024-01-01、2024/01/01 或 2024年01月01日，也可不填");
    }
    out.value.date = DateText(when.ymd);
  }
  out.value.number = core::OneNumber(number);
  if (out.value.number == core::kNoNumber) return Result::Refused("号码应为三位数字，如 357");
  return out;
}

}  // namespace numbers
