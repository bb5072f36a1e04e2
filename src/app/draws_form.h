// The draws window (开奖号码与走势): the user's past draws as a trend chart
// with its 遗漏, ways to bring draws in and take one out, and 对奖 of the
// bet list. A window of its own beside the main window; the draws, the
// prizes, and the window's size and choice of rows are kept in the user's
// data folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/bet.h"
#include "core/result.h"
#include "draws/draws.h"
#include "toolkit/canvas.h"
#include "toolkit/toolkit.h"

// Rows a saved chart picture holds at most: the latest ones.
inline constexpr int kPictureRows = 500;

class TFormDraws : public tk::Form {
 public:
  // `bets` is the main window's bet list, whose kind `kindOf` tells as of
  // now: both are read at each 对奖.
  TFormDraws(tk::Application& app, const tk::ListControl& bets,
             std::function<core::BetKind()> kindOf);

  tk::ComboBox& cboShown;
  tk::Canvas& cnvChart;
  tk::Control& lblDrawCount;
  tk::Edit& edtIssue;
  tk::Edit& edtDate;
  tk::Edit& edtNumber;
  tk::Edit& edtCheck;
  tk::Edit& edtDirect;
  tk::Edit& edtGroup3;
  tk::Edit& edtGroup6;
  tk::Control& lblResult;
  tk::Control& lblWinners;

  void cboShownChange(tk::Control& sender);
  void cnvChartClick(tk::Control& sender);
  void btnUpdateClick(tk::Control& sender);
  void btnImportClick(tk::Control& sender);
  void btnPasteClick(tk::Control& sender);
  void btnSaveChartClick(tk::Control& sender);
  void btnDeleteDrawClick(tk::Control& sender);
  void btnAddDrawClick(tk::Control& sender);
  void btnCheckClick(tk::Control& sender);
  void edtCheckChange(tk::Control& sender);
  void btnDrawsCloseClick(tk::Control& sender);
  void FormClose(tk::Control& sender, tk::CloseAction& action);

  // The draws kept, oldest first, as draws.txt holds them.
  const std::vector<numbers::Draw>& Draws() const { return store_.Draws(); }
  // The chart shown.
  const numbers::TrendChart& Chart() const { return *chart_; }
  const numbers::Prizes& Prizes() const { return prizes_; }
  // The 期号 of the draw picked on the chart, if any.
  std::optional<std::uint32_t> Selected() const { return selected_; }
  // A 从网址更新 is fetching (draws_update.cpp).
  bool Updating() const { return update_ != nullptr; }
  // The whole fetch's time-out; tests shorten it.
  long UpdateTimeoutMs = 30000;
  // The client size it had when it last closed (96 dpi); empty: designed.
  tk::Size OpeningSize() const { return openingSize_; }

 private:
  std::string PathOf(std::string_view name) const;
  void LoadDraws();
  void LoadPrizes();
  // Adds the draws read, or shows why not; says how many dates were left out.
  void AddRead(const core::Read<std::vector<numbers::Draw>>& read, std::size_t datesLeftOut = 0);
  // Builds the chart of the rows chosen; `toEnd` shows the latest row.
  void Show(bool toEnd);
  void ShowStatus();
  tk::Drawing Band(int top, int bottom) const;
  // The prizes the edits hold; a notice names the first that is not valid.
  std::optional<numbers::Prizes> TypedPrizes();
  void KeepPrizes(const numbers::Prizes& prizes);
  // 从网址更新: the address kept in the data folder, the fetched page merged.
  std::string KeptAddress() const;
  void KeepAddress(const std::string& url);
  void UpdateArrived(const std::string& url, const tk::HttpResponse& page);

  // The size and choice of rows kept from the last opening.
  void LoadWindowState();
  void KeepWindowState();

  const tk::ListControl& bets_;
  std::function<core::BetKind()> kindOf_;
  tk::Size openingSize_;
  std::string folder_;  // empty: nothing is kept
  numbers::DrawStore store_;
  std::optional<numbers::TrendChart> chart_;
  numbers::Prizes prizes_;
  std::optional<std::uint32_t> selected_;
  std::optional<std::uint32_t> latest_;
  std::string address_;  // the last address asked for, also without a data folder
  // Last: abandoned first when the window goes.
  std::unique_ptr<tk::Task> update_;
};
