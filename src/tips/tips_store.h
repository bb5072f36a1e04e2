// The web tips store: the tips page, fetched once per run, cached in the
// platform's cache folder and read back as up to 128 tips with their links.
// The fetch blocks and runs off the window's thread; the store is built on it
// from the body.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/toolkit.h"

class qmWebTips {
 public:
  static constexpr int kCapacity = 128;
  static constexpr const char* kCacheName = "tipsupd.dat";
  static constexpr const char* kAgent = "URLCheck";
  static constexpr const char* kSeparator = "@#$";
  static constexpr std::size_t kReadSize = 4096;

  // The body of the tips page as it arrived: all of it, what came before the
  // transfer broke off or was cancelled, or nothing. Touches only the
  // network, so it may run on any thread; errors are dropped.
  static std::string FetchPage(tk::Platform& platform, const std::string& pageUrl,
                               tk::Cancellation* cancel = nullptr);

  struct Body {
    std::string bytes;
  };
  // Seeds the process's random generator, writes the body to the cache file
  // and reads it back. Errors of the cache file leave the constructor. With
  // no cache folder nothing is written and the store stays empty.
  qmWebTips(tk::Platform& platform, const Body& body);
  // Fetches here, then builds as above (blocking: for tests and tools).
  qmWebTips(tk::Platform& platform, const std::string& pageUrl);

  // Entries 0 .. TipCount-1 hold the page's bytes (GBK), unconverted.
  std::array<std::string, kCapacity> TipText;
  std::array<std::string, kCapacity> TipLink;
  std::int32_t TipCount = 0;

  // Replaces the cache file with the body as a whole (nothing: an empty
  // file). When that fails the old cache is as it was and Error is raised.
  void SaveTips(std::string_view body);
  void LoadTips();

 private:
  std::string CachePath() const;

  tk::Platform& platform_;
  std::string folder_;
};

namespace tips {

// The process's pseudo-random generator: seeded by the tips store, drawn only
// by the rotation.
void SeedRandom(std::uint32_t seed);
std::uint32_t NextRandom();

}  // namespace tips
