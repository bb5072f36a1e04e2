#include "app/draws_form.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "app/draws_table.h"
#include "app/draws_window_state.h"
#include "core/notice.h"
#include "core/number.h"
#include "core/tokens.h"
#include "lists/lists.h"

namespace {

// The picked row's frame.
constexpr std::uint32_t kPickedColour = 0xFF8C00;

// "第 2024001 期（2024-01-01，357）", the date when known.
std::string Described(const numbers::Draw& d) {
  return "第 " + numbers::IssueText(d) + " 期（" + (d.date.empty() ? "" : d.date + "，") +
         core::NumberText(d.number) + "）";
}

struct PrizeEdit {
  std::string_view name;
  tk::Edit* edit;
  int numbers::Prizes::*value;
};

std::array<PrizeEdit, 3> PrizeEdits(TFormDraws& f) {
  return {PrizeEdit{"直选", &f.edtDirect, &numbers::Prizes::direct},
          PrizeEdit{"组三", &f.edtGroup3, &numbers::Prizes::group3},
          PrizeEdit{"组六", &f.edtGroup6, &numbers::Prizes::group6}};
}

}  // namespace

TFormDraws::TFormDraws(tk::Application& app, const tk::ListControl& bets,
                       std::function<core::BetKind()> kindOf)
    : tk::Form(app, app::DrawsFormSpec()),
      cboShown(Get<tk::ComboBox>("cboShown")),
      cnvChart(Get<tk::Canvas>("cnvChart")),
      lblDrawCount(Find("lblDrawCount")),
      edtIssue(Get<tk::Edit>("edtIssue")),
      edtDate(Get<tk::Edit>("edtDate")),
      edtNumber(Get<tk::Edit>("edtNumber")),
      edtCheck(Get<tk::Edit>("edtCheck")),
      edtDirect(Get<tk::Edit>("edtDirect")),
      edtGroup3(Get<tk::Edit>("edtGroup3")),
      edtGroup6(Get<tk::Edit>("edtGroup6")),
      lblResult(Find("lblResult")),
      lblWinners(Find("lblWinners")),
      bets_(bets),
      kindOf_(std::move(kindOf)),
      folder_(app.GetPlatform().DataFolder()),
      store_(app.GetPlatform()) {
  using F = TFormDraws;
  static const std::map<std::string_view, void (F::*)(tk::Control&)> clicks = {
      {"cboShownChange", &F::cboShownChange},         {"cnvChartClick", &F::cnvChartClick},
      {"btnUpdateClick", &F::btnUpdateClick},         {"btnImportClick", &F::btnImportClick},
      {"btnPasteClick", &F::btnPasteClick},           {"btnSaveChartClick", &F::btnSaveChartClick},
      {"btnDeleteDrawClick", &F::btnDeleteDrawClick}, {"btnAddDrawClick", &F::btnAddDrawClick},
      {"btnCheckClick", &F::btnCheckClick},           {"edtCheckChange", &F::edtCheckChange},
      {"btnDrawsCloseClick", &F::btnDrawsCloseClick},
  };
  Wire<F>(this, clicks, {}, &F::FormClose);
  edtIssue.SetHint("期号，" + numbers::IssueForm());
  edtDate.SetHint("日期，可不填，如 2024-01-01");
  edtNumber.SetHint("开奖号码，三位数字，如 357");
  edtCheck.SetHint("要对奖的开奖号码，三位数字");
  Find("btnDeleteDraw").SetHint("删除在走势图中点选的一期；未点选时删除最新一期");
  Find("btnPaste").SetHint("从剪贴板粘贴开奖号码，每行：期号 日期（可省） 号码");
  std::vector<std::string> items(app::kShownItems.begin(), app::kShownItems.end());
  cboShown.SetItems(std::move(items));
  LoadDraws();
  LoadPrizes();
  edtDirect.SetText(std::to_string(prizes_.direct));
  edtGroup3.SetText(std::to_string(prizes_.group3));
  edtGroup6.SetText(std::to_string(prizes_.group6));
  LoadWindowState();  // shows the chart
  // The selection was the same already: the chart is built here.
  if (!chart_) Show(true);
}

std::string TFormDraws::PathOf(std::string_view name) const {
  return folder_ + std::string(name);
}

