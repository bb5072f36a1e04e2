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

 private:
  std::string folder_;
};

}  // namespace tk
