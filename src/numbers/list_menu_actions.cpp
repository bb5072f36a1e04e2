#include <string>

#include "numbers/list_format.h"
#include "numbers/numbers.h"

namespace numbers {

void SaveListToFile(tk::Application& app, const tk::ListControl& list, std::string_view fileName) {
  if (list.LineCount() == 0) return;
  tk::FileRequest request;
  request.save = true;
  request.title = "保存为文本文件";
  request.fileName = fileName;
  const std::string path = app.AskFilePath(request);
  if (path.empty()) return;
  try {
    app.GetPlatform().ReplaceFileBytes(path, ListFileBytes(list.Lines()));
  } catch (const tk::Error&) {
    app.ShowError("无法保存文件“" + path +
                  "”。文件夹可能不存在、没有写入权限或磁盘已满；原有的同名文件没有改动。");
  }
}

void LoadListFromFile(tk::Application& app, const CountedList& target) {
  tk::FileRequest request;
  request.title = "从文本文件载入";
  const std::string path = app.AskFilePath(request);
  if (path.empty()) return;
  std::string bytes;
  try {
    bytes = app.GetPlatform().ReadFileBytes(path, kListFileMaxBytes);
  } catch (const tk::Error&) {
    app.ShowError("无法读取文件“" + path + "”。");
    return;
  }
  ListFile file = ReadListFile(bytes);
  if (!file.refusal.empty()) {
    app.ShowNotice(file.refusal);
    return;
  }
  const int count = static_cast<int>(file.numbers.size());
  target.list->ReplaceLines(std::move(file.numbers));
  ShowCount(target, count);
}

}  // namespace numbers