void TFormDraws::LoadWindowState() {
  app::DrawsWindowState state;
  const std::string path = PathOf(app::kDrawsWindowFileName);
  tk::Platform& platform = App().GetPlatform();
  // A file that is missing, unreadable or damaged opens the window as designed.
  try {
    if (!folder_.empty() && platform.FilePresent(path)) {
      state = app::ReadDrawsWindowFile(platform.ReadFileBytes(path, app::kDrawsWindowFileMaxBytes));
    }
  } catch (const tk::Error&) {
  }
  openingSize_ = state.client;
  cboShown.SetSelected(state.shown >= 0 ? state.shown : app::kShownDefault);
}

void TFormDraws::KeepWindowState() {
  if (folder_.empty()) return;
  const app::DrawsWindowState state{App().ClientSize(*this), cboShown.Selected()};
  // Like the lists kept at close, a failed write is dropped.
  try {
    App().GetPlatform().ReplaceFileBytes(PathOf(app::kDrawsWindowFileName),
                                         app::DrawsWindowFileBytes(state));
  } catch (const tk::Error&) {
  }
}

void TFormDraws::LoadDraws() {
  const std::string& problem = store_.Problem();
  if (problem.empty()) return;
  // draws.txt is written over only once a copy of it is safe: nothing the
  // user kept is lost.
  const std::size_t lines = store_.LinesLeftOut();
  if (store_.SetAsideUnreadable()) {
    if (lines > 0) {
      App().ShowNotice("保存的开奖号码中有 " + std::to_string(lines) +
                       " 行无法读取，已连同行号移到 " + std::string(numbers::kBadDrawsFileName) +
                       "，其余 " + std::to_string(Draws().size()) + " 期照常载入。" + problem);
      return;
    }
    App().ShowNotice("无法读取保存的开奖号码：" + problem + "原文件已另存为 " +
                     std::string(numbers::kBadDrawsFileName) + "，开奖号码从空白开始。");
  } else {
    App().ShowNotice("无法读取保存的开奖号码：" + problem + "本次的改动不会保存，以免覆盖原文件。");
  }
}

void TFormDraws::LoadPrizes() {
  if (folder_.empty()) return;
  tk::Platform& platform = App().GetPlatform();
  const std::string path = PathOf(numbers::kPrizesFileName);
  if (!platform.FilePresent(path)) return;
  std::string problem;
  try {
    const core::Read<numbers::Prizes> read =
        numbers::ReadPrizesFile(platform.ReadFileBytes(path, numbers::kPrizesFileMaxBytes));
    if (read.Ok()) {
      prizes_ = read.value;
      return;
    }
    problem = read.refusal;
  } catch (const tk::Error& e) {
    problem = e.what();
  }
  const numbers::Prizes standard;
  App().ShowNotice(problem + "奖金按默认的直选 " + std::to_string(standard.direct) + "、组三 " +
                   std::to_string(standard.group3) + "、组六 " + std::to_string(standard.group6) +
                   " 元计。");
}

void TFormDraws::AddRead(const core::Read<std::vector<numbers::Draw>>& read,
                         std::size_t datesLeftOut) {
  if (!read.Ok()) {
    App().ShowNotice(read.refusal);
    return;
  }
  std::vector<numbers::Draw> next = Draws();
  const std::string refusal = numbers::MergeDraws(next, read.value);
  if (!refusal.empty()) {
    App().ShowNotice(refusal);
    return;
  }
  if (next == Draws()) return;
  store_.Keep(std::move(next));
  Show(true);
  if (datesLeftOut > 0) {
    App().ShowNotice("已读入 " + std::to_string(read.value.size()) + " 期，其中 " +
                     std::to_string(datesLeftOut) + " 期的日期无法识别，已略去日期。");
  }
}

void TFormDraws::Show(bool toEnd) {
  const int choice = std::max(cboShown.Selected(), 0);
  const std::vector<numbers::Draw>& draws = Draws();
  chart_.emplace(draws, app::kShownCounts[static_cast<std::size_t>(choice)]);
  if (selected_ && numbers::FindDraw(draws, *selected_) == nullptr) selected_.reset();
  cnvChart.SetContent({chart_->Width(), chart_->Height()}, chart_->RowY(0),
                      [this](int top, int bottom) { return Band(top, bottom); });
  if (toEnd) cnvChart.ScrollToEnd();
  // The 对奖 edit follows the latest draw.
  const std::optional<std::uint32_t> latest =
      draws.empty() ? std::nullopt : std::optional(draws.back().issue);
  if (latest && latest != latest_) edtCheck.SetText(core::NumberText(draws.back().number));
  latest_ = latest;
  ShowStatus();
}

