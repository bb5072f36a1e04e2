#include "toolkit/data_folder.h"

#include "core/notice.h"

namespace tk {

FolderChoice ChooseWritableFolder(const FolderCandidates& candidates, const FolderAccess& access) {
  if (!candidates.installed && !candidates.program.empty() && access.probe(candidates.program)) {
    return {candidates.program, {}};
  }
  const std::string& user = candidates.user;
  if (!user.empty() && access.make(user) && access.probe(user)) return {user, {}};
  std::string notice = "无法在";
  if (!candidates.installed)
    notice += "程序所在的文件夹“" + core::ShownPath(candidates.program) + "”或";
  notice += user.empty() ? std::string("用户文件夹") : "用户文件夹“" + core::ShownPath(user) + "”";
  notice += "中写入文件：本次运行的开奖号码、奖金、方案和关闭时的列表都不会保存。";
  return {{}, std::move(notice)};
}

}  // namespace tk
