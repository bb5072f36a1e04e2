// The lists' file and 大底 actions: what the menu items do with the dialogs,
// the files and the bet list.
#include <string>

#include "core/notice.h"
#include "lists/kept_lists.h"
#include "lists/list_file.h"
#include "lists/list_sets.h"
#include "lists/lists.h"

namespace numbers {

void SaveListToFile(tk::Application& app, const tk::ListControl& list, std::string_view fileName) {
  if (list.LineCount() == 0) return;
  tk::FileRequest request;
  request.save = true;
  request.title = "保存为文本文件";
  request.fileName = fileName;
  const std::string path = AskListFile(app, request);
  if (path.empty()) return;
  try {
    app.GetPlatform().ReplaceFileBytes(path, ListFileBytes(list.Lines()));
  } catch (const tk::Error&) {
    app.ShowError("无法保存文件“" + core::ShownPath(path) +
                  "”。文件夹可能不存在、没有写入权限或磁盘已满；原有的同名文件没有改动。");
  }
}

bool AskNumbersFile(tk::Application& app, std::string_view title,
                    std::vector<std::string>& numbers) {
  tk::FileRequest request;
  request.title = title;
  const std::string path = AskListFile(app, request);
  if (path.empty()) return false;
  std::string bytes;
  try {
    bytes = app.GetPlatform().ReadFileBytes(path, kListFileMaxBytes);
  } catch (const tk::Error&) {
    app.ShowError("无法读取文件“" + core::ShownPath(path) + "”。");
    return false;
  }
  ListFile file = ReadListFile(bytes, core::FileNameOf(path));
  if (!file.Ok()) {
    app.ShowNotice(file.refusal);
    return false;
  }
  numbers = std::move(file.value);
  return true;
}

bool LoadListFromFile(tk::Application& app, const CountedList& target) {
  std::vector<std::string> numbers;
  if (!AskNumbersFile(app, "从文本文件载入", numbers)) return false;
  target.list->ReplaceLines(std::move(numbers));
  ShowCount(target, target.list->LineCount());
  return true;
}

namespace {

void Replace(const CountedList& target, std::vector<std::string> lines) {
  if (lines == target.list->Lines()) return;
  target.list->ReplaceLines(std::move(lines));
  ShowCount(target, target.list->LineCount());
}

std::vector<std::string> Combined(const std::vector<std::string>& lines,
                                  const std::vector<std::string>& numbers, SetOperation op) {
  switch (op) {
    case SetOperation::Intersect:
      return IntersectNumbers(lines, NumbersIn(numbers));
    case SetOperation::Drop:
      return DropNumbers(lines, NumbersIn(numbers));
    case SetOperation::Merge:
      break;
  }
  return AppendMissing(lines, numbers);
}

}  // namespace

void CombineWithFile(tk::Application& app, const CountedList& bets, SetOperation op,
                     std::string_view title) {
  // Merging into an empty list is a load without repeats; the others need lines.
  if (op != SetOperation::Merge && bets.list->LineCount() == 0) {
    app.ShowNotice(kEmptyBetList);
    return;
  }
  std::vector<std::string> numbers;
  if (!AskNumbersFile(app, title, numbers)) return;
  Replace(bets, Combined(bets.list->Lines(), numbers, op));
}

void CombineWithList(tk::Application& app, const CountedList& bets,
                     const tk::ListControl& deletions, SetOperation op) {
  if (!BothListsFilled(app, *bets.list, deletions)) return;
  Replace(bets, Combined(bets.list->Lines(), deletions.Lines(), op));
}

void DropRepeatedNumbers(tk::Application& app, const CountedList& bets) {
  if (bets.list->LineCount() == 0) {
    app.ShowNotice(kEmptyBetList);
    return;
  }
  Replace(bets, DropRepeats(bets.list->Lines()));
}

}  // namespace numbers
