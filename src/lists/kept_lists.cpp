#include "lists/kept_lists.h"

#include <filesystem>
#include <system_error>

#include "core/notice.h"
#include "core/text.h"

namespace numbers {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kHeader = "Qelmar3D 列表 ";
constexpr std::string_view kDirectName = "直选";
constexpr std::string_view kGroupName = "组选 ";

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The data folder exists before anything is written into it.
void MakeFolder(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(PathOf(folder), ec);
}

}  // namespace

std::string DataPath(const tk::Platform& platform, std::string_view name) {
  const std::string folder = platform.DataFolder();
  if (folder.empty()) return {};
  return folder + std::string(name);
}

std::string KeptListBytes(const std::vector<std::string>& lines, BetType type) {
  std::string out(kBom);
  out += kHeader;
  if (type.kind == core::BetKind::kGroup) {
    out += kGroupName;
    out += std::to_string(type.baoziDropped);
  } else {
    out += kDirectName;
  }
  out += "\r\n";
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

KeptList ReadKeptList(std::string_view bytes, std::string_view path) {
  auto refuse = [&](std::size_t line) {
    return KeptList::Refused("上次关闭时的列表文件“" + core::ShownPath(path) + "”" +
                             core::LineRef(line) + "无法识别，未载入。");
  };
  if (bytes.size() > kKeptListMaxBytes || !bytes.starts_with(kBom) || !core::IsValidUtf8(bytes)) {
    return refuse(1);
  }
  bytes.remove_prefix(kBom.size());
  KeptListData kept;
  std::size_t number = 0;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find("\r\n");
    if (end == std::string_view::npos) return refuse(number + 1);
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end + 2);
    if (number++ > 0) {
      kept.lines.emplace_back(line);
      continue;
    }
    if (!line.starts_with(kHeader)) return refuse(1);
    const std::string_view kind = line.substr(kHeader.size());
    if (kind == kDirectName) continue;
    if (!kind.starts_with(kGroupName)) return refuse(1);
    const std::string_view digits = kind.substr(kGroupName.size());
    if (digits.empty() || digits.size() > 7 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
      return refuse(1);
    }
    kept.type = GroupBets(std::stoi(std::string(digits)));
  }
  if (number == 0) return refuse(1);
  return {std::move(kept), {}};
}

void KeepList(const tk::Platform& platform, std::string_view name,
              const std::vector<std::string>& lines, BetType type) {
  const std::string path = DataPath(platform, name);
  if (path.empty()) return;
  MakeFolder(platform.DataFolder());
  platform.ReplaceFileBytes(path, KeptListBytes(lines, type));
}

std::string FolderOf(std::string_view path) {
  return std::string(path.substr(0, path.size() - core::FileNameOf(path).size()));
}

std::string AskListFile(tk::Application& app, tk::FileRequest request) {
  // The toolkit remembers the folder for every dialog.
  return app.AskFilePath(request);
}

}  // namespace numbers
