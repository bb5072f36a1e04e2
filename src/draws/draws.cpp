#include "draws/draws.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_set>

#include "core/decode.h"
#include "core/text.h"

namespace numbers {

namespace {

// A token longer than this is cut in a notice.
constexpr std::size_t kShownChars = 20;
// Only the 期号, a date and three one-digit tokens matter on a line.
constexpr std::size_t kTokensUsed = 5;
constexpr std::size_t kPrizesFileMaxBytes = 4096;

constexpr std::string_view kDi = "第";
constexpr std::string_view kQi = "期";

bool IsSeparator(char32_t c) {
  switch (c) {
    case U' ':
    case U'\t':
    case U'\v':
    case U'\f':
    case U',':
    case U'\u00A0':  // no-break space, common in copied web pages
    case U'\u3000':  // ideographic space
    case U'\uFEFF':  // a byte-order mark left in pasted text
    case U'\uFF0C':  // ，
    case U'\u3001':  // 、
      return true;
    default:
      return false;
  }
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}

// Up to `most` (at most kTokensUsed) tokens of a line, kept without
// allocating: a history has thousands of lines.
class Tokens {
 public:
  Tokens(std::string_view line, std::size_t most) {
    most = std::min(most, items_.size());
    std::size_t pos = 0, start = 0;
    bool in = false;
    while (pos < line.size()) {
      const auto lead = static_cast<unsigned char>(line[pos]);
      // Separators outside ASCII all take 2 or 3 bytes; plain bytes skip decoding.
      const std::size_t len = lead < 0x80 ? 1 : core::CharLength(line, pos);
      const bool sep =
          lead < 0x80 ? IsSeparator(lead) : IsSeparator(core::DecodeChar(line.substr(pos, len)));
      if (sep) {
        if (in) {
          items_[size_++] = line.substr(start, pos - start);
          if (size_ == most) return;
        }
        in = false;
      } else if (!in) {
        in = true;
        start = pos;
      }
      pos += len;
    }
    if (in) items_[size_++] = line.substr(start);
  }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const std::string_view& operator[](std::size_t i) const { return items_[i]; }
  const std::string_view* data() const { return items_.data(); }
  const std::string_view* begin() const { return items_.data(); }
  const std::string_view* end() const { return items_.data() + size_; }

 private:
  std::array<std::string_view, kTokensUsed> items_{};
  std::size_t size_ = 0;
};

std::string Shown(std::string_view token) {
  return core::ShownInNotice(token, kShownChars);
}

std::string Line(std::size_t line) {
  return "第 " + std::to_string(line) + " 行";
}

// 期号: 5-9 digits, alone, before 期, or between 第 and 期.
bool ParseIssue(std::string_view token, Draw& draw) {
  if (token.ends_with(kQi)) {
    token.remove_suffix(kQi.size());
    if (token.starts_with(kDi)) token.remove_prefix(kDi.size());
  }
  if (token.size() < 5 || token.size() > 9 || !AllDigits(token)) return false;
  std::uint32_t v = 0;
  for (char c : token) v = v * 10 + static_cast<std::uint32_t>(c - '0');
  draw.issue = v;
  draw.issueDigits = static_cast<int>(token.size());
  return true;
}

enum class DateRead { kNotADate, kDate, kBadDate };

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Takes 1 or 2 digits from the front of s.
int TakeSmall(std::string_view& s) {
  std::size_t n = 0;
  while (n < s.size() && n < 2 && IsDigit(s[n])) ++n;
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
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1900 || month < 1 || month > 12 || day < 1) return DateRead::kBadDate;
  if (day > kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0)) return DateRead::kBadDate;
  char buf[11];
  buf[0] = token[0], buf[1] = token[1], buf[2] = token[2], buf[3] = token[3];
  buf[4] = '-', buf[5] = static_cast<char>('0' + month / 10),
  buf[6] = static_cast<char>('0' + month % 10);
  buf[7] = '-', buf[8] = static_cast<char>('0' + day / 10),
  buf[9] = static_cast<char>('0' + day % 10);
  date.assign(buf, 10);
  return DateRead::kDate;
}

