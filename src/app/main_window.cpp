#include "app/main_window.h"

#include <map>
#include <string>

#include "app/config.h"
#include "app/draws_form.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "core/number.h"
#include "lists/groups.h"
#include "lists/lists.h"
#include "tips/tips_store.h"

std::string DefaultTipsPageUrl() {
  return "http://" QELMAR3D_TIPS_HOST "/tips.asp";
}

TForm1::TForm1(tk::Application& app)
    : tk::Form(app, app::MainFormSpec()),
      pnl3(Find("pnl3")),
      lblTips(Find("lblTips")),
      tmr1(Get<tk::Timer>("tmr1")),
      btnDel(Find("btnDel")),
      edtNum(Get<tk::Edit>("edtNum")),
      btnGet(Find("btnGet")),
      btnAll(Find("btnAll")),
      btnSel(Find("btnSel")),
      btnDelete(Find("btnDelete")),
      edtRight(Get<tk::Edit>("edtRight")),
      edtDel(Get<tk::Edit>("edtDel")),
      btn1(Find("btn1")),
      btn2(Find("btn2")),
      btn3(Find("btn3")),
      btn4(Find("btn4")),
      mmoList(Get<tk::ListControl>("mmoList")),
      mmoDel(Get<tk::ListControl>("mmoDel")),
      lblCount(Find("lblCount")),
      lblDelCnt(Find("lblDelCnt")),
      rows_{MakeRow(1, 1),  MakeRow(11, 2), MakeRow(21, 3),
            MakeRow(31, 4), MakeRow(41, 5), MakeRow(51, 6)},
      history_({&mmoList, &mmoDel}, [this](tk::ListControl& list) { ListShown(list); }) {
  using F = TForm1;
  static const std::map<std::string_view, void (F::*)(tk::Control&)> clicks = {
      {"chk1Click", &F::chk1Click},       {"chk11Click", &F::chk11Click},
      {"chk21Click", &F::chk21Click},     {"chk31Click", &F::chk31Click},
      {"chk41Click", &F::chk41Click},     {"chk51Click", &F::chk51Click},
      {"btnGetClick", &F::btnGetClick},   {"btnSelClick", &F::btnSelClick},
      {"btnAllClick", &F::btnAllClick},   {"btn3Click", &F::btn3Click},
      {"btn4Click", &F::btn4Click},       {"btn1Click", &F::btn1Click},
      {"btn2Click", &F::btn2Click},       {"btnDeleteClick", &F::btnDeleteClick},
      {"btnDelClick", &F::btnDelClick},   {"tmr1Timer", &F::tmr1Timer},
      {"lblTipsClick", &F::lblTipsClick}, {"lbl10Click", &F::lbl10Click},
      {"lbl12Click", &F::lbl12Click},
  };
  static const std::map<std::string_view, void (F::*)(tk::Control&, char32_t&)> keys = {
      {"edt1KeyPress", &F::edt1KeyPress},         {"edt2KeyPress", &F::edt2KeyPress},
      {"edt3KeyPress", &F::edt3KeyPress},         {"edt4KeyPress", &F::edt4KeyPress},
      {"edt5KeyPress", &F::edt5KeyPress},         {"edt6KeyPress", &F::edt6KeyPress},
      {"edtRightKeyPress", &F::edtRightKeyPress}, {"edtDelKeyPress", &F::edtDelKeyPress},
  };
  Wire(this, clicks, keys, &F::FormClose);
  WireListMenus();
  // lblCount tells the bet list's cost on hover.
  lblCount.SetShowHint(true);
  ListShown(mmoList);
  // What 删除号码 takes, on hover of the edit and the button.
  const std::string_view explain =
      "删除投注号码列表中由所输入的数字组成的每个三位号码，例如输入 12，删除 111、112、121、122、"
      "211、212、221、222；一个号码出现多次时全部删除。";
  for (tk::Control* c : {static_cast<tk::Control*>(&edtNum), &btnDel}) {
    c->SetHint(explain);
    c->SetShowHint(true);
  }
  TipsPageUrl = DefaultTipsPageUrl();
}

void TForm1::ListShown(tk::ListControl& list) {
  numbers::ShowList(CountedOf(list), numbers::BetTypeOf(history_.Tag(list)));
}

TForm1::~TForm1() = default;

