// The number lists: digit rows of the two selection panels, generation of the
// lists, and every edit of them. The window's handlers call these; they see the
// window only through toolkit controls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lists/bet_type.h"
#include "toolkit/toolkit.h"

namespace numbers {

inline constexpr std::string_view kEmptyDigits = "数字不能为空, 请选择后再试!";
inline constexpr std::string_view kAlreadyListed = "号码已存在，不能添加！";
inline constexpr std::string_view kEmptyBetList = "投注号码列表不能为空, 请生成后再试!";
inline constexpr std::string_view kEmptyDeletionList = "删除号码列表不能为空, 请生成后再试!";
inline constexpr std::string_view kEmptyTypedDigits = "数字不能为空,请输入后再试!";

// One row of a selection panel: ten digit boxes (index = digit) and the edit
// that holds the row's digit set.
struct DigitRow {
  tk::Edit* edit = nullptr;
  std::array<tk::CheckBox*, 10> boxes{};
};

// A list with the label that shows its count.
struct CountedList {
  tk::ListControl* list = nullptr;
  tk::Control* count = nullptr;
  // The label's hint tells what the list costs (the bet list).
  bool cost = false;
};

// Shows a count in the list's label. Every change of a count label goes
// through here.
void ShowCount(const CountedList& target, int count);

// Lines that equal an earlier line, as FindLine compares them.
std::size_t RepeatCount(const std::vector<std::string>& lines);
// The bet list's hint: "共 N 注（重复 R 注），金额 2N 元" (the repeats only
// when there are some), for a 组选 list "组选 共 N 注：组三 a 注，组六 b 注，
// 已去掉豹子 k 个，金额 2N 元".
std::string BetListHint(const std::vector<std::string>& lines, BetType type);
// The list's count in its label and, for the bet list, its hint.
void ShowList(const CountedList& target, BetType type);

// ---- selection panels ----
// A box of the row changed state: keep the digit set in step with it.
void OnDigitBox(const DigitRow& row, const tk::Control& box);
// A character typed into the row's digit edit: digits tick boxes, Backspace
// unticks the digit before the caret; the edit itself never takes the key.
void OnDigitKey(const DigitRow& row, char32_t& key);

// ---- generation ----
// Every combination of one hundreds, one tens and one units character.
void GenerateCombinations(tk::Application& app, const std::array<tk::Edit*, 3>& digits,
                          tk::Control& button, const CountedList& target);
// All numbers 000 to 999.
void GenerateAll(tk::Control& button, const CountedList& target);

// ---- editing ----
// Lets only Backspace and the digits through.
void FilterNumberKey(char32_t& key);
// Adds the typed three-character number unless the list already holds it.
void AddTypedNumber(tk::Application& app, const tk::Edit& edit, const CountedList& target);
// Removes the line that holds the start of the list's selection.
void RemoveLineAtCaret(const CountedList& target);
// Both lists hold lines; otherwise the notice says which is empty.
bool BothListsFilled(tk::Application& app, const tk::ListControl& bets,
                     const tk::ListControl& deletions);
// Removes every bet line equal to a deletion line, each copy.
void ApplyDeletionList(tk::Application& app, tk::Control& button, const CountedList& bets,
                       const tk::ListControl& deletions);
// Removes every number spelled with the characters typed in `digits`, each
// copy of it.
void RemoveSpelledNumbers(tk::Application& app, tk::Edit& digits, tk::Control& button,
                          const CountedList& bets);

// ---- text files ----
// Saves the list's lines to a file the user picks in the save dialog, which
// suggests `fileName`. Says nothing on success; a failure leaves any file of
// that name as it was and shows the error box.
void SaveListToFile(tk::Application& app, const tk::ListControl& list, std::string_view fileName);
// Replaces the list's lines with the numbers of a file the user picks. A
// refused file changes nothing and gives a notice. True when it loaded.
bool LoadListFromFile(tk::Application& app, const CountedList& target);
// The numbers of a file the user picks in the open dialog titled `title`;
// false when cancelled, or refused with a notice or the error box.
bool AskNumbersFile(tk::Application& app, std::string_view title,
                    std::vector<std::string>& numbers);

// ---- 大底 operations on the bet list ----
enum class SetOperation { Intersect, Merge, Drop };
// With the numbers of a file the user picks: keeps the lines whose number is
// in it, appends its numbers not yet listed, or takes out every line of its
// numbers. Lines that are not three digits stay.
void CombineWithFile(tk::Application& app, const CountedList& bets, SetOperation op,
                     std::string_view title);
// The same with the deletion list's numbers (Intersect or Drop).
void CombineWithList(tk::Application& app, const CountedList& bets,
                     const tk::ListControl& deletions, SetOperation op);
// Keeps each number's first line.
void DropRepeatedNumbers(tk::Application& app, const CountedList& bets);

// The characters a spelled-number run steps through: each distinct
// character of the trimmed text once, in order of first appearance.
std::vector<std::string> SpellingAlphabet(std::string_view typed);

// The candidates of a spelled-number run, in counter order (units fastest).
// With at most ten characters every candidate is visited; with more, the
// walk jumps to the next candidate that some line of the list can equal, so a
// run over a huge pasted text still ends quickly.
class SpelledWalk {
 public:
  explicit SpelledWalk(std::vector<std::string> alphabet);
  // Moves to the next candidate; false when the walk is over.
  bool Next(const tk::ListControl& list);
  const std::string& Candidate() const { return candidate_; }
  std::uint64_t Rank() const { return rank_; }

 private:
  bool NextAfter(const tk::ListControl& list);
  void Build();

  std::vector<std::string> alphabet_;
  std::uint64_t size_ = 0;  // alphabet_.size()
  // Folded character -> its places in the alphabet (for the jumping walk).
  std::unordered_map<std::string, std::vector<std::uint64_t>> where_;
  // Some character of the alphabet is a byte outside any UTF-8 sequence.
  bool strayBytes_ = false;
  std::uint64_t rank_ = 0;
  bool started_ = false;
  std::string candidate_;
};

}  // namespace numbers