// Three digits in one token, or three one-digit tokens; -1 otherwise.
int ParseNumber(std::span<const std::string_view> tokens) {
  if (tokens.empty()) return -1;
  if (tokens[0].size() == 3 && AllDigits(tokens[0])) {
    return (tokens[0][0] - '0') * 100 + (tokens[0][1] - '0') * 10 + (tokens[0][2] - '0');
  }
  if (tokens.size() < 3) return -1;
  int n = 0;
  for (int i = 0; i < 3; ++i) {
    if (tokens[i].size() != 1 || !IsDigit(tokens[i][0])) return -1;
    n = n * 10 + (tokens[i][0] - '0');
  }
  return n;
}

struct DrawOnLine {
  Draw draw;
  std::size_t line = 0;
};

// One line: false with a refusal; `found` false when the line holds no draw.
bool ReadLine(std::string_view text, std::size_t lineNo, Draw& draw, bool& found,
              std::string& refusal) {
  found = false;
  const auto tokens = Tokens(text, kTokensUsed);
  if (tokens.empty() || !ParseIssue(tokens[0], draw)) return true;
  std::span<const std::string_view> rest(tokens.begin() + 1, tokens.end());
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
          refusal = Line(lineNo) + "的日期“" + Shown(rest[0]) + "”不是有效日期，未导入。";
          return false;
        case DateRead::kNotADate:
          break;
      }
    }
  }
  draw.number = ParseNumber(rest);
  if (draw.number < 0) {
    refusal = Line(lineNo) + "有期号 " + IssueText(draw) + "，但没有可读的开奖号码，未导入。";
    return false;
  }
  found = true;
  return true;
}

// Text that is not a picture, program or archive: no NUL byte, and valid in
// UTF-8 or GBK (UTF-16 with its mark: no NUL character).
bool IsText(std::string_view bytes, const std::string& decoded) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
    return decoded.find('\0') == std::string::npos;
  if (bytes.find('\0') != std::string_view::npos) return false;
  if (core::IsValidUtf8(bytes)) return true;
  return decoded.find("\xEF\xBF\xBD") == std::string::npos;
}

// Lines of the text without copying.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  std::size_t start = 0, lineNo = 1;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (!f(text.substr(start, end - start), lineNo++)) return;
    if (end == text.size()) return;
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
}

bool SameIssue(const Draw& a, const Draw& b) {
  return a.issue == b.issue;
}

}  // namespace

std::string IssueText(const Draw& draw) {
  std::string s = std::to_string(draw.issue);
  if (static_cast<int>(s.size()) < draw.issueDigits) s.insert(0, draw.issueDigits - s.size(), '0');
  return s;
}

std::string NumberText(int number) {
  const char s[3] = {static_cast<char>('0' + number / 100 % 10),
                     static_cast<char>('0' + number / 10 % 10),
                     static_cast<char>('0' + number % 10)};
  return std::string(s, 3);
}