void TFormDraws::ShowStatus() {
  const std::vector<numbers::Draw>& draws = Draws();
  std::string text;
  if (draws.empty()) {
    text = "还没有开奖号码：可从文本文件导入、粘贴，或逐期添加。";
  } else {
    text = "共 " + std::to_string(draws.size()) + " 期，最新 " + Described(draws.back());
    if (selected_) text += "；已选中第 " + std::to_string(*selected_) + " 期";
  }
  if (!store_.HasFolder()) {
    text += "（没有数据文件夹，开奖号码不会保存）";
  } else if (!store_.Saved()) {
    text += "（改动不会保存）";
  }
  lblDrawCount.SetText(text);
}

tk::Drawing TFormDraws::Band(int top, int bottom) const {
  tk::Drawing ops = chart_->Paint(top, bottom);
  if (!selected_) return ops;
  // The picked row, framed.
  const int shown = chart_->DrawRows();
  const std::vector<numbers::Draw>& draws = Draws();
  const std::size_t first = draws.size() - static_cast<std::size_t>(shown);
  for (int r = chart_->RowAt(top); r <= chart_->RowAt(bottom - 1) && r < shown; ++r) {
    if (draws[first + static_cast<std::size_t>(r)].issue != *selected_) continue;
    const int y1 = chart_->RowY(r);
    const int y2 = chart_->RowY(r + 1) - 2;
    const int x2 = chart_->Width() - 2;
    for (const auto& [a, b, c, d] : {std::array{0, y1, x2, y1}, std::array{0, y2, x2, y2},
                                     std::array{0, y1, 0, y2}, std::array{x2, y1, x2, y2}}) {
      ops.push_back(tk::DrawOp::Line(a, b, c, d, 2, kPickedColour));
    }
  }
  return ops;
}

void TFormDraws::cboShownChange(tk::Control&) {
  Show(true);
}

void TFormDraws::cnvChartClick(tk::Control&) {
  const int y = cnvChart.ClickY();
  const int shown = chart_->DrawRows();
  std::optional<std::uint32_t> picked;
  if (y >= chart_->RowY(0) && y < chart_->RowY(shown)) {
    const std::size_t first = Draws().size() - static_cast<std::size_t>(shown);
    picked = Draws()[first + static_cast<std::size_t>(chart_->RowAt(y))].issue;
  }
  if (picked == selected_) return;
  selected_ = picked;
  cnvChart.Redraw();
  ShowStatus();
}

void TFormDraws::btnImportClick(tk::Control&) {
  tk::FileRequest request;
  request.title = "导入开奖号码";
  const std::string path = App().AskFilePath(request);
  if (path.empty()) return;
  const std::string bytes = App().GetPlatform().ReadFileBytes(path, numbers::kDrawsTextMaxBytes);
  const numbers::DrawsRead read = numbers::ReadDrawsFile(bytes, core::FileNameOf(path));
  AddRead(read, read.datesLeftOut);
}

void TFormDraws::btnPasteClick(tk::Control&) {
  const numbers::DrawsRead read = numbers::ReadDraws(App().ClipboardText());
  AddRead(read, read.datesLeftOut);
}

void TFormDraws::btnAddDrawClick(tk::Control&) {
  const core::Read<numbers::Draw> typed =
      numbers::DrawFromFields(edtIssue.Text(), edtDate.Text(), edtNumber.Text());
  if (!typed.Ok()) {
    App().ShowNotice(typed.refusal + "，未添加。");
    return;
  }
  AddRead({{typed.value}, {}});
  // Kept: the edits are ready for the next draw.
  const numbers::Draw* kept = numbers::FindDraw(Draws(), typed.value.issue);
  if (kept != nullptr && kept->number == typed.value.number) {
    edtIssue.SetText("");
    edtDate.SetText("");
    edtNumber.SetText("");
    edtIssue.GiveFocus();
  }
}

void TFormDraws::btnDeleteDrawClick(tk::Control&) {
  if (Draws().empty()) {
    App().ShowNotice("还没有开奖号码，没有可删除的。");
    return;
  }
  const numbers::Draw* target = selected_ ? numbers::FindDraw(Draws(), *selected_) : nullptr;
  if (target == nullptr) target = &Draws().back();
  if (!App().Ask("删除" + Described(*target) + "吗？")) return;
  std::vector<numbers::Draw> next = Draws();
  numbers::DeleteDraw(next, target->issue);
  store_.Keep(std::move(next));
  selected_.reset();
  Show(false);
}

