// The program's folder, the tips cache's folder and HTTP on Linux (libcurl).
#pragma once

#include <string>

#include "toolkit/toolkit.h"

namespace tk {

class LinuxPlatform : public Platform {
 public:
  LinuxPlatform();
  std::string ProgramFolder() const override { return folder_; }
  std::string CacheFolder() const override { return cache_; }
  // Tests place the program, and with it its cache, in a folder of theirs.
  void SetProgramFolder(std::string folder) {
    folder_ = folder;
    cache_ = std::move(folder);
  }
  std::string HttpGet(const HttpRequest& request) override;

  // The cache folder of a program in `programFolder`: that folder itself (a
  // build or unpacked folder), unless it is a system folder (`installBinFolder`
  // or anything under /usr), which no package of ours may leave files in;
  // then `xdgCacheHome`/qelmar3d/ or, with that unset, `home`/.cache/qelmar3d/,
  // made when missing. Empty when that folder cannot be had. Folders end in '/'.
  static std::string ChooseCacheFolder(const std::string& programFolder,
                                       const std::string& installBinFolder,
                                       const std::string& xdgCacheHome, const std::string& home);

 private:
  std::string folder_;
  std::string cache_;
};

}  // namespace tk
