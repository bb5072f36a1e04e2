#include "draws/chart.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "core/number.h"

namespace numbers {

namespace {
constexpr std::uint32_t kHeadingBackground = 0xE9EEF5;
constexpr std::uint32_t kStripe = 0xF5F7FA;
constexpr std::uint32_t kStatBackground = 0xFFF6DD;
constexpr std::uint32_t kText = 0x333333;
constexpr std::uint32_t kNumberText = 0xB22222;
constexpr std::uint32_t kDrawnText = 0xFFFFFF;
constexpr std::uint32_t kGridColour = 0xD3D9E1;
constexpr int kFontSize = 12;
constexpr std::array<std::string_view, TrendChart::kStatRows> kStatNames = {"出现次数", "平均遗漏",
                                                                            "最大遗漏", "最大连出"};
constexpr std::array<std::string_view, 3> kBlockNames = {"百位", "十位", "个位"};

int Scale(int v, double f) {
  return std::max(1, static_cast<int>(std::lround(v * f)));
}

tk::DrawOp Text(const tk::Rect& rect, std::string text, std::uint32_t colour, bool bold) {
  return tk::DrawOp::Text(rect, std::move(text), colour, kFontSize, bold);
}
}  // namespace

// Painted in layers, so that lines lie over every background and under
// every circle and text.
struct TrendChart::Layers {
  tk::Drawing fills, lines, circles, texts;
};

ChartMetrics ChartMetrics::Scaled(double f) const {
  ChartMetrics m;
  m.issueWidth = Scale(issueWidth, f), m.numberWidth = Scale(numberWidth, f);
  m.digitWidth = Scale(digitWidth, f), m.sumWidth = Scale(sumWidth, f);
  m.spanWidth = Scale(spanWidth, f), m.shapeWidth = Scale(shapeWidth, f);
  m.titleHeight = Scale(titleHeight, f), m.headerHeight = Scale(headerHeight, f);
  m.rowHeight = Scale(rowHeight, f), m.circleDiameter = Scale(circleDiameter, f);
  m.lineWidth = Scale(lineWidth, f), m.dateWidth = Scale(dateWidth, f);
  return m;
}

TrendChart::TrendChart(std::span<const Draw> kept, int shown, const ChartMetrics& metrics)
    : m_(metrics) {
  const std::size_t n =
      shown <= 0 ? kept.size() : std::min(kept.size(), static_cast<std::size_t>(shown));
  const std::size_t first = kept.size() - n;
  // 遗漏 count from the first kept draw; only the rows shown are kept.
  omissions_ = Omissions(kept, first);
  rows_.assign(kept.begin() + static_cast<std::ptrdiff_t>(first), kept.end());
  stats_ = StatsOf(rows_, omissions_);
  gapBefore_.resize(rows_.size());
  for (std::size_t r = 0; r < rows_.size(); ++r)
    gapBefore_[r] = first + r > 0 && IssueGap(kept[first + r - 1], rows_[r]);
  const bool dated =
      std::any_of(rows_.begin(), rows_.end(), [](const Draw& d) { return !d.date.empty(); });
  columns_ = dated ? kColumns + 1 : kColumns;
  int x = 0;
  for (int c = 0; c < columns_; ++c) {
    columnX_[c] = x;
    x += c == 0              ? m_.issueWidth
         : c == 1            ? m_.numberWidth
         : c < kColumns - 3  ? m_.digitWidth
         : c == kColumns - 3 ? m_.sumWidth
         : c == kColumns - 2 ? m_.spanWidth
         : c == kColumns - 1 ? m_.shapeWidth
                             : m_.dateWidth;
  }
  columnX_[static_cast<std::size_t>(columns_)] = x;
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

tk::Rect TrendChart::CellRect(int row, int column) const {
  return {columnX_[column], RowY(row), columnX_[column + 1] - columnX_[column], m_.rowHeight};
}

void TrendChart::AddCell(int row, int column, Layers& layers) const {
  const tk::Rect rect = CellRect(row, column);
  const int draws = DrawRows();
  const bool inBlock = column >= kFirstDigitColumn && column < kFirstDigitColumn + 30;
  const int position = (column - kFirstDigitColumn) / 10;
  const int digit = (column - kFirstDigitColumn) % 10;
  if (row >= draws) {
    const int stat = row - draws;
    layers.fills.push_back(tk::DrawOp::Fill(rect, kStatBackground));
    if (column == 0)
      layers.texts.push_back(Text(rect, std::string(kStatNames[stat]), kText, false));
    if (inBlock) {
      const DigitTable& t = stat == 0   ? stats_.count
                            : stat == 1 ? stats_.averageOmission
                            : stat == 2 ? stats_.maxOmission
                                        : stats_.maxRun;
      layers.texts.push_back(Text(rect, std::to_string(t[position][digit]), kText, false));
    }
    return;
  }
  const int number = rows_[row].number;
  layers.fills.push_back(tk::DrawOp::Fill(rect, row % 2 ? kStripe : 0xFFFFFF));
  if (inBlock) {
    if (core::DigitAt(number, position) == digit) {
      const int d = m_.circleDiameter;
      layers.circles.push_back(tk::DrawOp::Circle(
          {rect.left + (rect.width - d) / 2, rect.top + (rect.height - d) / 2, d, d},
          kBlockColours[position]));
      layers.texts.push_back(Text(rect, std::to_string(digit), kDrawnText, true));
    } else {
      layers.texts.push_back(
          Text(rect, std::to_string(omissions_[row][position][digit]), kOmissionColour, false));
    }
    return;
  }
  switch (column) {
    case 0:
      layers.texts.push_back(Text(rect, IssueText(rows_[row]), kText, false));
      break;
    case 1:
      layers.texts.push_back(Text(rect, core::NumberText(number), kNumberText, false));
      break;
    case kColumns - 3:
      layers.texts.push_back(Text(rect, std::to_string(core::SumOf(number)), kText, false));
      break;
    case kColumns - 2:
      layers.texts.push_back(Text(rect, std::to_string(core::SpanOf(number)), kText, false));
      break;
    case kDateColumn:
      if (!rows_[row].date.empty())
        layers.texts.push_back(Text(rect, rows_[row].date, kText, false));
      break;
    default:
      layers.texts.push_back(
          Text(rect, std::string(core::ShapeText(core::ShapeOf(number))), kText, false));
      break;
  }
}

// The two heading rows: block titles spanning their ten columns, the other
// columns' names spanning both rows, the digits 0-9.
void TrendChart::AddHeadings(Layers& layers) const {
  auto add = [&](int col, int cols, int y, int h, std::string text) {
    const tk::Rect rect{columnX_[col], y, columnX_[col + cols] - columnX_[col], h};
    layers.fills.push_back(tk::DrawOp::Fill(rect, kHeadingBackground));
    layers.texts.push_back(Text(rect, std::move(text), kText, true));
  };
  const int both = m_.titleHeight + m_.headerHeight;
  add(0, 1, 0, both, "期号");
  add(1, 1, 0, both, "开奖号码");
  for (int b = 0; b < 3; ++b) {
    add(kFirstDigitColumn + 10 * b, 10, 0, m_.titleHeight, std::string(kBlockNames[b]));
    for (int d = 0; d < 10; ++d)
      add(kFirstDigitColumn + 10 * b + d, 1, m_.titleHeight, m_.headerHeight, std::to_string(d));
  }
  add(kColumns - 3, 1, 0, both, "和值");
  add(kColumns - 2, 1, 0, both, "跨度");
  add(kColumns - 1, 1, 0, both, "形态");
  if (columns_ > kColumns) add(kDateColumn, 1, 0, both, "开奖日期");
}

tk::Drawing TrendChart::Paint(int top, int bottom) const {
  top = std::max(top, 0);
  bottom = std::min(bottom, Height());
  if (top >= bottom) return {};
  Layers layers;
  if (top < RowY(0)) AddHeadings(layers);
  const int firstRow = RowAt(top);
  const int lastRow = RowAt(bottom - 1);  // inclusive
  if (bottom > RowY(0)) {
    for (int r = firstRow; r <= lastRow; ++r)
      for (int c = 0; c < columns_; ++c) AddCell(r, c, layers);
  }
  // Grid: each cell's right and bottom edge, and the chart's left and top.
  tk::Drawing& lines = layers.lines;
  const int w = Width();
  auto hline = [&](int y) {
    if (y >= top && y < bottom) lines.push_back(tk::DrawOp::Line(0, y, w - 1, y, 1, kGridColour));
  };
  hline(0);
  // Under the block titles only: the other headings fill both rows.
  const int titleLine = m_.titleHeight - 1;
  if (titleLine >= top && titleLine < bottom)
    lines.push_back(tk::DrawOp::Line(columnX_[kFirstDigitColumn], titleLine,
                                     columnX_[kFirstDigitColumn + 30] - 1, titleLine, 1,
                                     kGridColour));
  for (int r = 0; r <= Rows(); ++r) {
    if (RowY(r) - 1 >= bottom) break;
    hline(RowY(r) - 1);
  }
  lines.push_back(tk::DrawOp::Line(0, top, 0, bottom - 1, 1, kGridColour));
  for (int c = 0; c < columns_; ++c) {
    const int x = columnX_[c + 1] - 1;
    // Inside a block the column lines start under the block's title.
    const bool digitEdge =
        c >= kFirstDigitColumn && c < kFirstDigitColumn + 30 && (c - kFirstDigitColumn) % 10 != 9;
    const int from = digitEdge ? std::max(top, m_.titleHeight) : top;
    if (from < bottom) lines.push_back(tk::DrawOp::Line(x, from, x, bottom - 1, 1, kGridColour));
  }
  // A break in the 期号 sequence: a mark over the 期号 (and date) on the
  // row's top edge, neutral, since a holiday is no missing draw.
  const int draws = DrawRows();
  if (bottom > RowY(0)) {
    for (int r = firstRow; r <= lastRow && r < draws; ++r) {
      if (!GapBefore(r)) continue;
      const int y = RowY(r);
      lines.push_back(tk::DrawOp::Line(1, y, columnX_[1] - 2, y, 2, kGapColour));
      if (columns_ > kColumns)
        lines.push_back(
            tk::DrawOp::Line(columnX_[kDateColumn] + 1, y, Width() - 2, y, 2, kGapColour));
    }
  }
  // Joining lines between the circles of consecutive draw rows in the band.
  const int from = std::max(0, firstRow - 1);
  const int to = bottom > RowY(0) ? std::min(draws - 1, lastRow + 1) : 0;
  for (int r = from; r < to; ++r) {
    for (int p = 0; p < 3; ++p) {
      const int c1 = kFirstDigitColumn + 10 * p + core::DigitAt(rows_[r].number, p);
      const int c2 = kFirstDigitColumn + 10 * p + core::DigitAt(rows_[r + 1].number, p);
      lines.push_back(
          tk::DrawOp::Line((columnX_[c1] + columnX_[c1 + 1]) / 2, RowY(r) + m_.rowHeight / 2,
                           (columnX_[c2] + columnX_[c2 + 1]) / 2, RowY(r + 1) + m_.rowHeight / 2,
                           m_.lineWidth, kBlockColours[p]));
    }
  }
  tk::Drawing out = std::move(layers.fills);
  out.reserve(out.size() + lines.size() + layers.circles.size() + layers.texts.size());
  for (tk::Drawing* layer : {&lines, &layers.circles, &layers.texts})
    std::move(layer->begin(), layer->end(), std::back_inserter(out));
  return out;
}

bool IssueGap(const Draw& earlier, const Draw& later) {
  return earlier.issue / 1000 == later.issue / 1000 && later.issue != earlier.issue + 1;
}

}  // namespace numbers
