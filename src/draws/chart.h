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
      shapeWidth = 42;
  int titleHeight = 22, headerHeight = 20, rowHeight = 20;
  int circleDiameter = 17, lineWidth = 1;
  ChartMetrics Scaled(double factor) const;
};

// Columns: 期号, 开奖号码, 百位 0-9, 十位 0-9, 个位 0-9, 和值, 跨度, 形态. Rows
// from the top: the block titles and the column heads, one row per draw
// shown (oldest first), then 出现次数, 平均遗漏, 最大遗漏, 最大连出. Each cell
// is its background, and its text centred on it; a drawn digit's text
// stands on a circle of its block's colour. Colours are 0xRRGGBB.
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
  // Where a cell is painted.
  tk::Rect CellRect(int row, int column) const;
  // Everything in the pixel band [top, bottom), headings included when the
  // band reaches them, in this order: the cells' backgrounds, the grid
  // lines, the lines joining the drawn digits, the circles, the texts.
  tk::Drawing Paint(int top, int bottom) const;

  const DigitStats& Stats() const { return stats_; }
  const DigitTable& OmissionsOfRow(int row) const { return omissions_[row]; }

 private:
  struct Layers;
  void AddCell(int row, int column, Layers& layers) const;
  void AddHeadings(Layers& layers) const;

  ChartMetrics m_;
  std::vector<Draw> rows_;
  std::vector<DigitTable> omissions_;
  DigitStats stats_;
  std::array<int, kColumns + 1> columnX_{};
};

}  // namespace numbers
