#include "toolkit/history.h"

#include <algorithm>
#include <utility>

namespace tk {

namespace {

int ThreeDigits(std::string_view line) {
  if (line.size() != 3) return -1;
  int v = 0;
  for (char c : line) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v;
}

void PutVarint(std::string& out, std::size_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<char>((v & 0x7F) | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<char>(v));
}

std::size_t GetVarint(std::string_view in, std::size_t& pos) {
  std::size_t v = 0;
  for (int shift = 0; pos < in.size() && shift < 64; shift += 7) {
    const auto b = static_cast<unsigned char>(in[pos++]);
    v |= static_cast<std::size_t>(b & 0x7F) << shift;
    if ((b & 0x80) == 0) return v;
  }
  throw Error("撤销记录已损坏。");
}

struct Run {
  std::size_t at = 0;  // in the lines the change applies to
  std::size_t drop = 0;
  std::size_t put = 0;
};

std::string EncodeRuns(const std::vector<Run>& runs) {
  std::string out;
  std::size_t end = 0;
  for (const Run& r : runs) {
    PutVarint(out, r.at - end);
    PutVarint(out, r.drop);
    PutVarint(out, r.put);
    end = r.at + r.drop;
  }
  return out;
}

std::size_t PackedBytes(std::size_t lines) {
  return lines * sizeof(std::uint16_t);
}

}  // namespace

// ---- PackedLines ----

PackedLines::PackedLines(const std::vector<std::string>& lines) {
  codes_.reserve(lines.size());
  for (const auto& l : lines) Add(l);
}

void PackedLines::Add(std::string_view line) {
  const int v = ThreeDigits(line);
  if (v >= 0) {
    codes_.push_back(static_cast<std::uint16_t>(v));
  } else {
    codes_.push_back(kWhole);
    others_.emplace_back(line);
  }
}

void PackedLines::Shrink() {
  codes_.shrink_to_fit();
  others_.shrink_to_fit();
}

std::size_t PackedLines::Bytes() const {
  std::size_t n =
      codes_.capacity() * sizeof(std::uint16_t) + others_.capacity() * sizeof(std::string);
  for (const auto& o : others_) {
    if (o.capacity() > 15) n += o.capacity() + 1;  // beyond the string's own room
  }
  return n;
}

std::vector<std::string> PackedLines::Unpacked() const {
  std::vector<std::string> out;
  out.reserve(Size());
  Cursor c(*this, false);
  for (std::size_t i = 0; i < Size(); ++i, c.Forward()) out.emplace_back(c.Line());
  return out;
}

bool PackedLines::SameAs(const std::vector<std::string>& lines) const {
  if (lines.size() != codes_.size()) return false;
  std::size_t other = 0;
  for (std::size_t i = 0; i < codes_.size(); ++i) {
    const std::string& l = lines[i];
    if (codes_[i] == kWhole) {
      if (l != others_[other++]) return false;
    } else if (ThreeDigits(l) != codes_[i]) {
      return false;
    }
  }
  return true;
}

PackedLines::Cursor::Cursor(const PackedLines& lines, bool atEnd) : lines_(&lines) {
  if (atEnd) {
    index_ = lines.codes_.size();
    other_ = lines.others_.size();
  }
}

std::string_view PackedLines::Cursor::Line() {
  const std::uint16_t code = lines_->codes_[index_];
  if (code == kWhole) return lines_->others_[other_];
  digits_[0] = static_cast<char>('0' + code / 100);
  digits_[1] = static_cast<char>('0' + code / 10 % 10);
  digits_[2] = static_cast<char>('0' + code % 10);
  return {digits_, 3};
}

void PackedLines::Cursor::Forward() {
  if (lines_->codes_[index_] == kWhole) ++other_;
  ++index_;
}

void PackedLines::Cursor::Back() {
  --index_;
  if (lines_->codes_[index_] == kWhole) --other_;
}

std::size_t Change::Bytes() const {
  return sizeof(Change) + name.capacity() + runs.capacity() + put.Bytes();
}

// ---- differences ----

Change Difference(const PackedLines& before, const std::vector<std::string>& now) {
  Change change;
  const std::size_t nA = before.Size();
  const std::size_t nB = now.size();
  // Lines alike at both ends are not kept.
  PackedLines::Cursor head(before, false);
  std::size_t p = 0;
  while (p < nA && p < nB && head.Line() == now[p]) {
    head.Forward();
    ++p;
  }
  PackedLines::Cursor tail(before, true);
  std::size_t s = 0;
  while (s < nA - p && s < nB - p) {
    tail.Back();
    if (tail.Line() != now[nB - 1 - s]) {
      tail.Forward();
      break;
    }
    ++s;
  }
  const std::size_t endA = nA - s;
  const std::size_t endB = nB - s;
  if (p == endA && p == endB) return change;

  // The middle of `before` put back whole in place of the middle of `now`.
  auto whole = [&] {
    PackedLines put;
    PackedLines::Cursor c = head;
    for (std::size_t i = p; i < endA; ++i, c.Forward()) put.Add(c.Line());
    return std::make_pair(std::vector<Run>{{p, endB - p, endA - p}}, std::move(put));
  };
  auto [runs, put] = whole();

  // Lines only taken out, or only added: runs at the places where they
  // were, often far smaller than the whole middle.
  std::vector<Run> fewer;
  PackedLines fewerPut;
  bool found = false;
  if (endB - p < endA - p) {
    PackedLines::Cursor a = head;
    std::size_t j = p;
    for (std::size_t i = p; i < endA; ++i, a.Forward()) {
      const std::string_view line = a.Line();
      if (j < endB && line == now[j]) {
        ++j;
        continue;
      }
      if (!fewer.empty() && fewer.back().at == j) {
        ++fewer.back().put;
      } else {
        fewer.push_back({j, 0, 1});
      }
      fewerPut.Add(line);
    }
    found = j == endB;
  } else {
    PackedLines::Cursor a = head;
    std::size_t i = p;
    for (std::size_t j = p; j < endB; ++j) {
      if (i < endA && a.Line() == now[j]) {
        a.Forward();
        ++i;
        continue;
      }
      if (!fewer.empty() && fewer.back().at + fewer.back().drop == j) {
        ++fewer.back().drop;
      } else {
        fewer.push_back({j, 1, 0});
      }
    }
    found = i == endA;
  }
  std::string fewerRuns;
  if (found) fewerRuns = EncodeRuns(fewer);
  if (found && fewerRuns.size() + PackedBytes(fewerPut.Size()) <
                   EncodeRuns(runs).size() + PackedBytes(put.Size())) {
    change.runs = std::move(fewerRuns);
    change.put = std::move(fewerPut);
  } else {
    change.runs = EncodeRuns(runs);
    change.put = std::move(put);
  }
  change.put.Shrink();
  return change;
}

std::vector<std::string> ApplyChange(const Change& change, const std::vector<std::string>& lines,
                                     Change& back) {
  std::vector<std::string> out;
  out.reserve(lines.size() + change.put.Size());
  back.runs.clear();
  back.put = PackedLines();
  PackedLines::Cursor put(change.put, false);
  std::size_t putLeft = change.put.Size();
  std::size_t pos = 0;
  std::size_t at = 0;
  while (at < change.runs.size()) {
    const std::size_t kept = GetVarint(change.runs, at);
    const std::size_t drop = GetVarint(change.runs, at);
    const std::size_t n = GetVarint(change.runs, at);
    if (kept > lines.size() - pos || drop > lines.size() - pos - kept || n > putLeft) {
      throw Error("撤销记录与列表不符。");
    }
    out.insert(out.end(), lines.begin() + static_cast<std::ptrdiff_t>(pos),
               lines.begin() + static_cast<std::ptrdiff_t>(pos + kept));
    pos += kept;
    for (std::size_t k = 0; k < drop; ++k) back.put.Add(lines[pos + k]);
    pos += drop;
    for (std::size_t k = 0; k < n; ++k, put.Forward()) out.emplace_back(put.Line());
    putLeft -= n;
    // The same places in the result: the kept lines, then what was put.
    PutVarint(back.runs, kept);
    PutVarint(back.runs, n);
    PutVarint(back.runs, drop);
  }
  out.insert(out.end(), lines.begin() + static_cast<std::ptrdiff_t>(pos), lines.end());
  back.put.Shrink();
  back.runs.shrink_to_fit();
  return out;
}

// ---- History ----

History::History(std::initializer_list<tk::ListControl*> lists, Shown shown, Limits limits)
    : shown_(std::move(shown)), limits_(limits) {
  for (tk::ListControl* l : lists) {
    Record r;
    r.list = l;
    r.base = PackedLines(l->Lines());
    records_.push_back(std::move(r));
  }
}

std::size_t History::IndexOf(const tk::ListControl& list) const {
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].list == &list) return i;
  }
  throw Error("此列表没有撤销记录：" + std::string(list.Name()));
}

