#include "draws/draw.h"

namespace numbers {

std::string IssueForm() {
  return std::to_string(kIssueMinDigits) + "–" + std::to_string(kIssueMaxDigits) +
         " 位数字，如 2024001";
}

std::string IssueText(const Draw& draw) {
  std::string s = std::to_string(draw.issue);
  if (static_cast<int>(s.size()) < draw.issueDigits) s.insert(0, draw.issueDigits - s.size(), '0');
  return s;
}

}  // namespace numbers
