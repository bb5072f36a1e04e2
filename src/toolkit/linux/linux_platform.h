// The program's folder and HTTP on Linux (libcurl).
#pragma once

#include <string>

#include "toolkit/toolkit.h"

namespace tk {

class LinuxPlatform : public Platform {
 public:
  LinuxPlatform();
  std::string ProgramFolder() const override { return folder_; }
  // Tests put the cache file elsewhere.
  void SetProgramFolder(std::string folder) { folder_ = std::move(folder); }
  std::string HttpGet(const HttpRequest& request) override;

  // Where the program keeps its cache: its own folder, as on Windows, unless
  // this user cannot write there (installed under /usr); then a folder of the
  // user's own below `home`, made when missing.
  static std::string CacheFolder(const std::string& programFolder, const std::string& home);

 private:
  std::string folder_;
};

}  // namespace tk