History::Step::Step(History& history, std::string_view name,
                    std::initializer_list<tk::ListControl*> lists)
    : history_(history) {
  for (tk::ListControl* l : lists) {
    const std::size_t i = history.IndexOf(*l);
    if (std::find(lists_.begin(), lists_.end(), i) != lists_.end()) continue;
    history.Open(i, name);
    lists_.push_back(i);
  }
}

History::Step::~Step() {
  const std::uint64_t link = lists_.size() > 1 ? history_.nextLink_++ : 0;
  std::vector<std::size_t> recorded;
  for (std::size_t i : lists_) {
    try {
      if (history_.Close(i, link)) recorded.push_back(i);
    } catch (...) {
      // A step that cannot be kept (memory) is lost, never the list.
    }
  }
  if (recorded.size() == 1) {
    auto& undo = history_.records_[recorded[0]].undo;
    if (!undo.empty() && undo.back().link == link) undo.back().link = 0;
  }
}

void History::Step::SetTag(const tk::ListControl& list, int tag, bool evenIfUnchanged) {
  const std::size_t i = history_.IndexOf(list);
  if (std::find(lists_.begin(), lists_.end(), i) == lists_.end()) return;  // not this step's
  Record& r = history_.records_[i];
  r.pendingTag = tag;
  r.tagPending = true;
  r.tagForced = r.tagForced || evenIfUnchanged;
}