DrawsRead ReadDraws(std::string_view text) {
  DrawsRead out;
  if (text.size() > kDrawsTextMaxBytes) {
    out.refusal = kDrawsTextTooLarge;
    return out;
  }
  std::vector<DrawOnLine> read;
  // Counted only past the limit: no fewer lines hold more 期号.
  std::unordered_set<std::uint32_t> issues;
  ForEachLine(text, [&](std::string_view line, std::size_t lineNo) {
    DrawOnLine d;
    bool found = false;
    if (!ReadLine(line, lineNo, d.draw, found, out.refusal)) return false;
    if (!found) return true;
    if (read.size() >= kMaxDraws) {
      if (issues.empty()) {
        for (const DrawOnLine& r : read) issues.insert(r.draw.issue);
      }
      issues.insert(d.draw.issue);
      if (issues.size() > kMaxDraws) {
        out.refusal = kTooManyDrawsRead;
        return false;
      }
    }
    d.line = lineNo;
    read.push_back(std::move(d));
    return true;
  });
  if (!out.refusal.empty()) return out;
  if (read.empty()) {
    out.refusal = kNoDraws;
    return out;
  }
  const auto byIssue = [](const DrawOnLine& a, const DrawOnLine& b) {
    return a.draw.issue < b.draw.issue;
  };
  // The kept file is in order already.
  if (!std::is_sorted(read.begin(), read.end(), byIssue)) {
    std::stable_sort(read.begin(), read.end(), byIssue);
  }
  out.draws.reserve(read.size());
  std::size_t firstLine = 0;  // the line of the kept draw of this 期号
  for (auto& d : read) {
    if (!out.draws.empty() && SameIssue(out.draws.back(), d.draw)) {
      Draw& kept = out.draws.back();
      const bool otherNumber = kept.number != d.draw.number;
      if (otherNumber || (!kept.date.empty() && !d.draw.date.empty() && kept.date != d.draw.date)) {
        std::string& r = out.refusal;
        r = Line(d.line);
        r += "：第 " + IssueText(d.draw) + " 期的";
        r += otherNumber ? "号码 " + NumberText(d.draw.number) : "日期 " + d.draw.date;
        r += " 与" + Line(firstLine) + "的 ";
        r += otherNumber ? NumberText(kept.number) : kept.date;
        r += " 不同，未导入。";
        out.draws.clear();
        return out;
      }
      if (kept.date.empty()) kept.date = std::move(d.draw.date);
      continue;
    }
    firstLine = d.line;
    out.draws.push_back(std::move(d.draw));
  }
  return out;
}

DrawsRead ReadDrawsFile(std::string_view bytes, std::string_view fileName) {
  DrawsRead out;
  const std::string name = Shown(fileName);
  if (bytes.size() > kDrawsTextMaxBytes) {
    out.refusal = "文件“" + name + "”大于 8 MB，未导入。";
    return out;
  }
  const std::string text = core::DecodeForShow(bytes);
  if (!IsText(bytes, text)) {
    out.refusal = "文件“" + name + "”不是文本文件，未导入。";
    return out;
  }
  return ReadDraws(text);
}

int DrawnNumberOf(std::string_view text) {
  const auto tokens = Tokens(text, 4);
  return tokens.size() == 1 || tokens.size() == 3 ? ParseNumber(tokens) : -1;
}

DrawTyped DrawFromFields(std::string_view issue, std::string_view date, std::string_view number) {
  DrawTyped out;
  const auto issueTokens = Tokens(issue, 2);
  if (issueTokens.size() != 1 || !ParseIssue(issueTokens[0], out.draw)) {
    out.refusal = "期号应为 5–9 位数字，如 2024001";
    return out;
  }
  const std::string_view d = core::TrimView(date);
  if (!d.empty() && d != "-" && ParseDate(d, out.draw.date) != DateRead::kDate) {
    out.refusal = "日期应为 2024-01-01、2024/01/01 或 2024年01月01日，也可不填";
    return out;
  }
  out.draw.number = DrawnNumberOf(number);
  if (out.draw.number < 0) out.refusal = "号码应为三位数字，如 357";
  return out;
}

