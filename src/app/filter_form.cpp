#include "app/filter_form.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/backtest_form.h"
#include "app/filter_table.h"
#include "conditions/condition_table.h"
#include "conditions/scheme.h"
#include "core/number.h"
#include "core/text.h"
#include "draws/draws.h"
#include "toolkit/ask_text.h"

namespace {

using numbers::Condition;
using numbers::SettingControl;

// Each input and box with the box of the condition it belongs to. The
// options of 胆码 say how, not whether: choosing one ticks nothing.
const std::map<std::string_view, std::string_view>& Owners() {
  static const std::map<std::string_view, std::string_view> owners = [] {
    std::map<std::string_view, std::string_view> m;
    for (const Condition& c : numbers::Conditions()) {
      for (const SettingControl& part : c.parts) {
        if (part.kind != SettingControl::Kind::kOption) m[part.control] = c.box;
      }
    }
    return m;
  }();
  return owners;
}

// The summary on its one line: wide characters (Chinese, fullwidth forms)
// take two columns of the half-width ones the face draws 7 pixels wide at
// 14; what does not fit ends in "…" and the hint holds all of it.
constexpr int kSummaryColumns = 124;

std::string FitSummary(const std::string& text) {
  int columns = 0;
  std::size_t cut = 0;  // where "…" goes if the whole does not fit
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = core::CharLength(text, i);
    const char32_t c = core::DecodeChar(std::string_view(text).substr(i, n));
    columns += c >= 0x1100 ? 2 : 1;
    if (columns <= kSummaryColumns - 2) cut = i + n;
    i += n;
  }
  return columns <= kSummaryColumns ? text : text.substr(0, cut) + "…";
}

bool Blank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

}  // namespace

TFormFilter::TFormFilter(tk::Application& app, const numbers::CountedList& bets,
                         const numbers::CountedList& deletions)
    : tk::Form(app, app::FilterFormSpec()),
      lblFilterCount(Find("lblFilterCount")),
      lblFilterSummary(Find("lblFilterSummary")),
      btnFilterDelete(Find("btnFilterDelete")),
      btnFilterToDel(Find("btnFilterToDel")),
      btnFilterCancel(Find("btnFilterCancel")),
      cboScheme(Get<tk::ComboBox>("cboScheme")),
      btnFilterBacktest(Find("btnFilterBacktest")),
      bets_(bets),
      deletions_(deletions),
      tally_(numbers::TallyLines(bets.list->Lines())) {
  using F = TFormFilter;
  static const std::map<std::string_view, void (F::*)(tk::Control&)> clicks = {
      {"SettingChanged", &F::SettingChanged},
      {"btnFilterDeleteClick", &F::btnFilterDeleteClick},
      {"btnFilterToDelClick", &F::btnFilterToDelClick},
      {"btnFilterCancelClick", &F::btnFilterCancelClick},
      {"btnFilterBacktestClick", &F::btnFilterBacktestClick},
      {"cboSchemeChange", &F::cboSchemeChange},
      {"btnSchemeSaveClick", &F::btnSchemeSaveClick},
      {"btnSchemeDeleteClick", &F::btnSchemeDeleteClick},
      {"btnSchemeExportClick", &F::btnSchemeExportClick},
      {"btnSchemeImportClick", &F::btnSchemeImportClick},
  };
  Wire<F>(this, clicks, {}, nullptr);
  Find("edtSum").SetHint("和值 0–27，如 10-14,18");
  Find("edtSpan").SetHint("跨度 0–9，如 0-2,5");
  Find("edtTail").SetHint("和尾 0–9，如 0-2,5");
  Find("edtRoad").SetHint("除 3 余 0、1、2 的数字各几个，如 1:1:1,2:1:0");
  Find("edtDan").SetHint("必须出现的数字，如 1,5");
  Find("edtKill").SetHint("不能出现的数字，如 4,7");
  Find("edtPosH").SetHint("百位可以是的数字，如 12；空着表示不限");
  Find("edtPosT").SetHint("十位可以是的数字，如 0 5；空着表示不限");
  Find("edtPosU").SetHint("个位可以是的数字，如 3；空着表示不限");
  Find("edtPair").SetHint("号码中要同时出现的两个数字，两位一组，如 12 35（77 为两个 7）");
  Find("edtPairSum").SetHint("任意两位数字之和的个位 0–9，如 0-2,5");
  Find("edtPairDiff").SetHint("任意两位数字之差 0–9，如 0,9");
  Find("edtDzx").SetHint("大（7–9）、中（3–6）、小（0–2）数字各几个，如 1:1:1,2:1:0");
  Find("edtTolerance").SetHint("号码最多可以不符合几个已选条件，如 1；空着为 0");
  Find("chkPrime").SetHint("质数 1 2 3 5 7，合数 0 4 6 8 9");
  btnFilterBacktest.SetHint("这些条件在已保存的开奖号码上会保留多少期的开奖号码");
  Find("chkRun").SetHint(
      "全顺：三个数字相连，如 123、213、789（890、901 不算）；"
      "半顺：有两个数字相差 1；非顺：其余");
  ReadLatestDraw();
  if (SchemeFolder().empty()) {
    for (std::string_view name :
         {"cboScheme", "btnSchemeSave", "btnSchemeDelete", "btnSchemeExport", "btnSchemeImport"}) {
      Find(name).SetEnabled(false);
    }
    cboScheme.SetHint("没有存放方案的文件夹，本次不能保存方案");
  } else {
    cboScheme.SetHint("选择一个方案，把它的条件填入窗口");
    ListSchemes();
  }
  Restore({});
}