void History::Open(std::size_t index, std::string_view name) {
  Record& r = records_[index];
  if (r.depth++ > 0) return;
  Settle(index);
  r.name = name;
  r.tagPending = false;
  r.tagForced = false;
}

bool History::Close(std::size_t index, std::uint64_t link) {
  Record& r = records_[index];
  if (r.depth == 0 || --r.depth > 0) return false;
  if (r.tagPending && (r.tagForced || !r.base.SameAs(r.list->Lines()))) r.tag = r.pendingTag;
  r.tagPending = false;
  const bool recorded = RecordChange(index, r.name, link);
  if (shown_) shown_(*r.list);
  return recorded;
}

void History::Settle(std::size_t index) {
  Record& r = records_[index];
  if (!r.base.SameAs(r.list->Lines()) && RecordChange(index, std::string(kUnnamed), 0) && shown_) {
    shown_(*r.list);
  }
}

bool History::RecordChange(std::size_t index, const std::string& name, std::uint64_t link) {
  Record& r = records_[index];
  const std::vector<std::string>& lines = r.list->Lines();
  if (r.tag == r.baseTag && r.base.SameAs(lines)) return false;
  Change c = Difference(r.base, lines);
  c.name = name;
  c.tag = r.baseTag;
  c.link = link;
  PackedLines base(lines);
  for (const Change& gone : r.redo) r.bytes -= gone.Bytes();
  r.redo.clear();
  r.bytes += c.Bytes();
  r.undo.push_back(std::move(c));
  r.base = std::move(base);
  r.baseTag = r.tag;
  r.touched = true;
  Trim(r);
  return true;
}

