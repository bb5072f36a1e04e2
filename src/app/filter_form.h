// The conditions window: trims the bet list by the usual conditions, shown
// modal over the main window; keeps sets of conditions as 方案 files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "conditions/backtest.h"
#include "conditions/conditions.h"
#include "lists/lists.h"
#include "toolkit/toolkit.h"

// The folder of the 方案 files inside the user's data folder.
inline constexpr std::string_view kSchemeFolderName = "缩水方案";

class TFormBacktest;

class TFormFilter : public tk::Form {
 public:
  TFormFilter(tk::Application& app, const numbers::CountedList& bets,
              const numbers::CountedList& deletions);

  // What the window's boxes, options and edits hold now, with the latest
  // draw the window read at opening.
  numbers::FilterSettings Settings() const;
  // Puts settings into the window (all but the draw, which is the window's
  // own), then counts once.
  void Restore(const numbers::FilterSettings& settings);

  // The folder of the 方案 files, ending in a separator; empty when this run
  // has no data folder.
  std::string SchemeFolder() const;

  tk::Control& lblFilterCount;
  tk::Control& lblFilterSummary;
  tk::Control& btnFilterDelete;
  tk::Control& btnFilterToDel;
  tk::Control& btnFilterCancel;
  tk::ComboBox& cboScheme;
  tk::Control& btnFilterBacktest;
  // The 历史验证 window while it is open.
  TFormBacktest* FormBacktest = nullptr;

  void SettingChanged(tk::Control& sender);
  void btnFilterDeleteClick(tk::Control& sender);
  void btnFilterToDelClick(tk::Control& sender);
  void btnFilterCancelClick(tk::Control& sender);
  void btnFilterBacktestClick(tk::Control& sender);
  void cboSchemeChange(tk::Control& sender);
  void btnSchemeSaveClick(tk::Control& sender);
  void btnSchemeDeleteClick(tk::Control& sender);
  void btnSchemeExportClick(tk::Control& sender);
  void btnSchemeImportClick(tk::Control& sender);

 private:
  bool Box(std::string_view name) const { return Get<tk::CheckBox>(name).Checked(); }
  void Recount();
  // Typing into a condition's input or ticking one of its boxes ticks the
  // condition itself; emptying its inputs unticks it.
  void TickOwner(const tk::Control& sender);
  bool InputsBlank(std::string_view box) const;
  // 重号 can be chosen only with a draw to compare with; a box ticked by a
  // 方案 stays clickable so that it can be unticked.
  void EnableRepeat();
  void ReadLatestDraw();
  // The lines of the bet list that go with the settings shown; none while
  // they are not valid.
  std::vector<bool> Going();

  // 方案: the saved names in cboScheme, `select` chosen (without filling the
  // window); the path of a name; the chosen one's buttons.
  void ListSchemes(const std::string& select = {});
  std::string SchemePath(const std::string& name) const;
  // The file of the chosen 方案 as it lies in the folder; empty when none.
  std::string ChosenFile() const;
  void EnableSchemeButtons();
  // Asks for a name until one can be used, or the user cancels (empty).
  std::string AskSchemeName(std::string_view title, const std::string& initial);
  // Whether a file may be written for this name: asks before replacing.
  bool MayWriteScheme(const std::string& name);

  numbers::CountedList bets_;
  numbers::CountedList deletions_;
  numbers::LineTally tally_;
  std::string draw_;  // the latest kept draw, three digits; empty when none
  std::vector<numbers::BacktestDraw> history_;  // every kept draw, for 历史验证
  bool restoring_ = false;
  std::vector<std::string> schemeFiles_;  // the files of cboScheme's items
  int chosenScheme_ = -1;                 // what cboScheme showed before the user's choice
};
