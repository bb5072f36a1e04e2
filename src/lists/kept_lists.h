// What the program keeps between runs in the user's data folder: each list
// as it was when the window last closed, and the folder that the file
// dialogs used last. A platform without a data folder keeps nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "lists/bet_type.h"
#include "toolkit/toolkit.h"

namespace numbers {

inline constexpr std::string_view kKeptBetsFile = "last-bets.txt";
inline constexpr std::string_view kKeptDeletionsFile = "last-deletions.txt";
inline constexpr std::string_view kLastFolderFile = tk::kLastFolderFile;
inline constexpr std::size_t kKeptListMaxBytes = std::size_t{16} << 20;

// The path of a file in the data folder; empty when there is none.
std::string DataPath(const tk::Platform& platform, std::string_view name);

// A kept list: a first line that names its kind, then its lines exactly as
// they were, each followed by CR LF, in UTF-8 with a byte-order mark.
std::string KeptListBytes(const std::vector<std::string>& lines, BetType type);
struct KeptListData {
  std::vector<std::string> lines;
  BetType type;
};
using KeptList = core::Read<KeptListData>;
// Refused with a notice that names the file by `path` and the line.
KeptList ReadKeptList(std::string_view bytes, std::string_view path);
// Writes the list whole over the kept one, making the data folder if needed.
// Raises tk::Error when it cannot.
void KeepList(const tk::Platform& platform, std::string_view name,
              const std::vector<std::string>& lines, BetType type);

// The folder that holds a path, with its separator; empty when none shows.
std::string FolderOf(std::string_view path);
// The save or open dialog, starting in the folder used last; the folder of
// the path chosen is remembered in the data folder for the next dialog.
std::string AskListFile(tk::Application& app, tk::FileRequest request);

}  // namespace numbers
