// The web tips store: downloads the tips page once, caches it beside the
// program and keeps up to 128 tips with their links.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/toolkit.h"

// Address of the tips page this build fetches.
std::string DefaultTipsPageUrl();

class qmWebTips {
 public:
  static constexpr int kCapacity = 128;
  static constexpr const char* kCacheName = "tipsupd.dat";
  static constexpr const char* kAgent = "URLCheck";
  static constexpr const char* kSeparator = "@#$";
  static constexpr std::size_t kReadSize = 4096;

  // Seeds the process's random generator, downloads, writes the cache file
  // and reads it back. Errors of the cache file leave the constructor.
  explicit qmWebTips(tk::Platform& platform, std::string pageUrl = DefaultTipsPageUrl());

  // Entries 0 .. TipCount-1 hold the page's bytes (GBK), unconverted.
  std::array<std::string, kCapacity> TipText;
  std::array<std::string, kCapacity> TipLink;
  std::int32_t TipCount = 0;

  void DownloadTips();
  void LoadTips();

 private:
  std::string CachePath() const;

  tk::Platform& platform_;
  std::string pageUrl_;
};

namespace tips {

// The process's pseudo-random generator: seeded by the tips store, drawn only
// by the rotation.
void SeedRandom(std::uint32_t seed);
std::uint32_t NextRandom();

}  // namespace tips
