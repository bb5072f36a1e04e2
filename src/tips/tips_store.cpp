#include "tips/tips_store.h"

#include <ctime>
#include <string_view>
#include <utility>
#include <vector>

namespace tips {

namespace {
std::uint64_t state = 0;
}

void SeedRandom(std::uint32_t seed) {
  state = seed;
}

// A 64-bit linear congruential step, answering with the high half: the low
// bits of such a generator repeat with short periods, and the rotation takes
// its values modulo small counts.
std::uint32_t NextRandom() {
  state = state * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<std::uint32_t>(state >> 32);
}

}  // namespace tips

std::string qmWebTips::FetchPage(tk::Platform& platform, const std::string& pageUrl,
                                 tk::Cancellation* cancel) {
  try {
    tk::HttpRequest request;
    request.url = pageUrl;
    request.userAgent = kAgent;
    request.readSize = kReadSize;
    request.cancel = cancel;
    return platform.HttpGet(request);
  } catch (...) {
    // A failed fetch gives nothing; nothing is reported.
    return {};
  }
}

qmWebTips::qmWebTips(tk::Platform& platform, const Body& body)
    : platform_(platform), folder_(platform.CacheFolder()) {
  tips::SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
  if (folder_.empty()) return;  // this run keeps no cache: no tips
  SaveTips(body.bytes);
  LoadTips();
}

qmWebTips::qmWebTips(tk::Platform& platform, const std::string& pageUrl)
    : qmWebTips(platform, Body{platform.CacheFolder().empty() ? std::string()
                                                              : FetchPage(platform, pageUrl)}) {}

std::string qmWebTips::CachePath() const {
  return folder_ + kCacheName;
}

void qmWebTips::SaveTips(std::string_view body) {
  // Also when nothing arrived: the tips of an earlier run must not survive.
  // Whole or not at all, like every file of the program: a write that fails
  // halfway must not leave a cut-off cache for the next run to show.
  platform_.ReplaceFileBytes(CachePath(), body);
}

void qmWebTips::LoadTips() {
  const std::string path = CachePath();
  std::vector<std::string> lines;
  if (platform_.FilePresent(path)) lines = platform_.ReadTextLines(path);
  std::int32_t n = 0;
  for (const std::string& line : lines) {
    // Entry lines past the capacity are ignored.
    if (n >= kCapacity) break;
    if (line.empty()) continue;
    // Byte by byte: a double-byte character's trail byte may be '@'.
    const std::size_t p = line.find(kSeparator);
    if (p == std::string::npos) continue;
    TipText[static_cast<std::size_t>(n)] = line.substr(0, p);
    TipLink[static_cast<std::size_t>(n)] = line.substr(p + std::string_view(kSeparator).size());
    ++n;
  }
  TipCount = n;
}
