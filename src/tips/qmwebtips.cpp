#include "tips/qmwebtips.h"

#include <ctime>
#include <string_view>

#include "app/config.h"

std::string DefaultTipsPageUrl() {
  return "http://" QELMAR3D_TIPS_HOST "/tips.asp";
}

namespace tips {

namespace {
std::uint32_t seed = 0;
}

void SeedRandom(std::uint32_t s) {
  seed = s;
}

std::uint32_t NextRandom() {
  seed = seed * 134775813U + 1U;
  return seed;
}

}  // namespace tips

qmWebTips::qmWebTips(tk::Platform& platform, std::string pageUrl)
    : platform_(platform), pageUrl_(std::move(pageUrl)) {
  tips::SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
  DownloadTips();
  LoadTips();
}

std::string qmWebTips::CachePath() const {
  return platform_.ProgramFolder() + kCacheName;
}

void qmWebTips::DownloadTips() {
  std::string body;
  try {
    tk::HttpRequest request;
    request.url = pageUrl_;
    request.userAgent = kAgent;
    body = platform_.HttpGet(request);
  } catch (...) {
    // A failed fetch leaves whatever arrived; nothing is reported.
  }
  platform_.WriteFileBytes(CachePath(), body);
}

void qmWebTips::LoadTips() {
  const std::string path = CachePath();
  std::vector<std::string> lines;
  if (platform_.FilePresent(path)) lines = platform_.ReadTextLines(path);
  std::int32_t n = 0;
  for (const std::string& line : lines) {
    if (n >= kCapacity) break;
    const std::size_t p = line.find(kSeparator);
    if (line.empty() || p == std::string::npos) continue;
    TipText[static_cast<std::size_t>(n)] = line.substr(0, p);
    TipLink[static_cast<std::size_t>(n)] = line.substr(p + std::string_view(kSeparator).size());
    ++n;
  }
  TipCount = n;
}
