#include "app/backtest_form.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

#include "app/backtest_table.h"
#include "app/draws_table.h"
#include "core/number.h"
#include "core/text.h"

namespace {

constexpr std::uint32_t kHeadBackground = 0xE9EEF5;
constexpr std::uint32_t kStripe = 0xF5F7FA;
constexpr std::uint32_t kText = 0x333333;
constexpr std::uint32_t kNumberText = 0xB22222;
constexpr std::uint32_t kKept = 0x2A9D4B;
constexpr std::uint32_t kMissed = 0xD7263D;
constexpr std::uint32_t kGrid = 0xD3D9E1;
constexpr int kFontSize = 12;
constexpr std::array<std::string_view, TFormBacktest::kColumns> kHeads = {
    "期号", "开奖号码", "结果", "未符合的条件", "保留注数"};
constexpr std::array<int, TFormBacktest::kColumns> kWidths = {84, 72, 64, 460, 80};
constexpr int kFailedColumn = 3;

// Pixels a line of text takes at kFontSize: wide characters a full em.
int TextWidth(std::string_view text) {
  int width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = core::CharLength(text, i);
    width += core::DecodeChar(text.substr(i, n)) >= 0x1100 ? kFontSize : kFontSize / 2;
    i += n;
  }
  return width;
}

tk::DrawOp Text(const tk::Rect& rect, std::string text, std::uint32_t colour, bool bold = false) {
  return tk::DrawOp::Text(rect, std::move(text), colour, kFontSize, bold);
}

tk::DrawOp Line(int x1, int y1, int x2, int y2) {
  return tk::DrawOp::Line(x1, y1, x2, y2, 1, kGrid);
}

}  // namespace

TFormBacktest::TFormBacktest(tk::Application& app, numbers::FilterSettings settings,
                             std::vector<numbers::BacktestDraw> history)
    : tk::Form(app, app::BacktestFormSpec()),
      cboBacktestShown(Get<tk::ComboBox>("cboBacktestShown")),
      cnvBacktest(Get<tk::Canvas>("cnvBacktest")),
      lblBacktestSummary(Find("lblBacktestSummary")),
      lblBacktestConditions(Find("lblBacktestConditions")),
      settings_(std::move(settings)),
      history_(std::move(history)),
      conditions_(numbers::BacktestConditionsText(settings_)) {
  using F = TFormBacktest;
  static const std::map<std::string_view, void (F::*)(tk::Control&)> clicks = {
      {"cboBacktestShownChange", &F::cboBacktestShownChange},
      {"btnBacktestSaveClick", &F::btnBacktestSaveClick},
      {"btnBacktestCloseClick", &F::btnBacktestCloseClick},
  };
  Wire<F>(this, clicks, {}, nullptr);
  lblBacktestConditions.SetText(conditions_);
  lblBacktestConditions.SetHint(conditions_);
  cboBacktestShown.SetItems({app::kShownItems.begin(), app::kShownItems.end()});
  cboBacktestShown.SetSelected(app::kShownDefault);  // runs
}

void TFormBacktest::Run() {
  const int choice = std::max(cboBacktestShown.Selected(), 0);
  result_ = numbers::RunBacktest(settings_, history_,
                                 app::kShownCounts[static_cast<std::size_t>(choice)]);
  lblBacktestSummary.SetText(result_.error.empty() ? numbers::BacktestSummary(result_)
                                                   : result_.error);
  // The conditions column as wide as its longest text.
  int failed = kWidths[kFailedColumn];
  for (const numbers::BacktestRow& row : result_.rows)
    failed = std::max(failed, TextWidth(numbers::FailedText(row)) + 16);
  int x = 0;
  for (int c = 0; c < kColumns; ++c) {
    columnX_[static_cast<std::size_t>(c)] = x;
    x += c == kFailedColumn ? failed : kWidths[static_cast<std::size_t>(c)];
  }
  columnX_[kColumns] = x;
  const int height = kHeadHeight + kRowHeight * static_cast<int>(result_.rows.size());
  cnvBacktest.SetContent({x, height}, kHeadHeight,
                         [this](int top, int bottom) { return Band(top, bottom); });
  cnvBacktest.ScrollToEnd();
  Find("btnBacktestSave").SetEnabled(!result_.rows.empty());
}

tk::Drawing TFormBacktest::Band(int top, int bottom) const {
  tk::Drawing fills, texts;
  const int width = columnX_[kColumns];
  auto cell = [&](int c, int y, int h) {
    const auto i = static_cast<std::size_t>(c);
    return tk::Rect{columnX_[i], y, columnX_[i + 1] - columnX_[i], h};
  };
  if (top < kHeadHeight) {
    for (int c = 0; c < kColumns; ++c) {
      fills.push_back(tk::DrawOp::Fill(cell(c, 0, kHeadHeight), kHeadBackground));
      texts.push_back(Text(cell(c, 0, kHeadHeight),
                           std::string(kHeads[static_cast<std::size_t>(c)]), kText, true));
    }
  }
  const int rows = static_cast<int>(result_.rows.size());
  const int first = std::max(0, (top - kHeadHeight) / kRowHeight);
  const int last = std::min(rows - 1, (bottom - 1 - kHeadHeight) / kRowHeight);
  tk::Drawing lines;
  for (int r = first; r <= last; ++r) {
    const numbers::BacktestRow& row = result_.rows[static_cast<std::size_t>(r)];
    const int y = kHeadHeight + r * kRowHeight;
    fills.push_back(tk::DrawOp::Fill({0, y, width, kRowHeight}, r % 2 ? kStripe : 0xFFFFFF));
    texts.push_back(Text(cell(0, y, kRowHeight), row.issue, kText));
    texts.push_back(Text(cell(1, y, kRowHeight), core::NumberText(row.number), kNumberText));
    texts.push_back(Text(cell(2, y, kRowHeight), std::string(numbers::KeptText(row)),
                         row.kept ? kKept : kMissed, true));
    texts.push_back(Text(cell(3, y, kRowHeight), numbers::FailedText(row), kText));
    texts.push_back(Text(cell(4, y, kRowHeight), std::to_string(row.keptCount), kText));
    lines.push_back(Line(0, y + kRowHeight - 1, width - 1, y + kRowHeight - 1));
  }
  lines.push_back(Line(0, kHeadHeight - 1, width - 1, kHeadHeight - 1));
  for (int c = 0; c <= kColumns; ++c) {
    const int x = c == 0 ? 0 : columnX_[static_cast<std::size_t>(c)] - 1;
    lines.push_back(Line(x, top, x, bottom - 1));
  }
  tk::Drawing out = std::move(fills);
  for (tk::Drawing* layer : {&lines, &texts})
    std::move(layer->begin(), layer->end(), std::back_inserter(out));
  return out;
}

void TFormBacktest::cboBacktestShownChange(tk::Control&) {
  Run();
}

void TFormBacktest::btnBacktestSaveClick(tk::Control&) {
  if (result_.rows.empty()) return;
  tk::FileRequest request;
  request.save = true;
  request.title = "保存历史验证";
  request.fileName = "历史验证.txt";
  const std::string path = App().AskFilePath(request);
  if (path.empty()) return;
  App().GetPlatform().ReplaceFileBytes(path, numbers::BacktestFileBytes(result_, conditions_));
}

void TFormBacktest::btnBacktestCloseClick(tk::Control&) {
  Close();
}