void TFormFilter::ReadLatestDraw() {
  draw_.clear();
  const numbers::DrawStore store(App().GetPlatform());
  history_.clear();
  history_.reserve(store.Draws().size());
  for (const numbers::Draw& d : store.Draws())
    history_.push_back({numbers::IssueText(d), d.number});
  std::string why(numbers::kRepeatNoDraw);
  if (const numbers::Draw* latest = store.Latest()) {
    draw_ = core::NumberText(latest->number);
    why = "与最近一期（第 " + numbers::IssueText(*latest) + " 期，" + draw_ + "）相同的数字有几个";
  } else if (!store.Problem().empty()) {
    why = store.Problem();
  }
  tk::Control& label = Find("lblRepeatDraw");
  label.SetText(draw_.empty() ? "无开奖号码" : "最近一期 " + draw_);
  label.SetHint(why);
  Find("chkRepeat").SetHint(why);
}

numbers::FilterSettings TFormFilter::Settings() const {
  numbers::FilterSettings s;
  auto read = [&](const SettingControl& part) {
    if (part.kind == SettingControl::Kind::kInput) {
      numbers::TextOf(s, part) = Find(part.control).Text();
    } else {
      numbers::FlagOf(s, part) = Box(part.control);
    }
  };
  for (const Condition& c : numbers::Conditions()) {
    s.*c.ticked = Box(c.box);
    for (const SettingControl& part : c.parts) read(part);
  }
  read(numbers::kToleranceSetting);
  read(numbers::kModeSetting);
  s.repeatDraw = draw_;
  return s;
}

void TFormFilter::Restore(const numbers::FilterSettings& s) {
  restoring_ = true;
  const auto box = [&](std::string_view name, bool on) { Get<tk::CheckBox>(name).SetChecked(on); };
  auto show = [&](const SettingControl& part) {
    switch (part.kind) {
      case SettingControl::Kind::kInput:
        Find(part.control).SetText(numbers::TextOf(s, part));
        break;
      case SettingControl::Kind::kBox:
        box(part.control, numbers::FlagOf(s, part));
        break;
      case SettingControl::Kind::kOption:
        box(numbers::FlagOf(s, part) ? part.control : part.other, true);
        break;
    }
  };
  for (const Condition& c : numbers::Conditions()) {
    box(c.box, s.*c.ticked);
    for (const SettingControl& part : c.parts) show(part);
  }
  show(numbers::kToleranceSetting);
  show(numbers::kModeSetting);
  restoring_ = false;
  Recount();
}

void TFormFilter::SettingChanged(tk::Control& sender) {
  if (restoring_) return;
  TickOwner(sender);
  Recount();
}

void TFormFilter::TickOwner(const tk::Control& sender) {
  const auto owner = Owners().find(sender.Name());
  if (owner == Owners().end()) return;
  bool tick = false;
  if (sender.GetKind() != tk::Kind::Edit) {
    // Unticking one of its boxes leaves the condition as it is.
    if (!dynamic_cast<const tk::CheckBox&>(sender).Checked()) return;
    tick = true;
  } else if (!Blank(sender.Text())) {
    tick = true;
  } else if (!InputsBlank(owner->second)) {
    return;  // 定位 with another place still typed
  }
  // The condition's own handler would count again: once is enough.
  restoring_ = true;
  Get<tk::CheckBox>(owner->second).SetChecked(tick);
  restoring_ = false;
}

bool TFormFilter::InputsBlank(std::string_view box) const {
  for (const Condition& c : numbers::Conditions()) {
    if (c.box != box) continue;
    for (const SettingControl& part : c.parts) {
      if (part.kind == SettingControl::Kind::kInput && !Blank(Find(part.control).Text()))
        return false;
    }
  }
  return true;
}