void History::Trim(Record& r) {
  for (;;) {
    const std::size_t steps = r.undo.size() + r.redo.size();
    const bool over =
        steps > limits_.maxSteps || (steps > limits_.minSteps && r.bytes > limits_.budget);
    if (!over || r.undo.empty()) return;
    r.bytes -= r.undo.front().Bytes();
    r.undo.pop_front();
  }
}

bool History::Busy(const tk::ListControl& list) const {
  return records_[IndexOf(list)].depth > 0;
}

std::string History::UndoName(const tk::ListControl& list) const {
  const Record& r = records_[IndexOf(list)];
  return r.undo.empty() ? std::string() : r.undo.back().name;
}

std::string History::RedoName(const tk::ListControl& list) const {
  const Record& r = records_[IndexOf(list)];
  return r.redo.empty() ? std::string() : r.redo.back().name;
}

bool History::Undo(tk::ListControl& list) {
  const std::size_t i = IndexOf(list);
  if (records_[i].depth > 0) return false;
  Settle(i);
  if (records_[i].undo.empty()) return false;
  Move(i, true);
  return true;
}

bool History::Redo(tk::ListControl& list) {
  const std::size_t i = IndexOf(list);
  if (records_[i].depth > 0) return false;
  Settle(i);
  if (records_[i].redo.empty()) return false;
  Move(i, false);
  return true;
}

void History::Move(std::size_t index, bool undo) {
  const std::uint64_t link = (undo ? records_[index].undo : records_[index].redo).back().link;
  std::vector<std::size_t> parts{index};
  if (link != 0) {
    std::size_t partner = records_.size();
    for (std::size_t j = 0; j < records_.size(); ++j) {
      if (j == index || records_[j].depth > 0) continue;
      Settle(j);
      const auto& from = undo ? records_[j].undo : records_[j].redo;
      if (!from.empty() && from.back().link == link) partner = j;
    }
    if (partner < records_.size()) {
      parts.push_back(partner);
    } else {
      // The other list has changed since: each part goes on alone.
      Unlink(link);
    }
  }
  for (std::size_t i : parts) {
    Record& r = records_[i];
    auto& from = undo ? r.undo : r.redo;
    auto& to = undo ? r.redo : r.undo;
    Change back;
    std::vector<std::string> lines = ApplyChange(from.back(), r.list->Lines(), back);
    back.name = from.back().name;
    back.tag = r.tag;
    back.link = from.back().link;
    const int tag = from.back().tag;
    r.bytes -= from.back().Bytes();
    from.pop_back();
    r.list->ReplaceLines(std::move(lines));
    r.tag = r.baseTag = tag;
    r.base = PackedLines(r.list->Lines());
    r.bytes += back.Bytes();
    to.push_back(std::move(back));
    r.touched = true;
    Trim(r);
  }
  for (std::size_t i : parts) {
    if (shown_) shown_(*records_[i].list);
  }
}

void History::Unlink(std::uint64_t link) {
  for (Record& r : records_) {
    for (auto* stack : {&r.undo, &r.redo}) {
      for (Change& c : *stack) {
        if (c.link == link) c.link = 0;
      }
    }
  }
}

int History::Tag(const tk::ListControl& list) const {
  return records_[IndexOf(list)].tag;
}

bool History::Touched(const tk::ListControl& list) const {
  return records_[IndexOf(list)].touched;
}

std::size_t History::UndoSteps(const tk::ListControl& list) const {
  return records_[IndexOf(list)].undo.size();
}

std::size_t History::RedoSteps(const tk::ListControl& list) const {
  return records_[IndexOf(list)].redo.size();
}

std::size_t History::Bytes(const tk::ListControl& list) const {
  const Record& r = records_[IndexOf(list)];
  return r.bytes + r.base.Bytes();
}

}  // namespace tk
