#include "draws/store.h"

#include <algorithm>
#include <utility>

#include "core/notice.h"
#include "core/number.h"
#include "draws/reader.h"

namespace numbers {

std::string MergeDraws(std::vector<Draw>& kept, const std::vector<Draw>& added) {
  std::vector<Draw> merged;
  merged.reserve(kept.size() + added.size());
  std::size_t i = 0, j = 0, fresh = 0;
  while (i < kept.size() || j < added.size()) {
    if (j == added.size() || (i < kept.size() && kept[i].issue < added[j].issue)) {
      merged.push_back(kept[i++]);
    } else if (i == kept.size() || added[j].issue < kept[i].issue) {
      merged.push_back(added[j++]);
      ++fresh;
    } else {
      const Draw& a = kept[i];
      const Draw& b = added[j];
      const std::string which = "第 " + IssueText(a) + " 期已有";
      if (a.number != b.number)
        return which + "号码 " + core::NumberText(a.number) + "，与新的 " +
               core::NumberText(b.number) + " 不同，未导入。";
      if (!a.date.empty() && !b.date.empty() && a.date != b.date)
        return which + "日期 " + a.date + "，与新的 " + b.date + " 不同，未导入。";
      merged.push_back(a);
      if (merged.back().date.empty()) merged.back().date = b.date;
      ++i, ++j;
    }
  }
  if (merged.size() > kMaxDraws)
    return "开奖号码将多于 " + std::to_string(kMaxDraws) + " 期（已有 " +
           std::to_string(kept.size()) + " 期，新增 " + std::to_string(fresh) + " 期），未导入。";
  kept = std::move(merged);
  return {};
}

namespace {
auto IssueAt(const std::vector<Draw>& kept, std::uint32_t issue) {
  return std::lower_bound(kept.begin(), kept.end(), issue,
                          [](const Draw& d, std::uint32_t v) { return d.issue < v; });
}
}  // namespace

bool DeleteDraw(std::vector<Draw>& kept, std::uint32_t issue) {
  const auto it = IssueAt(kept, issue);
  if (it == kept.end() || it->issue != issue) return false;
  kept.erase(it);
  return true;
}

const Draw* FindDraw(const std::vector<Draw>& kept, std::uint32_t issue) {
  const auto it = IssueAt(kept, issue);
  return it != kept.end() && it->issue == issue ? &*it : nullptr;
}

std::string DrawsFileBytes(const std::vector<Draw>& kept) {
  std::string out = "期号 日期 号码\r\n";
  out.reserve(out.size() + kept.size() * 24);
  for (const Draw& d : kept) {
    out += IssueText(d);
    out += ' ';
    out += d.date.empty() ? std::string("-") : d.date;
    out += ' ';
    out += core::NumberText(d.number);
    out += "\r\n";
  }
  return out;
}

DrawStore::DrawStore(const tk::Platform& platform)
    : platform_(platform), folder_(platform.DataFolder()) {
  if (folder_.empty()) return;
  const std::string path = folder_ + std::string(kDrawsFileName);
  if (!platform_.FilePresent(path)) return;
  std::string bytes;
  try {
    bytes = platform_.ReadFileBytes(path, kDrawsTextMaxBytes);
  } catch (const tk::Error& e) {
    problem_ = e.what();
    pending_ = true;
    return;
  }
  // The reader refuses more than kMaxDraws 期号: no merge is needed.
  DrawsRead read = ReadKeptDraws(bytes, kDrawsFileName);
  if (!read.Ok()) {
    problem_ = std::move(read.refusal);
    pending_ = true;
    if (bytes.size() <= kDrawsTextMaxBytes) unread_ = std::move(bytes);
    return;
  }
  draws_ = std::move(read.value);
  if (read.setAside.empty()) return;
  problem_ = read.setAside.front().why;
  linesLeftOut_ = read.setAside.size();
  pending_ = true;
  std::string lines = std::string(kDrawsFileName) + " 中无法读取的行（行号：原文）：\r\n";
  for (const LineSetAside& l : read.setAside)
    lines += core::LineRef(l.line) + "：" + l.text + "\r\n";
  unread_ = std::move(lines);
}

bool DrawStore::SetAsideUnreadable() {
  if (!pending_) return writable_;
  pending_ = false;
  if (unread_ && AddToBadFile(*unread_)) {
    unread_.reset();
    // What was set aside is not set aside again at the next start.
    try {
      platform_.ReplaceFileBytes(folder_ + std::string(kDrawsFileName), DrawsFileBytes(draws_));
    } catch (const tk::Error&) {
    }
    return true;
  }
  writable_ = false;
  return false;
}

bool DrawStore::AddToBadFile(std::string_view addition) const {
  const std::string bad = folder_ + std::string(kBadDrawsFileName);
  try {
    std::string bytes;
    if (platform_.FilePresent(bad)) {
      bytes = platform_.ReadFileBytes(bad, kBadDrawsMaxBytes);
      if (bytes.size() > kBadDrawsMaxBytes) return false;
      if (!bytes.empty() && !bytes.ends_with('\n')) bytes += "\r\n";
    }
    bytes += addition;
    platform_.ReplaceFileBytes(bad, bytes);
    return true;
  } catch (const tk::Error&) {
    return false;
  }
}

void DrawStore::Keep(std::vector<Draw> next) {
  // An unreadable draws.txt is written over only once its copy is safe.
  if (pending_) SetAsideUnreadable();
  if (Saved()) {
    platform_.ReplaceFileBytes(folder_ + std::string(kDrawsFileName), DrawsFileBytes(next));
  }
  draws_ = std::move(next);
}

}  // namespace numbers
