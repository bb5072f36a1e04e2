// 已选条件：the ticked conditions as a user reads them aloud.
#include "conditions/condition_table.h"
#include "conditions/conditions.h"
#include "conditions/inputs.h"

namespace numbers {

std::string FilterSummary(const FilterSettings& s) {
  std::vector<std::string> parts;
  for (const Condition& c : Conditions()) {
    if (s.*c.ticked) parts.push_back(std::string(c.name) + " " + c.summary(c, s));
  }
  if (parts.empty()) return "已选条件：无";
  const std::string& typed = TextOf(s, kToleranceSetting);
  const std::string name = std::string(kToleranceSetting.item) + " ";
  if (const auto tolerance = ParseTolerance(typed); !tolerance) {
    parts.push_back(name + AsTyped(typed));
  } else if (*tolerance > 0) {
    parts.push_back(name + std::to_string(*tolerance));
  }
  std::string out = "已选条件：";
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "；" : "") + parts[i];
  return out;
}

}  // namespace numbers
