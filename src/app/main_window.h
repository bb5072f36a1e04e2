// The main window of the number assistant.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "conditions/conditions.h"
#include "core/bet.h"
#include "draws/draws.h"
#include "lists/lists.h"
#include "plays/plays.h"
#include "toolkit/history.h"
#include "toolkit/toolkit.h"

// Address of the tips page this build fetches.
std::string DefaultTipsPageUrl();

class qmWebTips;
class TFormFilter;
class TFormDraws;
class TFormPlays;

class TForm1 : public tk::Form {
 public:
  explicit TForm1(tk::Application& app);
  ~TForm1() override;

  // Controls the handlers use; every other control is reached by name.
  tk::Control& pnl3;
  tk::Control& lblTips;
  tk::Timer& tmr1;
  tk::Control& btnDel;
  tk::Edit& edtNum;
  tk::Control& btnGet;
  tk::Control& btnAll;
  tk::Control& btnSel;
  tk::Control& btnDelete;
  tk::Edit& edtRight;
  tk::Edit& edtDel;
  tk::Control& btn1;
  tk::Control& btn2;
  tk::Control& btn3;
  tk::Control& btn4;
  tk::ListControl& mmoList;
  tk::ListControl& mmoDel;
  tk::Control& lblCount;
  tk::Control& lblDelCnt;

  // Selection panels: rows 0-2 are the bet panel, 3-5 the deletion panel.
  const numbers::DigitRow& Row(int index) const { return rows_[static_cast<std::size_t>(index)]; }

  // Digit rows.
  void chk1Click(tk::Control& sender);
  void chk11Click(tk::Control& sender);
  void chk21Click(tk::Control& sender);
  void chk31Click(tk::Control& sender);
  void chk41Click(tk::Control& sender);
  void chk51Click(tk::Control& sender);
  void edt1KeyPress(tk::Control& sender, char32_t& key);
  void edt2KeyPress(tk::Control& sender, char32_t& key);
  void edt3KeyPress(tk::Control& sender, char32_t& key);
  void edt4KeyPress(tk::Control& sender, char32_t& key);
  void edt5KeyPress(tk::Control& sender, char32_t& key);
  void edt6KeyPress(tk::Control& sender, char32_t& key);
  // Generation.
  void btnGetClick(tk::Control& sender);
  void btnSelClick(tk::Control& sender);
  void btnAllClick(tk::Control& sender);
  // Editing.
  void edtRightKeyPress(tk::Control& sender, char32_t& key);
  void edtDelKeyPress(tk::Control& sender, char32_t& key);
  void btn3Click(tk::Control& sender);
  void btn4Click(tk::Control& sender);
  void btn1Click(tk::Control& sender);
  void btn2Click(tk::Control& sender);
  void btnDeleteClick(tk::Control& sender);
  void btnDelClick(tk::Control& sender);
  // Tips and links.
  void tmr1Timer(tk::Control& sender);
  void lblTipsClick(tk::Control& sender);
  void lbl10Click(tk::Control& sender);
  void lbl12Click(tk::Control& sender);
  void FormClose(tk::Control& sender, tk::CloseAction& action);
  // Context menus of mmoList and mmoDel (list_menu.cpp); sender is the list.
  void mniCopyClick(tk::Control& sender);
  void mniSelectAllClick(tk::Control& sender);
  void mniSaveClick(tk::Control& sender);
  void mniLoadClick(tk::Control& sender);
  void mniUndoClick(tk::Control& sender);
  void mniRedoClick(tk::Control& sender);
  // Brings back the list as it was when the window last closed.
  void mniLoadKeptClick(tk::Control& sender);

  // The bet list's menu: 大底 operations with a file or the deletion list.
  void mniIntersectFileClick(tk::Control& sender);
  void mniMergeFileClick(tk::Control& sender);
  void mniDropFileClick(tk::Control& sender);
  void mniIntersectDelClick(tk::Control& sender);
  void mniDropDelClick(tk::Control& sender);
  void mniDropRepeatsClick(tk::Control& sender);

  // The bet list's menu: the conditions window, 组选 and its expansion.
  void mniFilterClick(tk::Control& sender);
  void mniGroupClick(tk::Control& sender);
  void mniExpandClick(tk::Control& sender);
  // The bet list's menu: the plays window (plays_form.cpp).
  void mniPlaysClick(tk::Control& sender);
  // Both lists' menu: the draws window.
  void mniDrawsClick(tk::Control& sender);
  // What the bet list holds: 组选 while it holds what 转为组选号码 made, with
  // lines taken out maybe, else 直选.
  core::BetKind BetListKind() const;
  numbers::BetType BetListType() const;

  // The conditions window while it is open (tests reach its controls here).
  TFormFilter* FormFilter = nullptr;
  // Its settings, kept for the rest of the run.
  numbers::FilterSettings FilterSettings;
  // The plays window while it is open, and its choice for the rest of the run.
  TFormPlays* FormPlays = nullptr;
  plays::Choice PlaysChoice;
  // The draws window while it is open (a window of its own: the main window
  // stays usable); nullptr once it has closed.
  TFormDraws* FormDraws = nullptr;

  // The steps of both lists, for 撤销 and 恢复.
  tk::History& ListHistory() { return history_; }

  // Tips state.
  bool TipsStarted = false;
  // The page the store fetches; tests point it at a local server.
  std::string TipsPageUrl;
  std::string CurrentTipLink;
  std::unique_ptr<qmWebTips> WebTips;
  // The fetch of the tips page while it runs off the window's thread;
  // dropping it abandons the fetch.
  std::unique_ptr<tk::Task> TipsFetch;

 private:
  numbers::DigitRow MakeRow(int firstBox, int edit) const;
  void GenerateFrom(int firstRow, tk::Control& button, const numbers::CountedList& target);
  numbers::CountedList Bets() { return {&mmoList, &lblCount, true}; }
  numbers::CountedList Deletions() { return {&mmoDel, &lblDelCnt}; }
  // The bet list or the deletion list, by its control.
  numbers::CountedList CountedOf(const tk::Control& list);
  void WireListMenus();
  tk::MenuItems ListMenu(tk::ListControl& list);
  // Shows a list's count, and the bet list's hint, after a step.
  void ListShown(tk::ListControl& list);
  // Writes both lists to the data folder, as the window closes.
  void KeepLists();
  std::string_view KeptFileOf(const tk::Control& list) const;
  void StartTips();
  void TipsArrived(std::string body);
  void ShowRandomTip();

  std::array<numbers::DigitRow, 6> rows_;
  tk::History history_;
  // The window closed while a step was open: the lists are kept when it ends.
  bool keepAfterStep_ = false;
  // The draws window, open or closed last; a closed one goes when the next
  // opens or this window does, never from inside its own handlers.
  std::unique_ptr<TFormDraws> draws_;
};
