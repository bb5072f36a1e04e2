// Whole-file replacement on Windows: the new bytes are flushed to the disk
// before the move, and the move returns once it is on the disk, so a power
// cut leaves the old file or the new one, never an empty one.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(file, bytes.data(), piece, &wrote, nullptr) || wrote == 0) return false;
    bytes.remove_prefix(wrote);
  }
  return true;
}

}  // namespace

unsigned long files::ProcessId() {
  return GetCurrentProcessId();
}

void Platform::ReplaceFileBytes(const std::string& path, std::string_view bytes) const {
  const std::filesystem::path target = files::PathOf(path);
  const std::filesystem::path temp = files::TemporaryBeside(target);
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    bool written = WriteAll(file, bytes) && FlushFileBuffers(file) != FALSE;
    written = CloseHandle(file) != FALSE && written;
    // std::filesystem::rename on MinGW may refuse to replace a file.
    if (written && MoveFileExW(temp.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
      return;
    }
    DeleteFileW(temp.c_str());
  }
  throw Error("无法写入文件“" + path + "”。");
}

}  // namespace tk
