#include "core/bet.h"

namespace core {

std::string CostText(long long count) {
  return "共 " + std::to_string(count) + " 注，金额 " + std::to_string(kBetCost * count) + " 元";
}

}  // namespace core
