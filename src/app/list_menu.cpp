// The context menus of the two lists: one list of items for both, and the
// actions behind them. The bet list and the deletion list share every body.
#include "app/main_window.h"
#include "core/notice.h"
#include "lists/kept_lists.h"
#include "lists/lists.h"

namespace {

using Step = tk::History::Step;

// "撤销 生成所有号码(&U)", or "撤销(&U)" with nothing to undo.
std::string StepItem(std::string_view verb, const std::string& step, std::string_view key) {
  std::string text(verb);
  if (!step.empty()) text += " " + step;
  return text + "(&" + std::string(key) + ")";
}

}  // namespace

void TForm1::WireListMenus() {
  for (tk::ListControl* list : {&mmoList, &mmoDel}) {
    list->OnContextMenu = [this](tk::ListControl& l) { return ListMenu(l); };
  }
}

numbers::CountedList TForm1::CountedOf(const tk::Control& list) {
  return &list == &mmoList ? Bets() : Deletions();
}

std::string_view TForm1::KeptFileOf(const tk::Control& list) const {
  return &list == &mmoList ? numbers::kKeptBetsFile : numbers::kKeptDeletionsFile;
}

tk::MenuItems TForm1::ListMenu(tk::ListControl& list) {
  using Handler = void (TForm1::*)(tk::Control&);
  auto item = [&](std::string text, const char* shortcut, bool enabled, Handler h) {
    return tk::MenuItem{std::move(text), shortcut, enabled, [this, &list, h] { (this->*h)(list); }};
  };
  const bool busy = history_.Busy(list);
  const std::string undo = history_.UndoName(list);
  const std::string redo = history_.RedoName(list);
  const std::string kept = numbers::DataPath(App().GetPlatform(), KeptFileOf(list));
  tk::MenuItems items = {
      item(StepItem("撤销", undo, "U"), "Ctrl+Z", !busy && !undo.empty(), &TForm1::mniUndoClick),
      item(StepItem("恢复", redo, "R"), "Ctrl+Y", !busy && !redo.empty(), &TForm1::mniRedoClick),
      tk::MenuItem{},
      item("复制(&C)", "Ctrl+C", list.SelectionLength() > 0, &TForm1::mniCopyClick),
      item("全选(&A)", "Ctrl+A", list.LineCount() > 0, &TForm1::mniSelectAllClick),
      tk::MenuItem{},
      item("保存为文本文件(&S)…", "", list.LineCount() > 0, &TForm1::mniSaveClick),
      item("从文本文件载入(&O)…", "", true, &TForm1::mniLoadClick),
      item("载入上次关闭时的列表(&L)", "", !kept.empty() && App().GetPlatform().FilePresent(kept),
           &TForm1::mniLoadKeptClick),
      tk::MenuItem{},
      item("开奖号码与走势(&T)…", "", true, &TForm1::mniDrawsClick),
  };
  if (&list == &mmoList) {
    // Always enabled: on an empty list they say why they cannot act.
    items.push_back(tk::MenuItem{});
    items.push_back(item("与文件取交集(&I)…", "", true, &TForm1::mniIntersectFileClick));
    items.push_back(item("合并文件中的号码(&M)…", "", true, &TForm1::mniMergeFileClick));
    items.push_back(item("去掉文件中的号码(&X)…", "", true, &TForm1::mniDropFileClick));
    items.push_back(item("与删除列表取交集(&J)", "", true, &TForm1::mniIntersectDelClick));
    items.push_back(item("去掉删除列表中的号码(&K)", "", true, &TForm1::mniDropDelClick));
    items.push_back(item("去除重复号码(&D)", "", true, &TForm1::mniDropRepeatsClick));
    items.push_back(tk::MenuItem{});
    items.push_back(item("条件过滤(&F)…", "", true, &TForm1::mniFilterClick));
    items.push_back(item("按玩法生成(&P)…", "", true, &TForm1::mniPlaysClick));
    items.push_back(item("转为组选号码(&G)", "", true, &TForm1::mniGroupClick));
    items.push_back(item("组选展开为直选(&Z)", "", true, &TForm1::mniExpandClick));
  }
  return items;
}

void TForm1::mniCopyClick(tk::Control& sender) {
  dynamic_cast<tk::ListControl&>(sender).CopySelection();
}

