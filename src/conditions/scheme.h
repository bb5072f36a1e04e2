// 方案: the settings of the conditions window as a small UTF-8 text file that
// users read, edit by hand and share (docs/schemes.md). Pure functions; the
// window reads and writes the files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "conditions/conditions.h"
#include "core/result.h"

namespace numbers {

inline constexpr std::string_view kSchemeHeader = "Qelmar3D 缩水方案 1";
inline constexpr std::size_t kSchemeFileMaxBytes = std::size_t{16} << 20;
inline constexpr std::string_view kSchemeExtension = ".txt";
// The longest 方案 name, in characters.
inline constexpr std::size_t kSchemeNameMaxChars = 40;

// Every setting but repeatDraw (the window's latest draw, not the user's
// choice): a byte-order mark, the header, one "名称 = 值" line per setting,
// CR LF after each line.
std::string SchemeBytes(const FilterSettings& settings);

// The settings a file holds (settings it leaves out keep their defaults),
// or a refusal naming the file (the last component of `path`) and the line:
// a file that is not a 方案, a line that does not parse, an unknown condition
// or item, a value out of its choices, an item given twice. An input that the
// window would find invalid is no reason to refuse: the window shows it as
// usual.
core::Read<FilterSettings> ReadScheme(std::string_view bytes, std::string_view path);

// Why a typed 方案 name (blanks at either end dropped) cannot name a file on
// every system, or empty when it can.
std::string SchemeNameRefusal(std::string_view name);
// The file of a 方案 name: the name without surrounding blanks, plus ".txt".
std::string SchemeFileName(std::string_view name);
// The 方案 name of a file: its last path component without ".txt".
std::string SchemeNameOfFile(std::string_view path);

}  // namespace numbers
