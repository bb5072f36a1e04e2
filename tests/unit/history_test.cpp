// The undo history's steps: what a step keeps, steps over both lists, the
// limits; and the kept lists' file.
#include "toolkit/history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/headless_window.h"
#include "lists/kept_lists.h"
#include "lists/lists.h"

namespace {

using Strings = std::vector<std::string>;
using Step = tk::History::Step;

Strings Numbers(int n) {
  Strings lines;
  for (int i = 0; i < n; ++i) {
    lines.push_back({static_cast<char>('0' + i % 1000 / 100), static_cast<char>('0' + i % 100 / 10),
                     static_cast<char>('0' + i % 10)});
  }
  return lines;
}

struct History : ::testing::Test {
  testsupport::HeadlessWindow w;
  tk::ListControl& bets = w.form.mmoList;
  tk::ListControl& dels = w.form.mmoDel;
};

TEST_F(History, AStepKeepsOnlyWhatItTookOutOrReplaced) {
  const Strings all = Numbers(100000);
  tk::History h({&bets, &dels}, nullptr);
  {
    Step s(h, "载入", {&bets});
    bets.ReplaceLines(all);
  }
  const std::size_t loaded = h.Bytes(bets);
  {
    Step s(h, "删除号码", {&bets});
    for (const char* n : {"000", "123", "999"}) bets.DeleteLine(bets.FindLine(n));
  }
  // Three lines and their places, not another copy of the list.
  EXPECT_LT(h.Bytes(bets), loaded + 300);
  EXPECT_TRUE(h.Undo(bets));
  EXPECT_EQ(bets.Lines(), all);
  EXPECT_TRUE(h.Redo(bets));
  EXPECT_EQ(bets.LineCount(), 99997);
  // Lines that are no numbers come back exactly too, tag and all.
  {
    Step s(h, "添加", {&bets});
    bets.ReplaceLines({"1a2", "Ab", "", "中文"});
    s.SetTag(bets, numbers::TagOf(numbers::GroupBets(3)));
  }
  EXPECT_EQ(h.Tag(bets), numbers::TagOf(numbers::GroupBets(3)));
  h.Undo(bets);
  EXPECT_EQ(bets.LineCount(), 99997);
  EXPECT_EQ(h.Tag(bets), numbers::TagOf(numbers::kDirectBets));
  h.Redo(bets);
  EXPECT_EQ(bets.Lines(), (Strings{"1a2", "Ab", "", "中文"}));
  EXPECT_EQ(h.Tag(bets), numbers::TagOf(numbers::GroupBets(3)));
}

TEST_F(History, AStepOverBothListsGoesAndComesBackWholeWhileBothStandOnTop) {
  tk::History h({&bets, &dels}, nullptr);
  {
    Step s(h, "条件过滤", {&bets, &dels});
    bets.AppendLine("123");
    dels.AppendLine("456");
  }
  EXPECT_TRUE(h.Undo(dels));
  EXPECT_TRUE(bets.Lines().empty() && dels.Lines().empty());
  EXPECT_TRUE(h.Redo(bets));
  EXPECT_EQ(bets.Lines(), Strings{"123"});
  EXPECT_EQ(dels.Lines(), Strings{"456"});
  // The deletion list changed since: each part goes alone from now on.
  {
    Step s(h, "添加删除号码", {&dels});
    dels.AppendLine("789");
  }
  EXPECT_TRUE(h.Undo(bets));
  EXPECT_TRUE(bets.Lines().empty());
  EXPECT_EQ(dels.Lines(), (Strings{"456", "789"}));
  EXPECT_EQ(h.UndoName(dels), "添加删除号码");
  // A step over both that changed one list is that list's alone.
  {
    Step s(h, "条件过滤", {&bets, &dels});
    bets.AppendLine("321");
  }
  EXPECT_EQ(h.UndoName(dels), "添加删除号码");
  EXPECT_TRUE(h.Undo(bets));
  EXPECT_EQ(dels.Lines(), (Strings{"456", "789"}));
}

TEST_F(History, AtLeastTheMinimumOfStepsStaysWhateverTheyHold) {
  tk::History h({&bets, &dels}, nullptr, {.minSteps = 3, .maxSteps = 10, .budget = 0});
  for (int i = 0; i < 6; ++i) {
    Step s(h, "生成", {&bets});
    bets.ReplaceLines(Numbers(1000 + i));
  }
  EXPECT_EQ(h.UndoSteps(bets), 3u);
  while (h.Undo(bets)) {
  }
  EXPECT_EQ(bets.LineCount(), 1002);
  tk::History many({&bets, &dels}, nullptr, {.minSteps = 3, .maxSteps = 4});
  for (int i = 0; i < 6; ++i) {
    Step s(many, "添加", {&bets});
    bets.AppendLine("555");
  }
  EXPECT_EQ(many.UndoSteps(bets), 4u);
}

TEST(KeptList, LinesAndBetTypeComeBackExactlyAndABrokenFileIsNamed) {
  const Strings lines = {"123", "1a2", "", "中文", "000"};
  for (numbers::BetType type :
       {numbers::kDirectBets, numbers::GroupBets(0), numbers::GroupBets(12)}) {
    const numbers::KeptList kept =
        numbers::ReadKeptList(numbers::KeptListBytes(lines, type), "last-bets.txt");
    EXPECT_EQ(kept.refusal, "");
    EXPECT_EQ(kept.value.lines, lines);
    EXPECT_EQ(kept.value.type, type);
    EXPECT_EQ(numbers::BetTypeOf(numbers::TagOf(type)), type);
  }
  EXPECT_TRUE(numbers::ReadKeptList(numbers::KeptListBytes({}, {}), "x").value.lines.empty());
  const std::string bytes = numbers::KeptListBytes(lines, {});
  EXPECT_EQ(numbers::ReadKeptList("123\r\n", "D:\\last-bets.txt").refusal,
            "上次关闭时的列表文件“D:\\last-bets.txt”第 1 行无法识别，未载入。");
  // Cut short in its last line.
  const numbers::KeptList cut =
      numbers::ReadKeptList(bytes.substr(0, bytes.size() - 1), "last-bets.txt");
  EXPECT_EQ(cut.refusal, "上次关闭时的列表文件“last-bets.txt”第 6 行无法识别，未载入。");
  EXPECT_TRUE(cut.value.lines.empty());
  // The data folder's path comes from the system: its control bytes and
  // stray bytes never reach the box, and it is shown whole.
  const std::string folder = "/home/u\x1b[2J/" + std::string(40, 'd') + "\xFF/last-bets.txt";
  EXPECT_EQ(numbers::ReadKeptList("", folder).refusal,
            "上次关闭时的列表文件“/home/u\uFFFD[2J/" + std::string(40, 'd') +
                "\uFFFD/last-bets.txt”第 1 行无法识别，未载入。");
}

}  // namespace
