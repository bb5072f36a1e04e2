// What the conditions' inputs accept, and the tidy form the summary writes
// them back in. Every input is cut by core::ForEachToken, so its separators
// are the one separator set; inside an item, ASCII and fullwidth forms are
// alike: digits, range marks (- － ~ ～ – — −, blanks around them allowed) and
// colons (: ：). Anything else, or nothing, is not valid.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numbers {

// Values and ranges a-b (a <= b) of values 0..max (at most 31); bit v per value v.
std::optional<std::uint32_t> ParseValues(std::string_view text, int max);
// Patterns x:y:z with x+y+z = 3; bit x*4+y per pattern.
std::optional<std::uint16_t> ParsePatterns(std::string_view text);
// Digits, apart or run together, repeats harmless; bit d per digit d.
std::optional<std::uint16_t> ParseDigits(std::string_view text);
// Nothing but blanks (or nothing at all).
bool IsBlankInput(std::string_view text);
// A 定位 edit: digits, or blank for every digit (all ten bits).
std::optional<std::uint16_t> ParsePosition(std::string_view text);
// Tokens of two digits; bit x*10+y (x <= y) per pair.
std::optional<std::bitset<100>> ParsePairs(std::string_view text);
// 容错: one number; blank is 0.
std::optional<int> ParseTolerance(std::string_view text);

// Values as ranges where three or more follow each other: "10-14,18".
std::string ValuesText(std::uint32_t bits);
// "1,5" with separator ",", "15" with none.
std::string DigitsText(std::uint16_t bits, std::string_view separator);
// "2:1:0,1:1:1", the most of the first kind first.
std::string PatternsText(std::uint16_t bits);
// "12 35".
std::string PairsText(const std::bitset<100>& pairs);
// An input that is not valid, as the summary shows it: trimmed, control
// characters as U+FFFD, a long one cut; "（未填）" when blank.
std::string AsTyped(std::string_view text);

}  // namespace numbers
