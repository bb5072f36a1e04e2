// The draws reader on the layouts people publish, each written here from a
// made-up history (the six layouts met in the field, the other shapes), and
// any history written in any layout, oldest or newest first.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../support/draws_layouts.h"
#include "core/number.h"
#include "draws/draws.h"

namespace {

using numbers::Draw;
using numbers::ReadDraws;
using numbers::ReadDrawsFile;
using testsupport::GbkDate;
using testsupport::Layout;
using testsupport::Layouts;
using testsupport::MadeUpHistory;
using testsupport::Written;

void ExpectSameDraws(const numbers::DrawsRead& read, const std::vector<Draw>& want,
                     const std::string& what) {
  ASSERT_EQ(read.refusal, "") << what;
  ASSERT_EQ(read.value.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_EQ(read.value[i], want[i]) << what << ", draw " << i;
  }
  EXPECT_EQ(read.datesLeftOut, 0u) << what;
}

class PublishedLayout : public testing::Test {
 protected:
  // 300 draws, each dated, as the files people publish are.
  std::vector<Draw> history = [] {
    std::mt19937 rng(300);
    return MadeUpHistory(rng, 300, 0);
  }();
  void Check(std::size_t layout, bool newestFirst) {
    const Layout l = Layouts()[layout];
    ExpectSameDraws(ReadDrawsFile(Written(l, history, newestFirst), "开奖.csv"), history, l.name);
  }
};

TEST_F(PublishedLayout, CsvWithAChineseHeader) {
  Check(0, false);
}

TEST_F(PublishedLayout, BlanksAndCrLfWithoutHeader) {
  Check(1, false);
}

TEST_F(PublishedLayout, SpreadsheetExportWithIndexAndDateFirstNewestFirst) {
  Check(2, true);
}

TEST_F(PublishedLayout, GbkTabsWithALetterInThe期号AndABrokenDate) {
  Check(3, false);
  // One date written without its month: the draw is read, undated, and counted.
  std::string text = Written(Layouts()[3], history, false);
  const std::string date = GbkDate(history[120].date);
  const std::size_t at = text.find(date);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, date.size(), history[120].date.substr(0, 4) + "\xC4\xEA\xD4\xC2" + "28\xC8\xD5");
  const auto read = ReadDrawsFile(text, "3d.txt");
  ASSERT_EQ(read.refusal, "");
  ASSERT_EQ(read.value.size(), history.size());
  EXPECT_EQ(read.datesLeftOut, 1u);
  EXPECT_EQ(read.value[120].date, "");
  EXPECT_EQ(read.value[120].number, history[120].number);
  EXPECT_EQ(read.value[121], history[121]);
}

TEST_F(PublishedLayout, CsvOfDigitsWithAQuotedRawField) {
  Check(4, false);
}

TEST_F(PublishedLayout, TabsDateFirstNewestFirstWithoutFinalBreak) {
  Check(5, true);
}

// Any history, dated or not, in every layout and either order.
TEST(DrawsLayouts, AnyHistoryInAnyLayoutReadsBack) {
  std::mt19937 rng(24);
  const std::vector<Layout> layouts = Layouts();
  for (int round = 0; round < 30; ++round) {
    const int count = 1 + static_cast<int>(rng() % 120);
    const std::vector<Draw> history = MadeUpHistory(rng, count, round % 3 == 0 ? 0.3 : 0);
    for (const Layout& l : layouts) {
      for (bool newestFirst : {false, true}) {
        const std::string what = std::string(l.name) + (newestFirst ? ", newest first" : "") +
                                 ", round " + std::to_string(round);
        ExpectSameDraws(ReadDrawsFile(Written(l, history, newestFirst), "x.txt"), history, what);
      }
    }
  }
}

TEST(DrawsLayouts, OtherShapesReadTheSameDraws) {
  const std::string want = "2024001 2024-01-01 357|2024002 2024-01-02 012|2024005 - 999|";
  auto shown = [](const numbers::DrawsRead& r) {
    std::string s = r.refusal;
    for (const Draw& d : r.value)
      s += numbers::IssueText(d) + " " + (d.date.empty() ? "-" : d.date) + " " +
           core::NumberText(d.number) + "|";
    return s;
  };
  for (const char* text : {
           "\"2024001\",\"2024-01-01\",\"357\"\n\"2024002\",\"2024-01-02\",\"012\"\n"
           "\"2024005\",\"\",\"999\"",
           "2024001;2024.01.01;357\r\n2024002;2024.1.2;012\r\n2024005;;999\r\n",
           "福彩3D 历史开奖\n\n期号 开奖日期 号码\n2024001 20240101 357\n\n"
           "期号 开奖日期 号码\n2024002 20240102 012\n节假日休市\n2024005 999\n",
           "2024005 999\r2024002 2024年01月02日 0 1 2\r2024001 2024/1/1(一) 3 5 7",
           "357\t2024001\t2024-01-01\n012\t2024002\t2024-01-02\n999\t2024005\n",
       }) {
    EXPECT_EQ(shown(ReadDraws(text)), want) << text;
  }
  // A no-break space separates; a lone byte 0xA0 (no UTF-8) is no blank.
  EXPECT_EQ(shown(ReadDraws("2024001\xC2\xA0"
                            "357")),
            "2024001 - 357|");
  EXPECT_EQ(ReadDraws("2024001\xA0"
                      "357")
                .refusal,
            numbers::kNoDraws);
  // The year-less 期号 of some sites stays as written.
  EXPECT_EQ(shown(ReadDraws("24001 2024-01-01 357\n24002 012")),
            "24001 2024-01-01 357|24002 - 012|");
}