std::string MergeDraws(std::vector<Draw>& kept, const std::vector<Draw>& added) {
  std::vector<Draw> merged;
  merged.reserve(kept.size() + added.size());
  std::size_t i = 0, j = 0, fresh = 0;
  while (i < kept.size() || j < added.size()) {
    if (j == added.size() || (i < kept.size() && kept[i].issue < added[j].issue)) {
      merged.push_back(kept[i++]);
    } else if (i == kept.size() || added[j].issue < kept[i].issue) {
      merged.push_back(added[j++]);
      ++fresh;
    } else {
      const Draw& a = kept[i];
      const Draw& b = added[j];
      const std::string which = "第 " + IssueText(a) + " 期已有";
      if (a.number != b.number)
        return which + "号码 " + NumberText(a.number) + "，与新的 " + NumberText(b.number) +
               " 不同，未导入。";
      if (!a.date.empty() && !b.date.empty() && a.date != b.date)
        return which + "日期 " + a.date + "，与新的 " + b.date + " 不同，未导入。";
      merged.push_back(a);
      if (merged.back().date.empty()) merged.back().date = b.date;
      ++i, ++j;
    }
  }
  if (merged.size() > kMaxDraws)
    return "开奖号码将多于 " + std::to_string(kMaxDraws) + " 期（已有 " +
           std::to_string(kept.size()) + " 期，新增 " + std::to_string(fresh) + " 期），未导入。";
  kept = std::move(merged);
  return {};
}

bool DeleteDraw(std::vector<Draw>& kept, std::uint32_t issue) {
  const auto it = std::lower_bound(kept.begin(), kept.end(), issue,
                                   [](const Draw& d, std::uint32_t v) { return d.issue < v; });
  if (it == kept.end() || it->issue != issue) return false;
  kept.erase(it);
  return true;
}

std::string DrawsFileBytes(const std::vector<Draw>& kept) {
  std::string out = "期号 日期 号码\r\n";
  out.reserve(out.size() + kept.size() * 24);
  for (const Draw& d : kept) {
    out += IssueText(d);
    out += ' ';
    out += d.date.empty() ? std::string("-") : d.date;
    out += ' ';
    out += NumberText(d.number);
    out += "\r\n";
  }
  return out;
}

// ---- statistics ----

int SumOf(int number) {
  return number / 100 + number / 10 % 10 + number % 10;
}

int SpanOf(int number) {
  const int a = number / 100, b = number / 10 % 10, c = number % 10;
  return std::max({a, b, c}) - std::min({a, b, c});
}

Shape ShapeOf(int number) {
  const int a = number / 100, b = number / 10 % 10, c = number % 10;
  if (a == b && b == c) return Shape::kBaozi;
  if (a == b || b == c || a == c) return Shape::kZu3;
  return Shape::kZu6;
}

std::string_view ShapeText(Shape shape) {
  switch (shape) {
    case Shape::kBaozi:
      return "豹子";
    case Shape::kZu3:
      return "组三";
    case Shape::kZu6:
      return "组六";
  }
  return {};
}

int DigitAt(int number, int position) {
  return position == 0 ? number / 100 : position == 1 ? number / 10 % 10 : number % 10;
}

std::vector<DigitTable> Omissions(std::span<const Draw> draws) {
  std::vector<DigitTable> out(draws.size());
  DigitTable last{};
  for (std::size_t r = 0; r < draws.size(); ++r) {
    for (int p = 0; p < 3; ++p) {
      const int drawn = DigitAt(draws[r].number, p);
      for (int d = 0; d < 10; ++d) last[p][d] = d == drawn ? 0 : last[p][d] + 1;
    }
    out[r] = last;
  }
  return out;
}

DigitStats StatsOf(std::span<const Draw> rows, std::span<const DigitTable> omissions) {
  DigitStats s;
  DigitTable run{};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int p = 0; p < 3; ++p) {
      const int drawn = DigitAt(rows[r].number, p);
      for (int d = 0; d < 10; ++d) {
        s.maxOmission[p][d] = std::max(s.maxOmission[p][d], omissions[r][p][d]);
        if (d == drawn) {
          ++s.count[p][d];
          s.maxRun[p][d] = std::max(s.maxRun[p][d], ++run[p][d]);
        } else {
          run[p][d] = 0;
        }
      }
    }
  }
  const int n = static_cast<int>(rows.size());
  for (int p = 0; p < 3; ++p)
    for (int d = 0; d < 10; ++d)
      s.averageOmission[p][d] = (n - s.count[p][d]) / (s.count[p][d] + 1);
  return s;
}

