// What every backend's file dialog shares: the folder it starts in and the
// kinds of file it lists.
#include <string>

#include "core/notice.h"
#include "core/text.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

constexpr std::size_t kLastFolderMaxBytes = 32768;

}  // namespace

std::string_view FilterPattern(std::string_view filter) {
  const std::size_t open = filter.rfind('(');
  const std::size_t close = filter.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    return "*.*";
  }
  return filter.substr(open + 1, close - open - 1);
}

const std::string& Application::LastFolder() {
  if (lastFolderRead_) return lastFolder_;
  lastFolderRead_ = true;
  const std::string data = platform_.DataFolder();
  if (data.empty()) return lastFolder_;
  const std::string memory = data + std::string(kLastFolderFile);
  try {
    if (!platform_.FilePresent(memory)) return lastFolder_;
    const std::string kept = platform_.ReadFileBytes(memory, kLastFolderMaxBytes);
    const std::string_view folder = core::TrimView(kept);
    if (kept.size() <= kLastFolderMaxBytes && core::IsValidUtf8(folder)) lastFolder_ = folder;
  } catch (const Error&) {
    // Unreadable: the dialog starts where it would without it.
  }
  return lastFolder_;
}

void Application::RememberFolder(const std::string& path) {
  const std::string folder(path.substr(0, path.size() - core::FileNameOf(path).size()));
  if (folder.empty() || folder == LastFolder()) return;
  lastFolder_ = folder;
  const std::string data = platform_.DataFolder();
  if (data.empty()) return;
  try {
    platform_.MakeFolder(data);
    platform_.ReplaceFileBytes(data + std::string(kLastFolderFile), folder + "\r\n");
  } catch (const Error&) {
    // Kept for this run only: nothing else depends on it.
  }
}

std::string Application::AskFilePath(const FileRequest& asked) {
  FileRequest request = asked;
  if (request.folder.empty()) request.folder = LastFolder();
  request.filters = {request.filter.empty() ? std::string(kTextFilesFilter) : request.filter};
  if (request.filters.front() != kAllFilesFilter) request.filters.emplace_back(kAllFilesFilter);
  std::string path = dialogHook_ ? dialogHook_(request) : NativeFileDialog(request);
  RememberFolder(path);
  return path;
}

}  // namespace tk