numbers::DigitRow TForm1::MakeRow(int firstBox, int edit) const {
  numbers::DigitRow row;
  row.edit = &Get<tk::Edit>("edt" + std::to_string(edit));
  for (int d = 0; d < 10; ++d) {
    row.boxes[static_cast<std::size_t>(d)] =
        &Get<tk::CheckBox>("chk" + std::to_string(firstBox + d));
  }
  return row;
}

// ---- digit rows: every row's boxes and edit share one body ----

void TForm1::chk1Click(tk::Control& sender) {
  numbers::OnDigitBox(Row(0), sender);
}
void TForm1::chk11Click(tk::Control& sender) {
  numbers::OnDigitBox(Row(1), sender);
}
void TForm1::chk21Click(tk::Control& sender) {
  numbers::OnDigitBox(Row(2), sender);
}
void TForm1::chk31Click(tk::Control& sender) {
  numbers::OnDigitBox(Row(3), sender);
}
void TForm1::chk41Click(tk::Control& sender) {
  numbers::OnDigitBox(Row(4), sender);
}
void TForm1::chk51Click(tk::Control& sender) {
  numbers::OnDigitBox(Row(5), sender);
}
void TForm1::edt1KeyPress(tk::Control&, char32_t& key) {
  numbers::OnDigitKey(Row(0), key);
}
void TForm1::edt2KeyPress(tk::Control&, char32_t& key) {
  numbers::OnDigitKey(Row(1), key);
}
void TForm1::edt3KeyPress(tk::Control&, char32_t& key) {
  numbers::OnDigitKey(Row(2), key);
}
void TForm1::edt4KeyPress(tk::Control&, char32_t& key) {
  numbers::OnDigitKey(Row(3), key);
}
void TForm1::edt5KeyPress(tk::Control&, char32_t& key) {
  numbers::OnDigitKey(Row(4), key);
}
void TForm1::edt6KeyPress(tk::Control&, char32_t& key) {
  numbers::OnDigitKey(Row(5), key);
}

// ---- generation ----

void TForm1::GenerateFrom(int firstRow, tk::Control& button, const numbers::CountedList& target) {
  numbers::GenerateCombinations(
      App(), {Row(firstRow).edit, Row(firstRow + 1).edit, Row(firstRow + 2).edit}, button, target);
}

// Every handler that changes a list is one step of its history, named as
// the user knows it; a new list of 直选 numbers is no 组选 list any more.
using Step = tk::History::Step;

void TForm1::btnGetClick(tk::Control&) {
  Step step(history_, "生成直选号码", {&mmoList});
  step.SetTag(mmoList, numbers::TagOf(numbers::kDirectBets));
  GenerateFrom(0, btnGet, Bets());
}
void TForm1::btnSelClick(tk::Control&) {
  Step step(history_, "生成删除号码", {&mmoDel});
  GenerateFrom(3, btnSel, Deletions());
}
void TForm1::btnAllClick(tk::Control&) {
  Step step(history_, "生成所有号码", {&mmoList});
  step.SetTag(mmoList, numbers::TagOf(numbers::kDirectBets));
  numbers::GenerateAll(btnAll, Bets());
}

// ---- editing ----

void TForm1::edtRightKeyPress(tk::Control&, char32_t& key) {
  numbers::FilterNumberKey(key);
}
void TForm1::edtDelKeyPress(tk::Control&, char32_t& key) {
  numbers::FilterNumberKey(key);
}
void TForm1::btn3Click(tk::Control&) {
  Step step(history_, "添加直选号码", {&mmoList});
  numbers::AddTypedNumber(App(), edtRight, Bets());
}
void TForm1::btn4Click(tk::Control&) {
  Step step(history_, "添加删除号码", {&mmoDel});
  numbers::AddTypedNumber(App(), edtDel, Deletions());
}
void TForm1::btn1Click(tk::Control&) {
  Step step(history_, "删除一行", {&mmoList});
  numbers::RemoveLineAtCaret(Bets());
}
void TForm1::btn2Click(tk::Control&) {
  Step step(history_, "删除一行", {&mmoDel});
  numbers::RemoveLineAtCaret(Deletions());
}

void TForm1::btnDeleteClick(tk::Control&) {
  Step step(history_, "删除确认", {&mmoList});
  numbers::ApplyDeletionList(App(), btnDelete, Bets(), mmoDel);
}