void TForm1::mniSelectAllClick(tk::Control& sender) {
  dynamic_cast<tk::ListControl&>(sender).SelectAll();
}

void TForm1::mniUndoClick(tk::Control& sender) {
  history_.Undo(dynamic_cast<tk::ListControl&>(sender));
}

void TForm1::mniRedoClick(tk::Control& sender) {
  history_.Redo(dynamic_cast<tk::ListControl&>(sender));
}

void TForm1::mniSaveClick(tk::Control& sender) {
  std::string_view name = "删除号码.txt";
  if (&sender == &mmoList) {
    name = BetListType().kind == core::BetKind::kGroup ? "组选号码.txt" : "投注号码.txt";
  }
  numbers::SaveListToFile(App(), dynamic_cast<tk::ListControl&>(sender), name);
}

void TForm1::mniLoadClick(tk::Control& sender) {
  auto& list = dynamic_cast<tk::ListControl&>(sender);
  Step step(history_, "从文本文件载入", {&list});
  step.SetTag(list, numbers::TagOf(numbers::kDirectBets));
  numbers::LoadListFromFile(App(), CountedOf(sender));
}

void TForm1::mniLoadKeptClick(tk::Control& sender) {
  auto& list = dynamic_cast<tk::ListControl&>(sender);
  const tk::Platform& platform = App().GetPlatform();
  const std::string path = numbers::DataPath(platform, KeptFileOf(list));
  if (path.empty()) return;
  std::string bytes;
  try {
    bytes = platform.ReadFileBytes(path, numbers::kKeptListMaxBytes);
  } catch (const tk::Error&) {
    App().ShowError("无法读取文件“" + core::ShownPath(path) + "”。");
    return;
  }
  numbers::KeptList kept = numbers::ReadKeptList(bytes, path);
  if (!kept.Ok()) {
    App().ShowNotice(kept.refusal);
    return;
  }
  Step step(history_, "载入上次关闭时的列表", {&list});
  if (&list == &mmoList) step.SetTag(list, numbers::TagOf(kept.value.type), true);
  list.ReplaceLines(std::move(kept.value.lines));
  numbers::ShowCount(CountedOf(list), list.LineCount());
}

void TForm1::KeepLists() {
  keepAfterStep_ = false;
  for (tk::ListControl* list : {&mmoList, &mmoDel}) {
    // A list this run never changed leaves the one kept before it.
    if (!history_.Touched(*list)) continue;
    try {
      numbers::KeepList(App().GetPlatform(), KeptFileOf(*list), list->Lines(),
                        numbers::BetTypeOf(history_.Tag(*list)));
    } catch (...) {
      // Closing goes on; the list kept before stays as it was.
    }
  }
}

// ---- 大底 operations ----

void TForm1::mniIntersectFileClick(tk::Control&) {
  Step step(history_, "与文件取交集", {&mmoList});
  numbers::CombineWithFile(App(), Bets(), numbers::SetOperation::Intersect, "与文件取交集");
}

void TForm1::mniMergeFileClick(tk::Control&) {
  Step step(history_, "合并文件中的号码", {&mmoList});
  numbers::CombineWithFile(App(), Bets(), numbers::SetOperation::Merge, "合并文件中的号码");
}

void TForm1::mniDropFileClick(tk::Control&) {
  Step step(history_, "去掉文件中的号码", {&mmoList});
  numbers::CombineWithFile(App(), Bets(), numbers::SetOperation::Drop, "去掉文件中的号码");
}

void TForm1::mniIntersectDelClick(tk::Control&) {
  Step step(history_, "与删除列表取交集", {&mmoList});
  numbers::CombineWithList(App(), Bets(), mmoDel, numbers::SetOperation::Intersect);
}

void TForm1::mniDropDelClick(tk::Control&) {
  Step step(history_, "去掉删除列表中的号码", {&mmoList});
  numbers::CombineWithList(App(), Bets(), mmoDel, numbers::SetOperation::Drop);
}

void TForm1::mniDropRepeatsClick(tk::Control&) {
  Step step(history_, "去除重复号码", {&mmoList});
  numbers::DropRepeatedNumbers(App(), Bets());
}
