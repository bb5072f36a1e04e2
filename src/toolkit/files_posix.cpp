// Whole-file replacement on POSIX systems: the new bytes are on the disk
// before the rename, and the rename is on the disk before success is told,
// so a power cut leaves the old file or the new one, never an empty one.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string_view>

#include "toolkit/files.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Some file systems refuse fsync on a folder; the rename stands either way.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

unsigned long files::ProcessId() {
  return static_cast<unsigned long>(::getpid());
}

void Platform::ReplaceFileBytes(const std::string& path, std::string_view bytes) const {
  const std::filesystem::path target = files::PathOf(path);
  const std::filesystem::path temp = files::TemporaryBeside(target);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temp.c_str(), target.c_str()) == 0) {
      SyncFolder(target.parent_path());
      return;
    }
    ::unlink(temp.c_str());
  }
  throw Error("无法写入文件“" + path + "”。");
}

}  // namespace tk