void TFormDraws::btnSaveChartClick(tk::Control&) {
  if (Draws().empty()) {
    App().ShowNotice("还没有开奖号码，没有走势图可保存。");
    return;
  }
  int rows = chart_->DrawRows();
  if (rows > kPictureRows) {
    App().ShowNotice("走势图图片只保存最近 " + std::to_string(kPictureRows) + " 期。");
    rows = kPictureRows;
  }
  tk::FileRequest request;
  request.save = true;
  request.title = "保存走势图";
  request.fileName = "走势图.png";
  request.filter = "PNG 图片 (*.png)";
  request.extension = "png";
  const std::string path = App().AskFilePath(request);
  if (path.empty()) return;
  const numbers::TrendChart chart(Draws(), rows);
  const std::string png =
      cnvChart.Picture(chart.Paint(0, chart.Height()), chart.Width(), chart.Height());
  if (png.empty()) throw tk::Error("无法生成走势图图片。");
  App().GetPlatform().ReplaceFileBytes(path, png);
}

std::optional<numbers::Prizes> TFormDraws::TypedPrizes() {
  numbers::Prizes p;
  for (const PrizeEdit& e : PrizeEdits(*this)) {
    const int value = numbers::ParsePrize(e.edit->Text());
    if (value < 0) {
      App().ShowNotice(std::string(e.name) + "奖金应为 1 到 " +
                       numbers::WithThousands(numbers::kMaxPrize) + " 元的整数。");
      e.edit->GiveFocus();
      return std::nullopt;
    }
    p.*e.value = value;
  }
  return p;
}

void TFormDraws::KeepPrizes(const numbers::Prizes& prizes) {
  if (prizes == prizes_) return;
  if (!folder_.empty()) {
    App().GetPlatform().ReplaceFileBytes(PathOf(numbers::kPrizesFileName),
                                         numbers::PrizesFileBytes(prizes));
  }
  prizes_ = prizes;
}

void TFormDraws::btnCheckClick(tk::Control&) {
  const std::optional<numbers::Prizes> prizes = TypedPrizes();
  if (!prizes) return;
  const int drawn = core::OneNumber(edtCheck.Text());
  if (drawn == core::kNoNumber) {
    App().ShowNotice("开奖号码应为三位数字，如 357。");
    edtCheck.GiveFocus();
    return;
  }
  if (bets_.LineCount() == 0) {
    App().ShowNotice(numbers::kEmptyBetList);
    return;
  }
  // The check goes on with the prizes typed even when they cannot be kept.
  try {
    KeepPrizes(*prizes);
  } catch (const tk::Error& e) {
    App().ShowError(e.what());
  }
  const numbers::PrizeCheck check = numbers::CheckBets(bets_.Lines(), kindOf_(), drawn, *prizes);
  lblResult.SetText(check.text);
  std::string winners = "中奖号码：";
  if (check.shown.empty()) winners += "无";
  for (std::size_t i = 0; i < check.shown.size(); ++i) {
    if (i > 0) winners += ' ';
    winners += check.shown[i];
  }
  if (check.more > 0) winners += "，另有 " + numbers::WithThousands(check.more) + " 注";
  lblWinners.SetText(winners);
}

void TFormDraws::edtCheckChange(tk::Control&) {
  // A result stands for the number it was checked with only.
  lblResult.SetText("");
  lblWinners.SetText("");
}

void TFormDraws::btnDrawsCloseClick(tk::Control&) {
  Close();
}

void TFormDraws::FormClose(tk::Control&, tk::CloseAction&) {
  update_.reset();  // a fetch under way is abandoned: nothing changes
  // Prizes typed and never checked are kept too; one that is not valid stays as it was.
  numbers::Prizes p = prizes_;
  std::string refused;
  for (const PrizeEdit& e : PrizeEdits(*this)) {
    const int value = numbers::ParsePrize(e.edit->Text());
    if (value > 0) {
      p.*e.value = value;
    } else if (refused.empty()) {
      refused = std::string(e.name) + "奖金“" + e.edit->Text() + "”无效，仍为 " +
                std::to_string(prizes_.*e.value) + " 元。";
    }
  }
  KeepWindowState();
  if (!refused.empty()) App().ShowNotice(refused);
  KeepPrizes(p);
}
