// The trend chart (走势图) of the kept draws, painted band by band as the
// toolkit's drawing operations, so 20,000 rows cost only what is on screen.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "draws/draw.h"
#include "draws/statistics.h"
#include "toolkit/canvas.h"

namespace numbers {

// Pixel sizes, at 96 dpi by default; Scaled() for other densities.
struct ChartMetrics {
  int issueWidth = 76, numberWidth = 64, digitWidth = 22, sumWidth = 38, spanWidth = 38,
      shapeWidth = 42, dateWidth = 80;
  int titleHeight = 22, headerHeight = 20, rowHeight = 20;
  int circleDiameter = 17, lineWidth = 1;
  ChartMetrics Scaled(double factor) const;
};

// Columns: 期号, 开奖号码, 百位 0-9, 十位 0-9, 个位 0-9, 和值, 跨度, 形态, and
// 开奖日期 when a draw shown has a known date (kDateColumn). Rows
// from the top: the block titles and the column heads, one row per draw
// shown (oldest first), then 出现次数, 平均遗漏, 最大遗漏, 最大连出. Each cell
// is its background, and its text centred on it; a drawn digit's text
// stands on a circle of its block's colour. A draw whose 期号 does not follow
// the one before it in the same year has a mark on its top edge (kGapColour).
// Colours are 0xRRGGBB.
class TrendChart {
 public:
  static constexpr int kColumns = 35;
  static constexpr int kDateColumn = kColumns;
  static constexpr int kFirstDigitColumn = 2;
  static constexpr int kStatRows = 4;
  static constexpr std::array<std::uint32_t, 3> kBlockColours = {0xD7263D, 0x1F6FD1, 0x2A9D4B};
  static constexpr std::uint32_t kOmissionColour = 0x9A9A9A;
  // Neutral: draws not held over a holiday leave such gaps, no draw is missing.
  static constexpr std::uint32_t kGapColour = 0x8896AB;

  // The last `shown` draws of `kept` (all of them when shown <= 0 or more
  // than kept).
  TrendChart(std::span<const Draw> kept, int shown, const ChartMetrics& metrics = {});

  int Width() const { return columnX_[static_cast<std::size_t>(columns_)]; }
  // kColumns, or one more with the dates.
  int Columns() const { return columns_; }
  int Height() const;
  // Draw rows, then kStatRows statistics rows.
  int Rows() const { return static_cast<int>(rows_.size()) + kStatRows; }
  int DrawRows() const { return static_cast<int>(rows_.size()); }
  // Top of a row; rows at or past Rows() end at Height().
  int RowY(int row) const;
  // The row at pixel y, clamped to the rows.
  int RowAt(int y) const;
  // Where a cell is painted.
  tk::Rect CellRect(int row, int column) const;
  // Everything in the pixel band [top, bottom), headings included when the
  // band reaches them, in this order: the cells' backgrounds, the grid
  // lines, the lines joining the drawn digits, the circles, the texts.
  tk::Drawing Paint(int top, int bottom) const;

  const DigitStats& Stats() const { return stats_; }
  const DigitTable& OmissionsOfRow(int row) const { return omissions_[row]; }
  // The row's draw does not follow the draw before it (shown or not).
  bool GapBefore(int row) const { return gapBefore_[static_cast<std::size_t>(row)]; }

 private:
  struct Layers;
  void AddCell(int row, int column, Layers& layers) const;
  void AddHeadings(Layers& layers) const;

  ChartMetrics m_;
  std::vector<Draw> rows_;
  std::vector<DigitTable> omissions_;
  DigitStats stats_;
  std::vector<bool> gapBefore_;
  int columns_ = kColumns;
  std::array<int, kColumns + 2> columnX_{};
};

// Two draws kept one after the other whose 期号 are not consecutive in the
// same year (the year is all but the last three digits): a break in the
// sequence, such as draws not held over a holiday.
bool IssueGap(const Draw& earlier, const Draw& later);

}  // namespace numbers
