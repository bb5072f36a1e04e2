// The program's folder, the folders of the tips cache and of the user's
// data, and HTTP on Linux (libcurl).
#pragma once

#include <string>

#include "toolkit/data_folder.h"
#include "toolkit/toolkit.h"

namespace tk {

class LinuxPlatform : public Platform {
 public:
  // `installBinFolder`: where the installed program lies (its files go to the
  // user's folders then); empty when unknown.
  explicit LinuxPlatform(const std::string& installBinFolder = {});
  std::string ProgramFolder() const override { return folder_; }
  std::string CacheFolder() const override { return cache_; }
  std::string DataFolder() const override { return data_; }
  std::string DataFolderNotice() const override { return dataNotice_; }
  // Tests place the program, and with it its cache and data, in a folder of theirs.
  void SetProgramFolder(std::string folder) {
    folder_ = folder;
    cache_ = folder;
    data_ = std::move(folder);
    dataNotice_.clear();
  }
  std::string HttpGet(const HttpRequest& request) override { return HttpFetch(request).body; }
  HttpResponse HttpFetch(const HttpRequest& request) override;

  // The cache folder of a program in `programFolder`: that folder itself (a
  // build or unpacked folder) when this user can make files in it, unless it
  // is a system folder (`installBinFolder` or anything under /usr), which no
  // package of ours may leave files in; else `xdgCacheHome`/qelmar3d/ or,
  // with that unset, `home`/.cache/qelmar3d/, made when missing. Empty when
  // no such folder can be written. Folders end in '/'.
  static std::string ChooseCacheFolder(const std::string& programFolder,
                                       const std::string& installBinFolder,
                                       const std::string& xdgCacheHome, const std::string& home);
  // The same rule for the user's data: `xdgDataHome`/qelmar3d/ or
  // `home`/.local/share/qelmar3d/; with the notice when there is none.
  static FolderChoice ChooseDataFolder(const std::string& programFolder,
                                       const std::string& installBinFolder,
                                       const std::string& xdgDataHome, const std::string& home);

 private:
  std::string folder_;
  std::string cache_;
  std::string data_;
  std::string dataNotice_;
};

}  // namespace tk
