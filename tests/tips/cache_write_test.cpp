// The tips cache and the platform's file replacement when the disk refuses
// part of a write: a size limit on the process makes a real write fail
// halfway, as a full disk would.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/temp_folder.h"
#include "tips/tips_store.h"
#include "toolkit/linux/linux_platform.h"

namespace {

// Files written from here on fail past `bytes`; the old limit comes back at
// the end of the scope. Without SIGXFSZ ignored the write would end the test.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

std::vector<std::string> Names(const testsupport::TempFolder& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

const std::string kOldCache = "\xCC\xE1\xCA\xBE@#$http://qelmar.example.com/old\r\n";

TEST(TipsCache, AWriteThatFailsHalfwayKeepsTheCacheOfTheLastRun) {
  testsupport::TempFolder folder;
  tk::LinuxPlatform platform;
  platform.SetProgramFolder(folder.Slashed());
  folder.Write(qmWebTips::kCacheName, kOldCache);

  std::string page;
  while (page.size() < std::size_t{256} << 10)
    page += "new tip@#$http://qelmar.example.com/new\r\n";
  {
    const FileSizeLimit limit(rlim_t{64} << 10);
    EXPECT_THROW(qmWebTips(platform, qmWebTips::Body{page}), tk::Error);
  }
  const std::string cache = folder.Read(qmWebTips::kCacheName);
  EXPECT_TRUE(cache == kOldCache) << cache.size() << " bytes in the cache";
  EXPECT_EQ(Names(folder), std::vector<std::string>{qmWebTips::kCacheName});

  // Once the disk takes it, the new page replaces the old one whole.
  const qmWebTips store(platform, qmWebTips::Body{page});
  EXPECT_TRUE(folder.Read(qmWebTips::kCacheName) == page);
  EXPECT_EQ(store.TipCount, qmWebTips::kCapacity);
}

TEST(TipsCache, ReplacingLeavesTheOldFileOrTheNewOneAndNoTemporaryFile) {
  testsupport::TempFolder folder;
  const tk::LinuxPlatform platform;
  const std::string path = folder.PathOf("方案.txt");
  platform.ReplaceFileBytes(path, "old");
  {
    const FileSizeLimit limit(4);
    EXPECT_THROW(platform.ReplaceFileBytes(path, "longer than four"), tk::Error);
    EXPECT_EQ(folder.Read("方案.txt"), "old");
    EXPECT_EQ(Names(folder).size(), 1U);
    // A body the limit allows goes through.
    platform.ReplaceFileBytes(path, "new");
  }
  EXPECT_EQ(folder.Read("方案.txt"), "new");
}

}  // namespace