TEST(DrawsLayouts, WhatStaysUnclearIsRefusedByItsLine) {
  // Both columns could be the date, the other the 期号.
  EXPECT_EQ(ReadDraws("期号 日期 号码\n20240101 20240102 357\n").refusal,
            "第 2 行：分不清哪一列是期号、日期和号码，未导入。");
  // One line in another order than the rest would be lost unseen.
  EXPECT_EQ(
      ReadDraws("2024001 2024-01-01 357\n2024002 2024-01-02 012\n2024-01-03 2024003 111\n").refusal,
      "第 3 行的期号、日期和号码的次序与其他行不同，未导入。");
  // A day that does not exist is a mistake to mend, not a date to drop.
  EXPECT_EQ(ReadDraws("2024-02-30\t2024060\t3\t5\t7\n2024-03-01\t2024061\t3\t5\t8").refusal,
            "第 1 行的日期“2024-02-30”不是有效日期，未导入。");
  EXPECT_EQ(ReadDraws("0,2020-09-30,2020225,0 9\n1,2020-10-01,2020226,1 2 3").refusal,
            "第 1 行有期号 2020225，但没有可读的开奖号码，未导入。");
  // The other date of one 期号 is named by the line it stands on.
  EXPECT_EQ(ReadDraws("2024001 357\n2024001 2024-01-01 357\n2024001 2024-01-02 357").refusal,
            "第 3 行：第 2024001 期的日期 2024-01-02 与第 2 行的 2024-01-01 不同，未导入。");
  // A missing index is no other order.
  const auto noIndex = ReadDraws(
      "0,2020-09-30,2020225,0 9 7\n2020-10-01,2020226,1 2 3\n2,2020-10-02,2020227,4 5 6\n");
  ASSERT_EQ(noIndex.refusal, "");
  EXPECT_EQ(noIndex.value.size(), 3u);
}

TEST(DrawsLayouts, KeptDrawsSetUnreadableLinesAside) {
  const auto read = numbers::ReadKeptDraws(
      "期号 日期 号码\r\n2024001 - 357\r\n2024002 - 3x\r\n我的笔记\r\n\r\n2024003 2024年月3日 "
      "111\r\n"
      "2024001 - 358\r\n2024004 2024-02-30 222\r\n2024005 - 555",
      "draws.txt");
  ASSERT_EQ(read.refusal, "");
  ASSERT_EQ(read.value.size(), 3u);
  EXPECT_EQ(read.value[1].issue, 2024003u);
  EXPECT_EQ(read.value[1].date, "");
  EXPECT_EQ(read.datesLeftOut, 1u);
  std::vector<std::size_t> lines;
  for (const auto& l : read.setAside) lines.push_back(l.line);
  EXPECT_EQ(lines, (std::vector<std::size_t>{3, 4, 6, 7, 8}));
  EXPECT_EQ(read.setAside[0].text, "2024002 - 3x");
  EXPECT_EQ(read.setAside[3].why,
            "第 7 行：第 2024001 期的号码 358 与第 2 行的 357 不同，未导入。");
  // A history emptied by deleting its draws is no problem.
  const auto empty = numbers::ReadKeptDraws(numbers::DrawsFileBytes({}), "draws.txt");
  EXPECT_EQ(empty.refusal, "");
  EXPECT_TRUE(empty.setAside.empty());
  // Not text, or read two ways: refused whole.
  EXPECT_NE(numbers::ReadKeptDraws("20240101 20240102 357", "draws.txt").refusal, "");
}

// Random bytes and cut lines of every layout: refused or read, never more.
TEST(DrawsLayouts, AnyBytesAreReadOrRefused) {
  std::mt19937 rng(7);
  std::string sample;
  std::mt19937 hist(1);
  for (const Layout& l : Layouts()) sample += Written(l, MadeUpHistory(hist, 5, 0.2), false);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes = sample.substr(rng() % sample.size(), rng() % 200);
    for (int k = 0; k < 3; ++k)
      if (!bytes.empty()) bytes[rng() % bytes.size()] = static_cast<char>(rng());
    const auto kept = numbers::ReadKeptDraws(bytes, "draws.txt");
    for (std::size_t k = 1; k < kept.setAside.size(); ++k)
      EXPECT_LE(kept.setAside[k - 1].line, kept.setAside[k].line);
    const auto r = ReadDrawsFile(bytes, "x.txt");
    if (!r.Ok()) {
      EXPECT_TRUE(r.value.empty());
      continue;
    }
    for (std::size_t k = 1; k < r.value.size(); ++k)
      EXPECT_LT(r.value[k - 1].issue, r.value[k].issue);
  }
}

}  // namespace