void TForm1::btnDelClick(tk::Control&) {
  {
    // One step for the whole run, recorded when it ends; what other
    // handlers do to the bet list meanwhile joins it.
    Step step(history_, "删除号码", {&mmoList});
    numbers::RemoveSpelledNumbers(App(), edtNum, btnDel, Bets());
  }
  if (keepAfterStep_ && !history_.Busy(mmoList)) KeepLists();
}

// ---- links and closing ----

void TForm1::lbl10Click(tk::Control&) {
  App().OpenLink(QELMAR3D_HOME_URL);
}
void TForm1::lbl12Click(tk::Control&) {
  App().OpenLink(QELMAR3D_UPDATE_URL);
}

void TForm1::FormClose(tk::Control&, tk::CloseAction&) {
  // The draws window goes with the main window, keeping what it keeps.
  if (FormDraws != nullptr) FormDraws->Close();
  // A fetch still running is abandoned: nothing is written after closing.
  TipsFetch.reset();
  WebTips.reset();
  // A 删除号码 run goes on to its end: the lists are kept after it.
  if (history_.Busy(mmoList) || history_.Busy(mmoDel)) {
    keepAfterStep_ = true;
  } else {
    KeepLists();
  }
}

// ---- the bet list's menu ----

void TForm1::mniFilterClick(tk::Control&) {
  if (mmoList.LineCount() == 0) {
    App().ShowNotice(numbers::kEmptyBetList);
    return;
  }
  // Whatever the window does to either list is one step.
  Step step(history_, "条件过滤", {&mmoList, &mmoDel});
  TFormFilter dialog(App(), Bets(), Deletions());
  dialog.Restore(FilterSettings);
  // The settings stay however the window closes, even when its loop fails.
  struct RememberSettings {
    TForm1& form;
    TFormFilter& dialog;
    ~RememberSettings() {
      form.FilterSettings = dialog.Settings();
      form.FormFilter = nullptr;
    }
  } remember{*this, dialog};
  FormFilter = &dialog;
  App().ShowModal(dialog, *this);
}

void TForm1::mniGroupClick(tk::Control&) {
  if (mmoList.LineCount() == 0) {
    App().ShowNotice(numbers::kEmptyBetList);
    return;
  }
  Step step(history_, "转为组选号码", {&mmoList});
  int baozi = BetListType().baoziDropped;
  for (const auto& l : mmoList.Lines()) {
    const int n = core::ParseNumber(l);
    if (n != core::kNoNumber && core::ShapeOf(n) == core::Shape::kBaozi) ++baozi;
  }
  mmoList.ReplaceLines(numbers::ToGroups(mmoList.Lines()));
  numbers::ShowCount(Bets(), mmoList.LineCount());
  step.SetTag(mmoList, numbers::TagOf(numbers::GroupBets(baozi)), true);
}

void TForm1::mniExpandClick(tk::Control&) {
  if (mmoList.LineCount() == 0) {
    App().ShowNotice(numbers::kEmptyBetList);
    return;
  }
  Step step(history_, "组选展开为直选", {&mmoList});
  mmoList.ReplaceLines(numbers::ExpandGroups(mmoList.Lines()));
  numbers::ShowCount(Bets(), mmoList.LineCount());
  step.SetTag(mmoList, numbers::TagOf(numbers::kDirectBets), true);
}

numbers::BetType TForm1::BetListType() const {
  return numbers::BetTypeOf(history_.Tag(mmoList));
}

core::BetKind TForm1::BetListKind() const {
  return BetListType().kind;
}

void TForm1::mniDrawsClick(tk::Control&) {
  // One window: opened again, it comes to the front.
  if (FormDraws != nullptr) {
    App().OpenWindow(*FormDraws, *this);
    return;
  }
  draws_.reset();
  draws_ = std::make_unique<TFormDraws>(App(), mmoList, [this] { return BetListKind(); });
  TFormDraws& window = *draws_;
  tk::CloseHandler own = std::move(window.OnClose);
  window.OnClose = [this, own](tk::Control& sender, tk::CloseAction& action) {
    struct Gone {
      TForm1& form;
      ~Gone() { form.FormDraws = nullptr; }
    } gone{*this};
    if (own) own(sender, action);
  };
  FormDraws = &window;
  App().OpenWindow(window, *this, window.OpeningSize());
}
