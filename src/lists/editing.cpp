#include <bitset>
#include <charconv>
#include <limits>
#include <string>
#include <unordered_set>

#include "core/bet.h"
#include "core/number.h"
#include "core/text.h"
#include "lists/lists.h"

namespace numbers {

namespace {

void ShowLineCount(const CountedList& target) {
  ShowCount(target, target.list->LineCount());
}

// Characters compare as FindLine compares them.
std::string Folded(std::string_view ch) {
  return core::FoldCase(ch);
}

// The character of the other case that FindLine takes as equal, or 0.
char32_t OtherCase(char32_t cp) {
  const char32_t small = core::FoldCase(cp);
  if (small != cp) return small;
  const char32_t capital = cp - 0x20;
  if ((cp >= U'a' && cp <= U'z') || (cp >= 0x0430 && cp <= 0x044F) ||
      (cp >= 0xFF41 && cp <= 0xFF5A) || (cp >= 0x03B1 && cp <= 0x03C9 && cp != 0x03C2)) {
    return capital;
  }
  if (cp >= 0x2170 && cp <= 0x2179) return cp - 0x10;
  return cp == 0x0451 ? 0x0401 : 0;
}

}  // namespace

void ShowCount(const CountedList& target, int count) {
  target.count->SetText(std::to_string(count));
}

std::size_t RepeatCount(const std::vector<std::string>& lines) {
  std::bitset<core::kNumberCount> numbers;
  std::unordered_set<std::string> others;
  std::size_t repeats = 0;
  for (const auto& l : lines) {
    const int n = core::ParseNumber(l);
    if (n >= 0) {
      if (numbers[static_cast<std::size_t>(n)]) ++repeats;
      numbers[static_cast<std::size_t>(n)] = true;
    } else if (!others.insert(core::FoldCase(l)).second) {
      ++repeats;
    }
  }
  return repeats;
}

std::string BetListHint(const std::vector<std::string>& lines, BetType type) {
  const std::size_t n = lines.size();
  const std::size_t repeats = RepeatCount(lines);
  if (repeats == 0 && type.kind == core::BetKind::kDirect) {
    return core::CostText(static_cast<long long>(n));
  }
  std::string count = "共 " + std::to_string(n) + " 注";
  if (repeats > 0) count += "（重复 " + std::to_string(repeats) + " 注）";
  const std::string cost = "金额 " + std::to_string(core::kBetCost * n) + " 元";
  if (type.kind == core::BetKind::kDirect) return count + "，" + cost;
  std::size_t zu3 = 0;
  std::size_t zu6 = 0;
  for (const auto& l : lines) {
    const int number = core::ParseNumber(l);
    if (number == core::kNoNumber) continue;
    const core::Shape shape = core::ShapeOf(number);
    zu3 += shape == core::Shape::kZu3;
    zu6 += shape == core::Shape::kZu6;
  }
  return "组选 " + count + "：组三 " + std::to_string(zu3) + " 注，组六 " + std::to_string(zu6) +
         " 注，已去掉豹子 " + std::to_string(type.baoziDropped) + " 个，" + cost;
}

void ShowList(const CountedList& target, BetType type) {
  ShowCount(target, target.list->LineCount());
  if (target.cost) target.count->SetHint(BetListHint(target.list->Lines(), type));
}

void FilterNumberKey(char32_t& key) {
  if (key != tk::kBackspace && (key < U'0' || key > U'9')) key = 0;
}

void AddTypedNumber(tk::Application& app, const tk::Edit& edit, const CountedList& target) {
  const std::string number = core::Trim(edit.Text());
  if (core::CharCount(number) != 3) return;
  if (target.list->FindLine(number) >= 0) {
    app.ShowNotice(kAlreadyListed);
    return;
  }
  target.list->AppendLine(number);
  ShowLineCount(target);
}

void RemoveLineAtCaret(const CountedList& target) {
  const int line = target.list->LineFromChar(target.list->CaretOffset());
  target.list->DeleteLine(line);
  target.list->GiveFocus();
  ShowLineCount(target);
}

bool BothListsFilled(tk::Application& app, const tk::ListControl& bets,
                     const tk::ListControl& deletions) {
  if (bets.LineCount() == 0) {
    app.ShowNotice(kEmptyBetList);
    return false;
  }
  if (deletions.LineCount() == 0) {
    app.ShowNotice(kEmptyDeletionList);
    return false;
  }
  return true;
}

void ApplyDeletionList(tk::Application& app, tk::Control& button, const CountedList& bets,
                       const tk::ListControl& deletions) {
  if (!BothListsFilled(app, *bets.list, deletions)) return;
  button.SetEnabled(false);
  // Every bet line equal to some deletion line goes, each copy of it: one
  // pass over each list with the set of what goes.
  std::bitset<core::kNumberCount> numbers;
  std::unordered_set<std::string> others;
  for (const auto& l : deletions.Lines()) {
    const int n = core::ParseNumber(l);
    if (n >= 0) {
      numbers[static_cast<std::size_t>(n)] = true;
    } else {
      others.insert(core::FoldCase(l));
    }
  }
  const std::vector<std::string>& lines = bets.list->Lines();
  std::vector<std::string> kept;
  kept.reserve(lines.size());
  for (const auto& l : lines) {
    const int n = core::ParseNumber(l);
    const bool goes = n >= 0 ? numbers[static_cast<std::size_t>(n)]
                             : !others.empty() && others.contains(core::FoldCase(l));
    if (!goes) kept.push_back(l);
  }
  if (kept.size() != lines.size()) {
    bets.list->ReplaceLines(std::move(kept));
    ShowCount(bets, bets.list->LineCount());
  }
  button.SetEnabled(true);
}

std::vector<std::string> SpellingAlphabet(std::string_view typed) {
  std::vector<std::string> alphabet;
  // A pasted text may hold millions of characters and thousands of distinct ones.
  std::unordered_set<std::string_view> seen;
  for (std::string_view ch : core::Chars(core::TrimView(typed))) {
    if (seen.insert(ch).second) alphabet.emplace_back(ch);
  }
  return alphabet;
}

SpelledWalk::SpelledWalk(std::vector<std::string> alphabet)
    : alphabet_(std::move(alphabet)), size_(alphabet_.size()) {
  if (size_ > 10) {
    for (std::uint64_t i = 0; i < size_; ++i) where_[Folded(alphabet_[i])].push_back(i);
    for (const auto& ch : alphabet_) {
      strayBytes_ = strayBytes_ || (ch.size() == 1 && static_cast<unsigned char>(ch[0]) >= 0x80);
    }
  }
}

void SpelledWalk::Build() {
  candidate_.clear();
  candidate_ += alphabet_[rank_ / (size_ * size_)];
  candidate_ += alphabet_[rank_ / size_ % size_];
  candidate_ += alphabet_[rank_ % size_];
}

bool SpelledWalk::Next(const tk::ListControl& list) {
  if (size_ == 0) return false;
  if (size_ > 10) return NextAfter(list);
  if (!started_) {
    started_ = true;
    rank_ = 0;
  } else if (rank_ + 1 >= size_ * size_ * size_) {
    return false;
  } else {
    ++rank_;
  }
  Build();
  return true;
}

// The smallest candidate after the current one that equals some line of the
// list as it stands now. Candidates that equal no line would find nothing.
bool SpelledWalk::NextAfter(const tk::ListControl& list) {
  std::uint64_t best = std::numeric_limits<std::uint64_t>::max();
  auto consider = [&](std::string_view p0, std::string_view p1, std::string_view p2) {
    const auto a = where_.find(Folded(p0));
    if (a == where_.end()) return;
    const auto b = where_.find(Folded(p1));
    if (b == where_.end()) return;
    const auto c = where_.find(Folded(p2));
    if (c == where_.end()) return;
    for (std::uint64_t x : a->second) {
      for (std::uint64_t y : b->second) {
        for (std::uint64_t z : c->second) {
          const std::uint64_t r = (x * size_ + y) * size_ + z;
          if ((!started_ || r > rank_) && r < best) best = r;
        }
      }
    }
  };
  for (const std::string& line : list.Lines()) {
    const std::string_view v(line);
    if (strayBytes_) {
      if (v.size() > 12) continue;  // three pieces of at most four bytes
      // Where each byte's character starts.
      std::size_t startOf[12];
      for (std::size_t p = 0; p < v.size();) {
        const std::size_t len = core::CharLength(v, p);
        for (std::size_t q = p; q < p + len; ++q) startOf[q] = p;
        p += len;
      }
      // Stray bytes of the alphabet can join into a character of the line:
      // try every cut of the line into three pieces of one to four bytes. A
      // character that a cut splits equals the line's in either case, so the
      // cut is tried with each case of it.
      for (std::size_t i = 1; i <= 4 && i < v.size(); ++i) {
        for (std::size_t j = 1; j <= 4 && i + j < v.size(); ++j) {
          if (v.size() - i - j > 4) continue;
          std::size_t split[2];
          int k = 0;
          for (std::size_t at : {i, i + j}) {
            const std::size_t s = startOf[at];
            if (s == at || (k == 1 && split[0] == s)) continue;
            if (OtherCase(core::DecodeChar(v.substr(s, core::CharLength(v, s)))) != 0)
              split[k++] = s;
          }
          for (int mask = 0; mask < (1 << k); ++mask) {
            std::string w(v);
            for (int b = 0; b < k; ++b) {
              if ((mask >> b & 1) == 0) continue;
              const std::size_t len = core::CharLength(v, split[b]);
              const char32_t other = OtherCase(core::DecodeChar(v.substr(split[b], len)));
              w.replace(split[b], len, core::EncodeChar(other));
            }
            const std::string_view x(w);
            consider(x.substr(0, i), x.substr(i, j), x.substr(i + j));
          }
        }
      }
      continue;
    }
    // Only characters in the alphabet: a line made of three of them splits
    // into them in one way. Split without allocating: this runs for every
    // line at every step.
    std::string_view chars[3];
    std::size_t pos = 0;
    int n = 0;
    for (; n < 3 && pos < v.size(); ++n) {
      const std::size_t len = core::CharLength(v, pos);
      chars[n] = v.substr(pos, len);
      pos += len;
    }
    if (n == 3 && pos == v.size()) consider(chars[0], chars[1], chars[2]);
  }
  if (best == std::numeric_limits<std::uint64_t>::max()) return false;
  started_ = true;
  rank_ = best;
  Build();
  return true;
}

void RemoveSpelledNumbers(tk::Application& app, tk::Edit& digits, tk::Control& button,
                          const CountedList& bets) {
  button.SetEnabled(false);
  const std::string typed = core::Trim(digits.Text());
  if (typed.empty()) {
    app.ShowNotice(kEmptyTypedDigits);
    digits.GiveFocus();
    button.SetEnabled(true);
    return;
  }
  SpelledWalk walk(SpellingAlphabet(typed));
  for (;;) {
    // Keeps the window responsive; other handlers may change the list here.
    app.PumpMessages();
    if (!walk.Next(*bets.list)) break;
    // Every copy of the candidate, in one pass from the first.
    const int gone = bets.list->DeleteEqualLines(walk.Candidate());
    if (gone == 0) continue;
    const std::string shown = bets.count->Text();
    int count = 0;
    const auto [end, ec] = std::from_chars(shown.data(), shown.data() + shown.size(), count);
    if (ec != std::errc() || end != shown.data() + shown.size()) {
      count = bets.list->LineCount() + gone;
    }
    ShowCount(bets, count - gone);
  }
  button.SetEnabled(true);
}

}  // namespace numbers
