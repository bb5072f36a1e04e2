// The undo history of the lists. Every change of a list is a named step that
// 撤销 undoes and 恢复 redoes. A step keeps only what differs between the
// list before and after it, packed (a three-digit line in two bytes), so the
// memory of a history stays small even for 100,000-line lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/toolkit.h"

namespace tk {

// Lines packed for keeping: a three-digit line as its value, any other line
// as itself.
class PackedLines {
 public:
  PackedLines() = default;
  explicit PackedLines(const std::vector<std::string>& lines);

  void Add(std::string_view line);
  // Gives back what growing left unused.
  void Shrink();
  std::size_t Size() const { return codes_.size(); }
  std::size_t Bytes() const;
  std::vector<std::string> Unpacked() const;
  bool SameAs(const std::vector<std::string>& lines) const;

  // A place between lines, moved one line at a time either way.
  class Cursor {
   public:
    Cursor(const PackedLines& lines, bool atEnd);
    std::size_t Index() const { return index_; }
    // The line after the place; valid until the cursor moves.
    std::string_view Line();
    void Forward();
    void Back();

   private:
    const PackedLines* lines_;
    std::size_t index_ = 0;
    std::size_t other_ = 0;  // lines before the place that are kept whole
    char digits_[3] = {};
  };

 private:
  static constexpr std::uint16_t kWhole = 0xFFFF;
  std::vector<std::uint16_t> codes_;  // 0-999, or kWhole: the next of others_
  std::vector<std::string> others_;
};

// How to turn one state of a list into another: runs of lines dropped from
// the list the change applies to and lines put in their place.
struct Change {
  std::string name;
  std::string runs;        // per run, as varints: lines kept before it, dropped, put
  PackedLines put;         // the lines put, in order
  int tag = 0;             // the list's tag in the state the change leads to
  std::uint64_t link = 0;  // the same number on the other list's part of one step
  std::size_t Bytes() const;
};

// The change that turns `now` back into `before`.
Change Difference(const PackedLines& before, const std::vector<std::string>& now);
// Applies a change to `lines`; gives the result, and in `back` the change that
// undoes it.
std::vector<std::string> ApplyChange(const Change& change, const std::vector<std::string>& lines,
                                     Change& back);

// The steps of the window's lists. A step is opened by the handler that
// changes a list and recorded when its outermost scope ends; steps opened
// while one is open on the same list (a click inside a running 删除号码) join
// it. A step over several lists that changes more than one is one step: its
// parts are undone and redone together while both stand on top of their
// histories.
class History {
 public:
  struct Limits {
    std::size_t minSteps = 100;  // always kept
    std::size_t maxSteps = 1000;
    std::size_t budget = std::size_t{8} << 20;  // bytes per list beyond minSteps
  };
  // Called after a list's step is recorded, undone or redone, to show its
  // count and tag.
  using Shown = std::function<void(tk::ListControl& list)>;

  History(std::initializer_list<tk::ListControl*> lists, Shown shown, Limits limits);
  History(std::initializer_list<tk::ListControl*> lists, Shown shown)
      : History(lists, std::move(shown), Limits{}) {}
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  class Step {
   public:
    Step(History& history, std::string_view name, std::initializer_list<tk::ListControl*> lists);
    ~Step();
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;
    // The list's tag once the step ends, if its lines changed (or always).
    void SetTag(const tk::ListControl& list, int tag, bool evenIfUnchanged = false);

   private:
    History& history_;
    std::vector<std::size_t> lists_;
  };

  // A step is open on the list: undo and redo wait until it is recorded.
  bool Busy(const tk::ListControl& list) const;
  // The names of the steps that Undo and Redo would take; empty when none.
  std::string UndoName(const tk::ListControl& list) const;
  std::string RedoName(const tk::ListControl& list) const;
  bool Undo(tk::ListControl& list);
  bool Redo(tk::ListControl& list);

  int Tag(const tk::ListControl& list) const;
  // Some step of this run changed the list, or undid one.
  bool Touched(const tk::ListControl& list) const;
  std::size_t UndoSteps(const tk::ListControl& list) const;
  std::size_t RedoSteps(const tk::ListControl& list) const;
  // What the list's history holds, its copy of the current lines included.
  std::size_t Bytes(const tk::ListControl& list) const;

  // A change made outside any step is recorded under this name.
  static constexpr std::string_view kUnnamed = "列表更改";

 private:
  struct Record {
    tk::ListControl* list = nullptr;
    PackedLines base;  // the lines as of the last recorded point
    int baseTag = 0;
    int tag = 0;
    int pendingTag = 0;
    bool tagPending = false;
    bool tagForced = false;
    int depth = 0;
    std::string name;  // of the outermost open step
    std::deque<Change> undo;
    std::deque<Change> redo;
    std::size_t bytes = 0;  // of undo and redo
    bool touched = false;
  };

  std::size_t IndexOf(const tk::ListControl& list) const;
  void Open(std::size_t index, std::string_view name);
  // Ends the outermost scope: true when a change was recorded.
  bool Close(std::size_t index, std::uint64_t link);
  void Settle(std::size_t index);
  // Records the change since the last recorded point, if there is one.
  bool RecordChange(std::size_t index, const std::string& name, std::uint64_t link);
  void Trim(Record& r);
  void Move(std::size_t index, bool undo);
  void Unlink(std::uint64_t link);

  std::vector<Record> records_;
  Shown shown_;
  Limits limits_;
  std::uint64_t nextLink_ = 1;
};

}  // namespace tk
