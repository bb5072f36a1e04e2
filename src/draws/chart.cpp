// The trend chart of the kept draws, as cells and lines in pixels.
#include "draws/draws.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/decode.h"
#include "core/text.h"

namespace numbers {

// ---- the trend chart ----

namespace {
constexpr std::uint32_t kHeadingBackground = 0xE9EEF5;
constexpr std::uint32_t kStripe = 0xF5F7FA;
constexpr std::uint32_t kStatBackground = 0xFFF6DD;
constexpr std::uint32_t kText = 0x333333;
constexpr std::uint32_t kNumberText = 0xB22222;
constexpr std::uint32_t kGridColour = 0xD3D9E1;
constexpr std::array<std::string_view, TrendChart::kStatRows> kStatNames = {"出现次数", "平均遗漏",
                                                                            "最大遗漏", "最大连出"};
constexpr std::array<std::string_view, 3> kBlockNames = {"百位", "十位", "个位"};

int Scale(int v, double f) {
  return std::max(1, static_cast<int>(std::lround(v * f)));
}
}  // namespace

ChartMetrics ChartMetrics::Scaled(double f) const {
  ChartMetrics m;
  m.issueWidth = Scale(issueWidth, f), m.numberWidth = Scale(numberWidth, f);
  m.digitWidth = Scale(digitWidth, f), m.sumWidth = Scale(sumWidth, f);
  m.spanWidth = Scale(spanWidth, f), m.shapeWidth = Scale(shapeWidth, f);
  m.titleHeight = Scale(titleHeight, f), m.headerHeight = Scale(headerHeight, f);
  m.rowHeight = Scale(rowHeight, f), m.circleDiameter = Scale(circleDiameter, f);
  m.lineWidth = Scale(lineWidth, f);
  return m;
}

TrendChart::TrendChart(std::span<const Draw> kept, int shown, const ChartMetrics& metrics)
    : m_(metrics) {
  const std::size_t n =
      shown <= 0 ? kept.size() : std::min(kept.size(), static_cast<std::size_t>(shown));
  const std::size_t first = kept.size() - n;
  // 遗漏 count from the first kept draw; only the rows shown are kept.
  DigitTable last{};
  omissions_.reserve(n);
  for (std::size_t r = 0; r < kept.size(); ++r) {
    for (int p = 0; p < 3; ++p) {
      const int drawn = DigitAt(kept[r].number, p);
      for (int d = 0; d < 10; ++d) last[p][d] = d == drawn ? 0 : last[p][d] + 1;
    }
    if (r >= first) omissions_.push_back(last);
  }
  rows_.assign(kept.begin() + static_cast<std::ptrdiff_t>(first), kept.end());
  stats_ = StatsOf(rows_, omissions_);
  int x = 0;
  for (int c = 0; c < kColumns; ++c) {
    columnX_[c] = x;
    x += c == 0              ? m_.issueWidth
         : c == 1            ? m_.numberWidth
         : c < kColumns - 3  ? m_.digitWidth
         : c == kColumns - 3 ? m_.sumWidth
         : c == kColumns - 2 ? m_.spanWidth
                             : m_.shapeWidth;
  }
  columnX_[kColumns] = x;
}

int TrendChart::RowY(int row) const {
  row = std::clamp(row, 0, Rows());
  return m_.titleHeight + m_.headerHeight + row * m_.rowHeight;
}

int TrendChart::Height() const {
  return RowY(Rows());
}

int TrendChart::RowAt(int y) const {
  const int top = RowY(0);
  if (y < top) return 0;
  return std::min(Rows() - 1, (y - top) / m_.rowHeight);
}

ChartCell TrendChart::Cell(int row, int column) const {
  ChartCell c;
  c.x = columnX_[column];
  c.width = columnX_[column + 1] - c.x;
  c.y = RowY(row);
  c.height = m_.rowHeight;
  c.textColour = kText;
  const int draws = DrawRows();
  const bool inBlock = column >= kFirstDigitColumn && column < kFirstDigitColumn + 30;
  const int position = (column - kFirstDigitColumn) / 10;
  const int digit = (column - kFirstDigitColumn) % 10;
  if (row >= draws) {
    const int stat = row - draws;
    c.background = kStatBackground;
    if (column == 0) c.text = kStatNames[stat];
    if (inBlock) {
      const DigitTable& t = stat == 0   ? stats_.count
                            : stat == 1 ? stats_.averageOmission
                            : stat == 2 ? stats_.maxOmission
                                        : stats_.maxRun;
      c.text = std::to_string(t[position][digit]);
    }
    return c;
  }
  const Draw& d = rows_[row];
  c.background = row % 2 ? kStripe : 0xFFFFFF;
  if (inBlock) {
    if (DigitAt(d.number, position) == digit) {
      c.text = std::to_string(digit);
      c.textColour = 0xFFFFFF;
      c.bold = true;
      c.circle = kBlockColours[position];
      c.diameter = m_.circleDiameter;
    } else {
      c.text = std::to_string(omissions_[row][position][digit]);
      c.textColour = kOmissionColour;
    }
    return c;
  }
  switch (column) {
    case 0:
      c.text = IssueText(d);
      break;
    case 1:
      c.text = NumberText(d.number);
      c.textColour = kNumberText;
      break;
    case kColumns - 3:
      c.text = std::to_string(SumOf(d.number));
      break;
    case kColumns - 2:
      c.text = std::to_string(SpanOf(d.number));
      break;
    default:
      c.text = ShapeText(ShapeOf(d.number));
      break;
  }
  return c;
}

std::vector<ChartCell> TrendChart::Headings() const {
  std::vector<ChartCell> out;
  auto add = [&](int col, int cols, int y, int h, std::string_view text) {
    ChartCell c;
    c.x = columnX_[col];
    c.width = columnX_[col + cols] - c.x;
    c.y = y, c.height = h;
    c.background = kHeadingBackground;
    c.text = text;
    c.textColour = kText;
    c.bold = true;
    out.push_back(std::move(c));
  };
  const int both = m_.titleHeight + m_.headerHeight;
  add(0, 1, 0, both, "期号");
  add(1, 1, 0, both, "开奖号码");
  for (int b = 0; b < 3; ++b) {
    add(kFirstDigitColumn + 10 * b, 10, 0, m_.titleHeight, kBlockNames[b]);
    for (int d = 0; d < 10; ++d)
      add(kFirstDigitColumn + 10 * b + d, 1, m_.titleHeight, m_.headerHeight, std::to_string(d));
  }
  add(kColumns - 3, 1, 0, both, "和值");
  add(kColumns - 2, 1, 0, both, "跨度");
  add(kColumns - 1, 1, 0, both, "形态");
  return out;
}

ChartPicture TrendChart::Paint(int top, int bottom) const {
  ChartPicture pic;
  top = std::max(top, 0);
  bottom = std::min(bottom, Height());
  if (top >= bottom) return pic;
  if (top < RowY(0)) pic.cells = Headings();
  const int firstRow = RowAt(top);
  const int lastRow = RowAt(bottom - 1);  // inclusive
  if (bottom > RowY(0)) {
    for (int r = firstRow; r <= lastRow; ++r)
      for (int c = 0; c < kColumns; ++c) pic.cells.push_back(Cell(r, c));
  }
  // Grid: each cell's right and bottom edge, and the chart's left and top.
  const int w = Width();
  auto hline = [&](int y) {
    if (y >= top && y < bottom) pic.grid.push_back({0, y, w - 1, y, 1, kGridColour});
  };
  hline(0);
  // Under the block titles only: the other headings fill both rows.
  const int titleLine = m_.titleHeight - 1;
  if (titleLine >= top && titleLine < bottom)
    pic.grid.push_back({columnX_[kFirstDigitColumn], titleLine,
                        columnX_[kFirstDigitColumn + 30] - 1, titleLine, 1, kGridColour});
  for (int r = 0; r <= Rows(); ++r) {
    if (RowY(r) - 1 >= bottom) break;
    hline(RowY(r) - 1);
  }
  pic.grid.push_back({0, top, 0, bottom - 1, 1, kGridColour});
  for (int c = 0; c < kColumns; ++c) {
    const int x = columnX_[c + 1] - 1;
    // Inside a block the column lines start under the block's title.
    const bool digitEdge =
        c >= kFirstDigitColumn && c < kFirstDigitColumn + 30 && (c - kFirstDigitColumn) % 10 != 9;
    const int from = digitEdge ? std::max(top, m_.titleHeight) : top;
    if (from < bottom) pic.grid.push_back({x, from, x, bottom - 1, 1, kGridColour});
  }
  // Joining lines between the circles of consecutive draw rows in the band.
  const int draws = DrawRows();
  const int from = std::max(0, firstRow - 1);
  const int to = bottom > RowY(0) ? std::min(draws - 1, lastRow + 1) : 0;
  for (int r = from; r < to; ++r) {
    for (int p = 0; p < 3; ++p) {
      const int c1 = kFirstDigitColumn + 10 * p + DigitAt(rows_[r].number, p);
      const int c2 = kFirstDigitColumn + 10 * p + DigitAt(rows_[r + 1].number, p);
      pic.joins.push_back({(columnX_[c1] + columnX_[c1 + 1]) / 2, RowY(r) + m_.rowHeight / 2,
                           (columnX_[c2] + columnX_[c2 + 1]) / 2, RowY(r + 1) + m_.rowHeight / 2,
                           m_.lineWidth, kBlockColours[p]});
    }
  }
  return pic;
}

}  // namespace numbers
