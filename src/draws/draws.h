// Past draws the user brings: reading them from any text, keeping them in
// draws.txt, their 遗漏 and statistics, the trend chart as data a canvas
// paints, and checking a bet list against a draw (对奖). Pure functions; the
// draws window calls them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/bet.h"

namespace numbers {

// In the user's data folder.
inline constexpr std::string_view kDrawsFileName = "draws.txt";
inline constexpr std::string_view kPrizesFileName = "prizes.txt";

inline constexpr std::size_t kMaxDraws = 20000;
inline constexpr std::size_t kDrawsTextMaxBytes = std::size_t{8} << 20;

inline constexpr std::string_view kNoDraws =
    "没有找到开奖号码，未导入。每行应为：期号 日期（可省） 号码，如 2024001 2024-01-01 357";
inline constexpr std::string_view kDrawsTextTooLarge = "文本大于 8 MB，未导入。";
inline constexpr std::string_view kTooManyDrawsRead = "开奖号码多于 20000 期，未导入。";

struct Draw {
  std::uint32_t issue = 0;  // 期号's value
  int issueDigits = 0;      // digits as written (5-9), leading zeros kept
  std::string date;         // YYYY-MM-DD, empty when not known
  int number = 0;           // 0-999
};

// 期号 as written, e.g. "2024001".
std::string IssueText(const Draw& draw);
// Three digits, e.g. "057".
std::string NumberText(int number);

struct DrawsRead {
  std::vector<Draw> draws;  // sorted by 期号, each once
  std::string refusal;      // the notice when refused; empty when good
};

// The draws in text (pasted, or a file already decoded). A line reads as
// 期号 [日期] 号码 …: the 期号 first, as 5-9 digits, 第2024001期 or 2024001期;
// the date as 2024-01-01, 2024/01/01, 2024年01月01日 or - for none; the number
// as one token of three digits or three tokens of one digit; anything after
// it is ignored. Tokens are separated by blanks, tabs, commas (ASCII and
// fullwidth) and 、. Lines that do not start with a 期号 are skipped. Refused
// whole, with the line named: a 期号 without a readable number, a bad date,
// one 期号 with two numbers or two dates. The same draw twice is one draw.
DrawsRead ReadDraws(std::string_view text);
// The same for the bytes of a file, decoded as list files are. A file that
// is not text (NUL bytes, or valid as neither UTF-8 nor GBK) is refused
// with its name in the notice.
DrawsRead ReadDrawsFile(std::string_view bytes, std::string_view fileName);

// A drawn number as typed: three digits, or three digits apart ("3 5 7");
// -1 otherwise.
int DrawnNumberOf(std::string_view text);

// One draw from the three edits of the window: the 期号, the date (may be
// empty) and the number.
struct DrawTyped {
  Draw draw;
  std::string refusal;
};
DrawTyped DrawFromFields(std::string_view issue, std::string_view date, std::string_view number);

// ---- the kept history ----
// Adds `added` (sorted by 期号, each once) to `kept` (the same). A draw
// already kept with the same number is merged, a known date filling an
// unknown one. Refused, `kept` unchanged: another number or another date for
// a kept 期号, or more than kMaxDraws draws in all. Returns the notice, empty
// when merged.
std::string MergeDraws(std::vector<Draw>& kept, const std::vector<Draw>& added);
// Removes the draw with this 期号; false when none has it.
bool DeleteDraw(std::vector<Draw>& kept, std::uint32_t issue);
// draws.txt: a heading line, then one draw a line, "期号 日期 号码", the date
// "-" when not known; UTF-8, CR LF. ReadDrawsFile reads it back.
std::string DrawsFileBytes(const std::vector<Draw>& kept);

// ---- statistics ----
enum class Shape { kBaozi, kZu3, kZu6 };
int SumOf(int number);
int SpanOf(int number);
Shape ShapeOf(int number);
std::string_view ShapeText(Shape shape);  // 豹子 组三 组六

// [position][digit]; position 0 = 百位, 1 = 十位, 2 = 个位.
using DigitTable = std::array<std::array<int, 10>, 3>;

// The 遗漏 of every digit at every position after each draw, in order: 0
// where the digit is drawn, else one more than in the draw before (1 in the
// first draw).
std::vector<DigitTable> Omissions(std::span<const Draw> draws);

// Over rows shown (the last N draws) with their 遗漏, which count from the
// first kept draw.
struct DigitStats {
  DigitTable count{};            // 出现次数 k
  DigitTable averageOmission{};  // ⌊(N − k) / (k + 1)⌋
  DigitTable maxOmission{};      // largest 遗漏 in the rows
  DigitTable maxRun{};           // longest run of rows drawing the digit
};
DigitStats StatsOf(std::span<const Draw> rows, std::span<const DigitTable> omissions);

// 重号: how many distinct digits of `number` the draw also has.
int SharedDigits(int number, int draw);
// The digit of a number at a position: 0 百位, 1 十位, 2 个位.
int DigitAt(int number, int position);

// ---- the trend chart (走势图) ----
// Colours are 0xRRGGBB.
inline constexpr std::uint32_t kNoCircle = 0xFFFFFFFFu;

// Pixel sizes, at 96 dpi by default; Scaled() for other densities.
struct ChartMetrics {
  int issueWidth = 76, numberWidth = 64, digitWidth = 22, sumWidth = 38, spanWidth = 38,
      shapeWidth = 42;
  int titleHeight = 22, headerHeight = 20, rowHeight = 20;
  int circleDiameter = 17, lineWidth = 1;
  ChartMetrics Scaled(double factor) const;
};

// A rectangle of the chart, its background, and the text centred on it,
// over a filled circle of colour `circle` and diameter `diameter` centred on
// the cell unless `circle` is kNoCircle.
struct ChartCell {
  int x = 0, y = 0, width = 0, height = 0;
  std::uint32_t background = 0xFFFFFF;
  std::string text;
  std::uint32_t textColour = 0;
  bool bold = false;
  std::uint32_t circle = kNoCircle;
  int diameter = 0;
};

struct ChartLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int width = 1;
  std::uint32_t colour = 0;
};

