// 组选 and back: a list turned into groups and groups into every order.
// Lines that are not three digits stay where they are.
#pragma once

#include <string>
#include <vector>

namespace numbers {

// 组选: each three-digit line as its digits in ascending order, the first of
// each group kept in order of first appearance, 豹子 dropped; other lines stay.
std::vector<std::string> ToGroups(const std::vector<std::string>& lines);
// Each three-digit line as all its distinct orderings in ascending order,
// repeats after the first dropped; other lines stay.
std::vector<std::string> ExpandGroups(const std::vector<std::string>& lines);

}  // namespace numbers
