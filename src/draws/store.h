// The kept draws: draws.txt in the user's data folder, one store that every
// window needing past draws reads (the draws window, and the conditions
// window for 重号's latest draw).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draws/draw.h"
#include "toolkit/toolkit.h"

namespace numbers {

// In the user's data folder.
inline constexpr std::string_view kDrawsFileName = "draws.txt";
// Where the lines of draws.txt that cannot be read (or the whole file, when
// it cannot be read at all) are set aside before a new one is written;
// added at its end, so nothing set aside earlier is lost.
inline constexpr std::string_view kBadDrawsFileName = "draws.bad.txt";
inline constexpr std::size_t kBadDrawsMaxBytes = std::size_t{64} << 20;

// Adds `added` (sorted by 期号, each once) to `kept` (the same). A draw
// already kept with the same number is merged, a known date filling an
// unknown one. Refused, `kept` unchanged: another number or another date for
// a kept 期号, or more than kMaxDraws draws in all. Returns the notice, empty
// when merged.
std::string MergeDraws(std::vector<Draw>& kept, const std::vector<Draw>& added);
// Removes the draw with this 期号; false when none has it.
bool DeleteDraw(std::vector<Draw>& kept, std::uint32_t issue);
// The kept draw with this 期号, or nullptr.
const Draw* FindDraw(const std::vector<Draw>& kept, std::uint32_t issue);
// draws.txt: a heading line, then one draw a line, "期号 日期 号码", the date
// "-" when not known; UTF-8, CR LF. ReadDrawsFile reads it back.
std::string DrawsFileBytes(const std::vector<Draw>& kept);

class DrawStore {
 public:
  // Reads draws.txt from the platform's data folder. Lines that cannot be
  // read are left out, the rest read; a file that cannot be read at all
  // leaves the store empty. Problem() then says why; nothing is written
  // until SetAsideUnreadable().
  explicit DrawStore(const tk::Platform& platform);

  // Oldest first, as draws.txt holds them.
  const std::vector<Draw>& Draws() const { return draws_; }
  const Draw* Latest() const { return draws_.empty() ? nullptr : &draws_.back(); }
  // Why draws.txt could not be read, or its first line left out; empty
  // when it was read whole, or is not there.
  const std::string& Problem() const { return problem_; }
  // The lines of draws.txt left out, the others read; 0 when the file was
  // read whole or not at all.
  std::size_t LinesLeftOut() const { return linesLeftOut_; }
  // There is a data folder to keep the draws in.
  bool HasFolder() const { return !folder_.empty(); }
  // Changes reach draws.txt: there is a folder and no unreadable file to keep.
  bool Saved() const { return HasFolder() && writable_; }

  // Adds the lines left out, with their line numbers, or an unreadable
  // draws.txt whole, to kBadDrawsFileName, then writes draws.txt with the
  // draws read, so that they are set aside once. False when it cannot (the
  // file could not be read, or the copy failed): then changes are not
  // saved, so that nothing the user kept is lost. Keep() does this first
  // when needed.
  bool SetAsideUnreadable();
  // Writes draws.txt (when saved), then holds `next`; raises tk::Error,
  // nothing changed, when the file cannot be written.
  void Keep(std::vector<Draw> next);

 private:
  // Adds to the end of kBadDrawsFileName; false when it cannot.
  bool AddToBadFile(std::string_view addition) const;

  const tk::Platform& platform_;
  std::string folder_;
  std::vector<Draw> draws_;
  std::string problem_;
  std::optional<std::string> unread_;  // what goes to kBadDrawsFileName
  std::size_t linesLeftOut_ = 0;
  bool pending_ = false;  // an unreadable file not yet set aside
  bool writable_ = true;
};

}  // namespace numbers
