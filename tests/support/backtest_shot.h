// What the 历史验证 window is photographed with: the sample history as the
// kept draws, and a set of conditions typed into the conditions window.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/filter_form.h"
#include "draws/draws.h"
#include "toolkit/testing/driver.h"

namespace testsupport {

// draws.txt in `data` from the sample history; false when it cannot be read.
inline bool WriteBacktestShotDraws(const std::filesystem::path& data,
                                   const std::filesystem::path& sample) {
  std::ifstream in(sample, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto read = numbers::ReadDrawsFile(bytes, "draws-sample.txt");
  if (!read.Ok() || read.value.empty()) return false;
  std::filesystem::create_directories(data);
  std::ofstream(data / "draws.txt", std::ios::binary) << numbers::DrawsFileBytes(read.value);
  return true;
}

inline void FillBacktestConditions(tk::UserDriver& user, TFormFilter& f) {
  user.Type(f.Find("edtSum"), "8-19");
  user.Type(f.Find("edtSpan"), "2-8");
  user.Click(f.Find("chkZu3"));
  user.Click(f.Find("chkZu6"));
  user.Click(f.Find("chkRepeat0"));
  user.Click(f.Find("chkRepeat1"));
  user.Type(f.Find("edtTolerance"), "1");
}

}  // namespace testsupport