// What a canvas paints for a band of the chart, in this order: the cells'
// backgrounds, the grid lines, the joining lines, the circles, the texts.
struct ChartPicture {
  std::vector<ChartCell> cells;
  std::vector<ChartLine> grid;
  std::vector<ChartLine> joins;
};

// Columns: 期号, 开奖号码, 百位 0-9, 十位 0-9, 个位 0-9, 和值, 跨度, 形态. Rows
// from the top: the block titles and the column heads, one row per draw
// shown (oldest first), then 出现次数, 平均遗漏, 最大遗漏, 最大连出.
class TrendChart {
 public:
  static constexpr int kColumns = 35;
  static constexpr int kFirstDigitColumn = 2;
  static constexpr int kStatRows = 4;
  static constexpr std::array<std::uint32_t, 3> kBlockColours = {0xD7263D, 0x1F6FD1, 0x2A9D4B};
  static constexpr std::uint32_t kOmissionColour = 0x9A9A9A;

  // The last `shown` draws of `kept` (all of them when shown <= 0 or more
  // than kept).
  TrendChart(std::span<const Draw> kept, int shown, const ChartMetrics& metrics = {});

  int Width() const { return columnX_.back(); }
  int Height() const;
  // Draw rows, then kStatRows statistics rows.
  int Rows() const { return static_cast<int>(rows_.size()) + kStatRows; }
  int DrawRows() const { return static_cast<int>(rows_.size()); }
  // Top of a row; rows at or past Rows() end at Height().
  int RowY(int row) const;
  // The row at pixel y, clamped to the rows.
  int RowAt(int y) const;
  ChartCell Cell(int row, int column) const;
  // The two heading rows: block titles spanning their ten columns, the
  // other columns' names spanning both rows, the digits 0-9.
  std::vector<ChartCell> Headings() const;
  // Everything in the pixel band [top, bottom), headings included when the
  // band reaches them.
  ChartPicture Paint(int top, int bottom) const;

  const DigitStats& Stats() const { return stats_; }
  const DigitTable& OmissionsOfRow(int row) const { return omissions_[row]; }

 private:
  ChartMetrics m_;
  std::vector<Draw> rows_;
  std::vector<DigitTable> omissions_;
  DigitStats stats_;
  std::array<int, kColumns + 1> columnX_{};
};

// ---- 对奖 ----
inline constexpr int kBetCost = 2;  // 元 per line
inline constexpr std::size_t kWinnersShown = 20;

struct Prizes {
  int direct = 1040;  // 直选
  int group3 = 346;   // 组三
  int group6 = 173;   // 组六
};

using core::BetKind;  // a 直选 list, a 组选 list

struct PrizeCheck {
  std::string text;  // "直选 中 1 注 × 1040 元；投入 2,000 元，奖金 1,040 元"
  long long wins = 0;
  long long prize = 0;             // 元
  std::vector<std::string> shown;  // the first kWinnersShown winning lines
  long long more = 0;              // winning lines beyond those
};
// A 直选 line wins when it is the drawn number; a 组选 line wins 组三 or 组六
// when it holds the drawn digits in any order and the draw is 组三 or 组六.
PrizeCheck CheckBets(const std::vector<std::string>& lines, BetKind kind, int drawn,
                     const Prizes& prizes);

// 1234567 → "1,234,567".
std::string WithThousands(long long value);

// prizes.txt: "直选 1040", "组三 346", "组六 173", one a line.
inline constexpr int kMaxPrize = 10000000;
std::string PrizesFileBytes(const Prizes& prizes);
struct PrizesRead {
  Prizes prizes;        // the defaults when refused
  std::string refusal;  // empty when good
};
PrizesRead ReadPrizesFile(std::string_view bytes);
// A prize typed in an edit: 1 to kMaxPrize 元, or -1.
int ParsePrize(std::string_view text);

}  // namespace numbers