int SharedDigits(int number, int draw) {
  unsigned mine = 0, theirs = 0;
  for (int p = 0; p < 3; ++p) {
    mine |= 1u << DigitAt(number, p);
    theirs |= 1u << DigitAt(draw, p);
  }
  unsigned both = mine & theirs;
  int n = 0;
  for (; both; both &= both - 1) ++n;
  return n;
}

// ---- 对奖 ----

namespace {
int LineNumber(std::string_view line) {
  if (line.size() != 3 || !AllDigits(line)) return -1;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

int SortedDigits(int n) {
  std::array<int, 3> d = {n / 100, n / 10 % 10, n % 10};
  std::sort(d.begin(), d.end());
  return d[0] * 100 + d[1] * 10 + d[2];
}
}  // namespace

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

PrizeCheck CheckBets(const std::vector<std::string>& lines, BetKind kind, int drawn,
                     const Prizes& prizes) {
  PrizeCheck out;
  const long long cost = static_cast<long long>(lines.size()) * kBetCost;
  const Shape shape = ShapeOf(drawn);
  const std::string tail = "；投入 " + WithThousands(cost) + " 元，";
  if (kind == BetKind::kGroup && shape == Shape::kBaozi) {
    out.text = "开奖号码 " + NumberText(drawn) + " 是豹子，组选不中奖" + tail + "奖金 0 元";
    return out;
  }
  const int key = kind == BetKind::kDirect ? drawn : SortedDigits(drawn);
  for (const std::string& line : lines) {
    const int n = LineNumber(line);
    if (n < 0 || (kind == BetKind::kDirect ? n : SortedDigits(n)) != key) continue;
    ++out.wins;
    if (out.shown.size() < kWinnersShown)
      out.shown.push_back(line);
    else
      ++out.more;
  }
  const int each = kind == BetKind::kDirect ? prizes.direct
                   : shape == Shape::kZu3   ? prizes.group3
                                            : prizes.group6;
  const std::string_view name = kind == BetKind::kDirect ? "直选" : ShapeText(shape);
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
  const std::string_view t = core::TrimView(text);
  if (t.empty() || t.size() > 8 || !AllDigits(t)) return -1;
  const int v = std::stoi(std::string(t));
  return v >= 1 && v <= kMaxPrize ? v : -1;
}

PrizesRead ReadPrizesFile(std::string_view bytes) {
  PrizesRead out;
  if (bytes.size() > kPrizesFileMaxBytes) {
    out.refusal = "奖金文件过大，未读取。";
    return out;
  }
  const std::string text = core::DecodeForShow(bytes);
  Prizes p;
  std::array<bool, 3> seen{};
  constexpr std::array<std::string_view, 3> kNames = {"直选", "组三", "组六"};
  ForEachLine(text, [&](std::string_view line, std::size_t lineNo) {
    const auto tokens = Tokens(line, 3);
    if (tokens.empty()) return true;
    const auto name = std::find(kNames.begin(), kNames.end(), tokens[0]);
    const int value = tokens.size() == 2 ? ParsePrize(tokens[1]) : -1;
    const auto i = static_cast<std::size_t>(name - kNames.begin());
    if (name == kNames.end() || value < 0 || seen[i]) {
      out.refusal = "奖金文件" + Line(lineNo) + "“" + Shown(line) + "”有误，未读取。";
      return false;
    }
    seen[i] = true;
    (i == 0 ? p.direct : i == 1 ? p.group3 : p.group6) = value;
    return true;
  });
  for (std::size_t i = 0; out.refusal.empty() && i < seen.size(); ++i) {
    if (!seen[i]) out.refusal = "奖金文件缺少“" + std::string(kNames[i]) + "”，未读取。";
  }
  if (out.refusal.empty()) out.prizes = p;
  return out;
}

}  // namespace numbers
