// Whole-file reads and writes, shared by every platform; the safe
// replacement is each platform's own (files_posix.cpp, files_win32.cpp).
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/text.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace tk {

std::filesystem::path files::PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path files::TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::error_code ec;
  for (;;) {
    std::filesystem::path t = target;
    t += ".~" + std::to_string(ProcessId()) + "-" + std::to_string(counter++) + ".tmp";
    if (!std::filesystem::exists(t, ec)) return t;
  }
}

using files::PathOf;

bool Platform::FilePresent(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathOf(path), ec);
}

std::vector<std::string> Platform::ReadTextLines(const std::string& path) const {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) throw Error("无法打开文件“" + path + "”。");
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return core::SplitLines(bytes);
}

void Platform::WriteFileBytes(const std::string& path, std::string_view bytes) const {
  std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
  if (!out) throw Error("无法创建文件“" + path + "”。");
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) throw Error("无法写入文件“" + path + "”。");
}

std::string Platform::ReadFileBytes(const std::string& path, std::size_t limit) const {
  std::error_code ec;
  if (std::filesystem::is_directory(PathOf(path), ec)) throw Error("无法打开文件“" + path + "”。");
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) throw Error("无法打开文件“" + path + "”。");
  std::string bytes;
  const std::size_t want = limit + 1;
  std::size_t have = 0;
  while (have < want) {
    bytes.resize(std::min(want, have + 65536));
    in.read(bytes.data() + have, static_cast<std::streamsize>(bytes.size() - have));
    have += static_cast<std::size_t>(in.gcount());
    if (!in) break;
  }
  if (in.bad()) throw Error("无法读取文件“" + path + "”。");
  bytes.resize(have);
  return bytes;
}

std::vector<std::string> Platform::FilesIn(const std::string& folder,
                                           std::string_view extension) const {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(PathOf(folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code kind;
    if (!it->is_regular_file(kind)) continue;
    const std::u8string u8 = it->path().filename().u8string();
    std::string name(u8.begin(), u8.end());
    if (name.size() >= extension.size() &&
        core::FoldCase(std::string_view(name).substr(name.size() - extension.size())) ==
            core::FoldCase(extension)) {
      names.push_back(std::move(name));
    }
  }
  return names;
}

void Platform::MakeFolder(const std::string& path) const {
  std::error_code ec;
  std::filesystem::create_directories(PathOf(path), ec);
  if (ec || !std::filesystem::is_directory(PathOf(path), ec)) {
    throw Error("无法创建文件夹“" + path + "”。");
  }
}

void Platform::RemoveFile(const std::string& path) const {
  std::error_code ec;
  std::filesystem::remove(PathOf(path), ec);
  if (ec) throw Error("无法删除文件“" + path + "”。");
}

}  // namespace tk
