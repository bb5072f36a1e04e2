// The 大底 operations: a list trimmed or grown by the numbers of another
// (a file's or the deletion list's). Pure functions of lines; a line that is
// not three digits is no number and stays where it is.
#pragma once

#include <bitset>
#include <string>
#include <vector>

#include "core/number.h"

namespace numbers {

using NumberSet = std::bitset<core::kNumberCount>;

// The three-digit numbers among the lines.
NumberSet NumbersIn(const std::vector<std::string>& lines);
// The number lines whose number is in `set` (与…取交集).
std::vector<std::string> IntersectNumbers(const std::vector<std::string>& lines,
                                          const NumberSet& set);
// Takes out every line whose number is in `set`.
std::vector<std::string> DropNumbers(const std::vector<std::string>& lines, const NumberSet& set);
// Appends, in their order, the numbers not yet in the lines, each once.
std::vector<std::string> AppendMissing(const std::vector<std::string>& lines,
                                       const std::vector<std::string>& numbers);
// Keeps each number's first line.
std::vector<std::string> DropRepeats(const std::vector<std::string>& lines);

}  // namespace numbers
