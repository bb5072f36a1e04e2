// The 历史验证 window: how the conditions of the conditions window would
// have done on the kept draws, a row per draw on a canvas, latest at the
// bottom. It only reports: no list changes here.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "conditions/backtest.h"
#include "toolkit/canvas.h"
#include "toolkit/toolkit.h"

class TFormBacktest : public tk::Form {
 public:
  // `history`: every kept draw, in 期号 order.
  TFormBacktest(tk::Application& app, numbers::FilterSettings settings,
                std::vector<numbers::BacktestDraw> history);

  tk::ComboBox& cboBacktestShown;
  tk::Canvas& cnvBacktest;
  tk::Control& lblBacktestSummary;
  tk::Control& lblBacktestConditions;

  void cboBacktestShownChange(tk::Control& sender);
  void btnBacktestSaveClick(tk::Control& sender);
  void btnBacktestCloseClick(tk::Control& sender);

  const numbers::Backtest& Result() const { return result_; }

  // The canvas's geometry: the heads' band, a row's height, the columns' left edges.
  static constexpr int kHeadHeight = 24;
  static constexpr int kRowHeight = 20;
  static constexpr int kColumns = 5;
  const std::array<int, kColumns + 1>& ColumnX() const { return columnX_; }

 private:
  void Run();
  tk::Drawing Band(int top, int bottom) const;

  numbers::FilterSettings settings_;
  std::vector<numbers::BacktestDraw> history_;
  std::string conditions_;
  numbers::Backtest result_;
  std::array<int, kColumns + 1> columnX_{};
};
