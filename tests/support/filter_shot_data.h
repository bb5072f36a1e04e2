// The data folder the conditions window is photographed with: a kept draw
// (for 重号) and two 方案, 每日 filled in and 周末 empty.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/filter_form.h"
#include "conditions/scheme.h"
#include "draws/draws.h"

namespace testsupport {

inline void WriteFilterShotData(const std::filesystem::path& data) {
  auto u8 = [](std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
  };
  auto write = [](const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  };
  const std::filesystem::path schemes = data / u8(kSchemeFolderName);
  std::filesystem::create_directories(schemes);
  numbers::FilterSettings daily;
  daily.sum = true;
  daily.sumText = "10-14,18";
  daily.shape = true;
  daily.zu6 = true;
  daily.kill = true;
  daily.killText = "4";
  daily.toleranceText = "1";
  write(schemes / u8("每日.txt"), numbers::SchemeBytes(daily));
  write(schemes / u8("周末.txt"), numbers::SchemeBytes({}));
  write(data / u8(numbers::kDrawsFileName),
        numbers::DrawsFileBytes({{2024100, 7, "2024-04-10", 357}}));
}

}  // namespace testsupport