void TFormFilter::EnableRepeat() {
  const bool draw = !draw_.empty();
  for (const Condition& c : numbers::Conditions()) {
    if (c.ticked != &numbers::FilterSettings::repeat) continue;
    Find(c.box).SetEnabled(draw || Box(c.box));
    for (const SettingControl& part : c.parts) Find(part.control).SetEnabled(draw);
  }
}

void TFormFilter::Recount() {
  const numbers::FilterSettings s = Settings();
  const numbers::CompiledFilter filter = numbers::CompileFilter(s);
  const std::string summary = numbers::FilterSummary(s);
  lblFilterSummary.SetText(FitSummary(summary));
  lblFilterSummary.SetHint(summary);
  bool act = false;
  if (!filter.error.empty()) {
    lblFilterCount.SetText(filter.error);
  } else {
    const numbers::FilterCounts n = numbers::CountFilter(tally_, filter, s.dropMatching);
    lblFilterCount.SetText(numbers::FilterCountText(n));
    act = n.going > 0;
  }
  btnFilterDelete.SetEnabled(act);
  btnFilterToDel.SetEnabled(act);
  btnFilterBacktest.SetEnabled(filter.error.empty() && !history_.empty());
  EnableRepeat();
}

std::vector<bool> TFormFilter::Going() {
  return numbers::LinesThatGo(bets_.list->Lines(), numbers::CompileFilter(Settings()),
                              Box("rdoDrop"));
}

void TFormFilter::btnFilterDeleteClick(tk::Control&) {
  const std::vector<bool> going = Going();
  const std::vector<std::string>& lines = bets_.list->Lines();
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!going[i]) kept.push_back(lines[i]);
  }
  if (kept.size() == lines.size()) return;  // the buttons are off then; nothing to do
  bets_.list->ReplaceLines(std::move(kept));
  numbers::ShowCount(bets_, bets_.list->LineCount());
  Close();
}

void TFormFilter::btnFilterToDelClick(tk::Control&) {
  const std::vector<bool> going = Going();
  const std::vector<std::string>& lines = bets_.list->Lines();
  std::vector<std::string> gone;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (going[i]) gone.push_back(lines[i]);
  }
  if (gone.empty()) return;
  deletions_.list->ReplaceLines(std::move(gone));
  numbers::ShowCount(deletions_, deletions_.list->LineCount());
  Close();
}

void TFormFilter::btnFilterCancelClick(tk::Control&) {
  Close();
}

void TFormFilter::btnFilterBacktestClick(tk::Control&) {
  if (history_.empty()) return;
  TFormBacktest window(App(), Settings(), history_);
  struct Forget {
    TFormFilter& form;
    ~Forget() { form.FormBacktest = nullptr; }
  } forget{*this};
  FormBacktest = &window;
  App().ShowModal(window, *this);
}

// ---- 方案 ----

std::string TFormFilter::SchemeFolder() const {
  const std::string data = App().GetPlatform().DataFolder();
  if (data.empty()) return {};
  return data + std::string(kSchemeFolderName) + data.back();
}

std::string TFormFilter::SchemePath(const std::string& name) const {
  return SchemeFolder() + numbers::SchemeFileName(name);
}

std::string TFormFilter::ChosenFile() const {
  const int i = cboScheme.Selected();
  return i < 0 ? std::string() : schemeFiles_[static_cast<std::size_t>(i)];
}

void TFormFilter::ListSchemes(const std::string& select) {
  // By name; of two files with one name (a.txt and a.TXT) the first.
  std::map<std::string, std::string> files;
  for (std::string& file : App().GetPlatform().FilesIn(SchemeFolder(), ".txt")) {
    files.emplace(numbers::SchemeNameOfFile(file), std::move(file));
  }
  std::vector<std::string> names;
  schemeFiles_.clear();
  for (auto& [name, file] : files) {
    names.push_back(name);
    schemeFiles_.push_back(std::move(file));
  }
  const auto at = std::find(names.begin(), names.end(), select);
  const int index = select.empty() || at == names.end() ? -1 : static_cast<int>(at - names.begin());
  restoring_ = true;
  cboScheme.SetItems(std::move(names));
  cboScheme.SetSelected(index);
  restoring_ = false;
  chosenScheme_ = index;
  EnableSchemeButtons();
}

void TFormFilter::EnableSchemeButtons() {
  const bool chosen = cboScheme.Selected() >= 0;
  Find("btnSchemeDelete").SetEnabled(chosen);
  Find("btnSchemeExport").SetEnabled(chosen);
}

void TFormFilter::cboSchemeChange(tk::Control&) {
  if (restoring_ || cboScheme.Selected() < 0) return;
  const std::string fileName = ChosenFile();
  core::Read<numbers::FilterSettings> file;
  try {
    file = numbers::ReadScheme(
        App().GetPlatform().ReadFileBytes(SchemeFolder() + fileName, numbers::kSchemeFileMaxBytes),
        fileName);
  } catch (const tk::Error& e) {
    file.refusal = e.what();
  }
  if (!file.Ok()) {
    // The window stays as it was, and so does the list's choice.
    restoring_ = true;
    cboScheme.SetSelected(chosenScheme_);
    restoring_ = false;
    App().ShowNotice(file.refusal);
    return;
  }
  chosenScheme_ = cboScheme.Selected();
  EnableSchemeButtons();
  Restore(file.value);
}

std::string TFormFilter::AskSchemeName(std::string_view title, const std::string& initial) {
  std::string typed = initial;
  for (;;) {
    const std::optional<std::string> answer = tk::AskText(App(), *this, title, "方案名称：", typed);
    if (!answer) return {};
    typed = *answer;
    const std::string refusal = numbers::SchemeNameRefusal(typed);
    if (!refusal.empty()) {
      App().ShowNotice(refusal);
      continue;
    }
    std::string name = numbers::SchemeNameOfFile(numbers::SchemeFileName(typed));
    if (MayWriteScheme(name)) return name;
  }
}

bool TFormFilter::MayWriteScheme(const std::string& name) {
  return !App().GetPlatform().FilePresent(SchemePath(name)) ||
         App().Ask("已有名为“" + name + "”的方案，要替换它吗？");
}

void TFormFilter::btnSchemeSaveClick(tk::Control&) {
  const std::string name = AskSchemeName("保存方案", cboScheme.Text());
  if (name.empty()) return;
  const tk::Platform& platform = App().GetPlatform();
  platform.MakeFolder(SchemeFolder());
  platform.ReplaceFileBytes(SchemePath(name), numbers::SchemeBytes(Settings()));
  ListSchemes(name);
}

void TFormFilter::btnSchemeDeleteClick(tk::Control&) {
  const std::string name = cboScheme.Text();
  if (name.empty() || !App().Ask("要删除方案“" + name + "”吗？")) return;
  App().GetPlatform().RemoveFile(SchemeFolder() + ChosenFile());
  ListSchemes();
}

void TFormFilter::btnSchemeExportClick(tk::Control&) {
  const std::string name = cboScheme.Text();
  if (name.empty()) return;
  const tk::Platform& platform = App().GetPlatform();
  const std::string fileName = ChosenFile();
  const std::string bytes =
      platform.ReadFileBytes(SchemeFolder() + fileName, numbers::kSchemeFileMaxBytes);
  // A file broken since it was chosen is not passed on.
  const core::Read<numbers::FilterSettings> file = numbers::ReadScheme(bytes, fileName);
  if (!file.Ok()) {
    App().ShowNotice(file.refusal);
    return;
  }
  tk::FileRequest request;
  request.save = true;
  request.title = "导出方案";
  request.fileName = numbers::SchemeFileName(name);
  const std::string path = App().AskFilePath(request);
  if (path.empty()) return;
  platform.ReplaceFileBytes(path, bytes);
}

void TFormFilter::btnSchemeImportClick(tk::Control&) {
  tk::FileRequest request;
  request.title = "导入方案";
  const std::string path = App().AskFilePath(request);
  if (path.empty()) return;
  const tk::Platform& platform = App().GetPlatform();
  core::Read<numbers::FilterSettings> file;
  std::string bytes;
  try {
    bytes = platform.ReadFileBytes(path, numbers::kSchemeFileMaxBytes);
    file = numbers::ReadScheme(bytes, path);
  } catch (const tk::Error& e) {
    file.refusal = e.what();
  }
  if (!file.Ok()) {
    App().ShowNotice(file.refusal);
    return;
  }
  // The file's own name when it can be kept, else one the user gives.
  std::string name = numbers::SchemeNameOfFile(path);
  if (numbers::SchemeNameRefusal(name).empty()) {
    name = numbers::SchemeNameOfFile(numbers::SchemeFileName(name));
  }
  if (!numbers::SchemeNameRefusal(name).empty() || !MayWriteScheme(name)) {
    name = AskSchemeName("导入方案", name);
    if (name.empty()) return;
  }
  platform.MakeFolder(SchemeFolder());
  platform.ReplaceFileBytes(SchemePath(name), bytes);
  ListSchemes(name);
  Restore(file.value);
}
