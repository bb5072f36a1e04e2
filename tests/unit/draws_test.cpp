#include "draws/draws.h"

#include <gtest/gtest.h>

#include "../support/chart_cells.h"
#include "../support/temp_folder.h"
#include "core/number.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using numbers::Draw;
using numbers::ReadDraws;
using numbers::TrendChart;
using testsupport::CircleIn;
using testsupport::OpIn;
using testsupport::TextIn;
using Type = tk::DrawOp::Type;

std::size_t Count(const tk::Drawing& ops, Type type) {
  return static_cast<std::size_t>(
      std::count_if(ops.begin(), ops.end(), [&](const tk::DrawOp& op) { return op.type == type; }));
}

std::vector<std::string> Texts(const tk::Drawing& ops) {
  std::vector<std::string> out;
  for (const tk::DrawOp& op : ops)
    if (op.type == Type::kText) out.push_back(op.text);
  return out;
}

// The lines in a block's colour: those joining drawn digits.
std::vector<const tk::DrawOp*> Joins(const tk::Drawing& ops) {
  std::vector<const tk::DrawOp*> out;
  for (const tk::DrawOp& op : ops) {
    const auto& colours = TrendChart::kBlockColours;
    if (op.type == Type::kLine &&
        std::find(colours.begin(), colours.end(), op.colour) != colours.end())
      out.push_back(&op);
  }
  return out;
}

std::vector<Draw> History(const std::vector<int>& numbers) {
  std::vector<Draw> h;
  for (std::size_t i = 0; i < numbers.size(); ++i)
    h.push_back({static_cast<std::uint32_t>(2024001 + i), 7, "", numbers[i]});
  return h;
}

TEST(DrawsReader, EveryWrittenFormReadsAsTheSameDraw) {
  const std::string lines[] = {
      "2024001 3 5 7",
      "2024001 357",
      "2024001,2024-01-01,357",
      "第2024001期 3 5 7",
      "2024001 2024-01-01 3 5 7 8 1 2 106919648",
      "2024001期\t2024/01/01\t357",
      "2024001，2024年01月01日，3、5、7",
      "  2024001 2024-1-1(一) 357 试机号 123",
      "2024001 - 357",
  };
  for (const std::string& line : lines) {
    // Titles, headers and date-like lines around it are not draws.
    const auto r = ReadDraws("福彩3D 第2024001期 开奖公告\n期号,开奖号码\n2024-01-01\n" + line +
                             "\r\n共 1 期\n");
    ASSERT_EQ(r.refusal, "") << line;
    ASSERT_EQ(r.value.size(), 1u) << line;
    EXPECT_EQ(r.value[0].issue, 2024001u) << line;
    EXPECT_EQ(r.value[0].number, 357) << line;
    const bool dated = line.find("2024") != line.rfind("2024");
    EXPECT_EQ(r.value[0].date, dated ? "2024-01-01" : "") << line;
  }
}

TEST(DrawsReader, RefusalsNameTheLine) {
  EXPECT_EQ(ReadDraws("期号 日期 号码\n2024001 2024-01-01\n").refusal,
            "第 2 行有期号 2024001，但没有可读的开奖号码，未导入。");
  for (const char* bad :
       {"2024001 35", "2024001 3 5", "2024001 3 5 x", "2024001 开 357", "20240101 开奖公告"})
    EXPECT_NE(ReadDraws(bad).refusal, "") << bad;
  EXPECT_EQ(ReadDraws("2024001 357\n2024002 111\n2024001 358\n").refusal,
            "第 3 行：第 2024001 期的号码 358 与第 1 行的 357 不同，未导入。");
  EXPECT_EQ(ReadDraws("2024001 2024-01-01 357\n2024001 2024-01-02 357").refusal,
            "第 2 行：第 2024001 期的日期 2024-01-02 与第 1 行的 2024-01-01 不同，未导入。");
  EXPECT_EQ(ReadDraws("2024001 2024-02-30 357").refusal,
            "第 1 行的日期“2024-02-30”不是有效日期，未导入。");
  EXPECT_NE(ReadDraws("2024001 2024-13-01 357").refusal, "");
  EXPECT_EQ(ReadDraws("2024060 2024-02-29 357").refusal, "");
  EXPECT_EQ(ReadDraws("期号,开奖号码\n\n").refusal, numbers::kNoDraws);
  EXPECT_EQ(ReadDraws(std::string(numbers::kDrawsTextMaxBytes + 1, ' ')).refusal,
            numbers::kDrawsTextTooLarge);

  // The same draw twice is one, the date known from either line.
  const auto twice = ReadDraws("2024002 111\n2024001 357\n2024001 2024-01-01 3 5 7\n");
  ASSERT_EQ(twice.refusal, "");
  ASSERT_EQ(twice.value.size(), 2u);
  EXPECT_EQ(twice.value[0].date, "2024-01-01");
  EXPECT_EQ(twice.value[1].issue, 2024002u);
}

TEST(DrawsReader, FilesInEveryEncodingAndNotText) {
  // GBK: 第 B5DA, 期 C6DA, ， A3AC.
  auto gbk = numbers::ReadDrawsFile(
      "\xB5\xDA"
      "2024001\xC6\xDA\xA3\xAC"
      "357",
      "a.txt");
  ASSERT_EQ(gbk.value.size(), 1u) << gbk.refusal;
  EXPECT_EQ(gbk.value[0].number, 357);
  const std::string utf16(
      "\xFF\xFE"
      "2\0"
      "4\0"
      "0\0"
      "0\0"
      "1\0"
      " \0"
      "3\0"
      "5\0"
      "7\0",
      20);
  EXPECT_EQ(numbers::ReadDrawsFile(utf16, "b.txt").value.size(), 1u);
  EXPECT_EQ(
      numbers::ReadDrawsFile(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "图.png").refusal,
      "文件“图.png”不是文本文件，未导入。");
  EXPECT_EQ(numbers::ReadDrawsFile("2024001 357\n\x81\x20\xFF", "c.txt").refusal,
            "文件“c.txt”不是文本文件，未导入。");
}

TEST(DrawsReader, CoresDecoderSeparatorsAndCalendar) {
  // A UTF-16 mark with an odd length is no text, not GBK.
  const std::string odd(
      "\xFF\xFE"
      "2\0"
      "0\0"
      "2\0"
      "4\0"
      "0\0"
      "0\0"
      "1\0"
      " \0"
      "3\0"
      "5\0"
      "7",
      23);
  EXPECT_EQ(numbers::ReadDrawsFile(odd, "odd.txt").refusal, "文件“odd.txt”不是文本文件，未导入。");
  // UTF-16 without a mark, told by its NUL bytes, as list files are.
  std::string bigEndian;
  for (char c : std::string("2024001 357\r\n2024002 012\r\n")) bigEndian += std::string{'\0', c};
  const auto unmarked = numbers::ReadDrawsFile(bigEndian, "be.txt");
  ASSERT_EQ(unmarked.refusal, "");
  ASSERT_EQ(unmarked.value.size(), 2u);
  EXPECT_EQ(unmarked.value[1].number, 12);

  // Semicolons separate, as everywhere else.
  const auto semi = ReadDraws("2024001;357\n2024002；2024-01-02；0;1;2");
  ASSERT_EQ(semi.refusal, "");
  ASSERT_EQ(semi.value.size(), 2u);
  EXPECT_EQ(semi.value[0].number, 357);
  EXPECT_EQ(semi.value[1].date, "2024-01-02");
  EXPECT_EQ(semi.value[1].number, 12);

  // 29 February only in leap years: not 1900 or 2100, but 2000.
  EXPECT_EQ(ReadDraws("1900060 1900-02-29 357").refusal,
            "第 1 行的日期“1900-02-29”不是有效日期，未导入。");
  EXPECT_EQ(ReadDraws("2000060 2000-02-29 357").refusal, "");
  EXPECT_NE(ReadDraws("2100060 2100年2月29日 357").refusal, "");
  EXPECT_NE(ReadDraws("1899001 1899-12-31 357").refusal, "");
  EXPECT_EQ(numbers::DrawFromFields("2000060", "2000/2/29", "357").value.date, "2000-02-29");
  EXPECT_NE(numbers::DrawFromFields("2100060", "2100-02-29", "357").refusal, "");

  // The number typed by hand is the edit's only content.
  for (const char* bad : {"202 5 7", "357 abc def", "3 5 7 9", "35 7"})
    EXPECT_EQ(numbers::DrawFromFields("2024001", "", bad).refusal, "号码应为三位数字，如 357")
        << bad;
  EXPECT_EQ(numbers::DrawFromFields("2024001", "", " 3，5，7 ").value.number, 357);

  // Limits in the notices come from the limits.
  EXPECT_EQ(numbers::kDrawsTextTooLarge, "文本大于 8 MB，未导入。");
  EXPECT_EQ(numbers::kTooManyDrawsRead, "开奖号码多于 20000 期，未导入。");
  EXPECT_EQ(
      numbers::ReadDrawsFile(std::string(numbers::kDrawsTextMaxBytes + 1, '1'), "big.txt").refusal,
      "文件“big.txt”大于 8 MB，未导入。");
}

TEST(DrawsReader, ALongHistoryInAnyOrder) {
  std::mt19937 rng(18);
  std::vector<Draw> want;
  std::string text = "随机生成的示例，不是真实开奖号码\n";
  int year = 1990, n = 0, days = 0;
  while (want.size() < 17500) {
    if (++n > 350) ++year, n = 1;
    const int number = static_cast<int>(rng() % 1000);
    const int month = 1 + (days / 28) % 12, day = 1 + days % 28;
    ++days;
    char line[64];
    std::snprintf(line, sizeof line, "%d%03d %d-%02d-%02d %d %d %d\n", year, n, year, month, day,
                  number / 100, number / 10 % 10, number % 10);
    text += line;
    want.push_back({static_cast<std::uint32_t>(year * 1000 + n), 7, "", number});
  }
  const auto r = ReadDraws(text);
  ASSERT_EQ(r.refusal, "");
  ASSERT_EQ(r.value.size(), want.size());
  for (std::size_t i = 0; i < want.size(); i += 997) {
    EXPECT_EQ(r.value[i].issue, want[i].issue);
    EXPECT_EQ(r.value[i].number, want[i].number);
  }
  EXPECT_EQ(r.value.back().date.substr(0, 4), std::to_string(year));

  // Newest first, as web pages list them: the same history.
  std::vector<std::string> lines;
  for (std::size_t a = 0, b; (b = text.find('\n', a)) != std::string::npos; a = b + 1)
    lines.push_back(text.substr(a, b - a + 1));
  std::string reversed;
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) reversed += *it;
  const auto back = ReadDraws(reversed);
  ASSERT_EQ(back.value.size(), want.size());
  EXPECT_EQ(back.value.front().number, want.front().number);

  // Beyond the limit nothing is read.
  std::string more = text;
  for (int i = 0; i < 2501; ++i) more += std::to_string(3000000 + i) + " 123\n";
  EXPECT_EQ(ReadDraws(more).refusal, numbers::kTooManyDrawsRead);
}

TEST(DrawsKept, MergeDeleteAndTheFileRoundTrip) {
  std::vector<Draw> kept = ReadDraws("2024001 357\n2024003 2024-01-03 111\n").value;
  // Leading zeros of a short 期号 stay; a date fills an unknown one.
  const auto added = ReadDraws("04001 2004-01-01 999\n2024001 2024-01-01 357\n2024002 - 123").value;
  ASSERT_EQ(numbers::MergeDraws(kept, added), "");
  ASSERT_EQ(kept.size(), 4u);
  EXPECT_EQ(numbers::IssueText(kept[0]), "04001");
  EXPECT_EQ(kept[1].date, "2024-01-01");

  const auto before = numbers::DrawsFileBytes(kept);
  EXPECT_EQ(numbers::MergeDraws(kept, ReadDraws("2024002 124").value),
            "第 2024002 期已有号码 123，与新的 124 不同，未导入。");
  EXPECT_EQ(numbers::MergeDraws(kept, ReadDraws("2024003 2024-01-04 111").value),
            "第 2024003 期已有日期 2024-01-03，与新的 2024-01-04 不同，未导入。");
  EXPECT_EQ(numbers::DrawsFileBytes(kept), before);

  const auto back = numbers::ReadDrawsFile(before, "draws.txt");
  ASSERT_EQ(back.refusal, "");
  EXPECT_EQ(numbers::DrawsFileBytes(back.value), before);
  EXPECT_EQ(back.value[2].date, "");

  EXPECT_TRUE(numbers::DeleteDraw(kept, 2024002));
  EXPECT_FALSE(numbers::DeleteDraw(kept, 2024002));
  EXPECT_EQ(kept.size(), 3u);

  std::vector<Draw> many;
  for (std::uint32_t i = 0; i < numbers::kMaxDraws - 1; ++i)
    many.push_back({1000000 + i, 7, "", 1});
  EXPECT_EQ(numbers::MergeDraws(many, kept),
            "开奖号码将多于 20000 期（已有 19999 期，新增 3 期），未导入。");
  EXPECT_EQ(many.size(), numbers::kMaxDraws - 1);

  const auto typed = numbers::DrawFromFields(" 第2024009期", "2024年2月1日", "3 5 7");
  EXPECT_EQ(typed.refusal, "");
  EXPECT_EQ(typed.value.date, "2024-02-01");
  EXPECT_EQ(typed.value.number, 357);
  EXPECT_NE(numbers::DrawFromFields("2024", "", "357").refusal, "");
  EXPECT_NE(numbers::DrawFromFields("2024001", "昨天", "357").refusal, "");
  EXPECT_NE(numbers::DrawFromFields("2024001", "", "3577").refusal, "");
}

// A platform whose data folder is a folder of the test's own.
class FolderPlatform : public tk::Platform {
 public:
  explicit FolderPlatform(std::string folder) : folder_(std::move(folder)) {}
  std::string ProgramFolder() const override { return folder_; }
  std::string HttpGet(const tk::HttpRequest& /*request*/) override { return {}; }

 private:
  std::string folder_;
};

TEST(DrawsKept, OneStoreReadsDrawsTxtAndSetsAnUnreadableOneAsideBeforeWriting) {
  testsupport::TempFolder folder;
  const FolderPlatform platform(folder.Slashed());
  {
    const numbers::DrawStore none(platform);
    EXPECT_TRUE(none.Draws().empty());
    EXPECT_EQ(none.Latest(), nullptr);
    EXPECT_EQ(none.Problem(), "");
    EXPECT_TRUE(none.Saved());
  }
  folder.Write("draws.txt", "期号 日期 号码\r\n2024002 - 375\r\n2024001 - 999\r\n");
  const numbers::DrawStore kept(platform);
  ASSERT_NE(kept.Latest(), nullptr);
  EXPECT_EQ(kept.Latest()->number, 375);

  // Reading, as the conditions window does, writes nothing.
  const std::string broken = "期号 日期 号码\r\n2024001 - 3x\r\n";
  folder.Write("draws.txt", broken);
  numbers::DrawStore store(platform);
  EXPECT_EQ(store.Problem(), "第 2 行有期号 2024001，但没有可读的开奖号码，未导入。");
  EXPECT_TRUE(store.Draws().empty());
  EXPECT_FALSE(folder.Has("draws.bad.txt"));
  // The first change keeps a copy of the file before it writes over it.
  store.Keep(ReadDraws("2024003 111").value);
  EXPECT_EQ(folder.Read("draws.bad.txt"),
            "draws.txt 中无法读取的行（行号：原文）：\r\n第 2 行：2024001 - 3x\r\n");
  EXPECT_EQ(folder.Read("draws.txt"), "期号 日期 号码\r\n2024003 - 111\r\n");
  EXPECT_TRUE(store.Saved());

  // Without a data folder nothing is read or written.
  const FolderPlatform nowhere("");
  numbers::DrawStore unsaved(nowhere);
  unsaved.Keep(ReadDraws("2024003 111").value);
  EXPECT_EQ(unsaved.Draws().size(), 1u);
  EXPECT_FALSE(unsaved.Saved());
}

TEST(DrawsKept, UnreadableLinesGoToTheBadFileOnceAndTheRestLoads) {
  testsupport::TempFolder folder;
  const FolderPlatform platform(folder.Slashed());
  folder.Write("draws.bad.txt", "earlier");
  folder.Write("draws.txt", "期号 日期 号码\r\n2024001 - 357\r\n2024002 - 3x\r\n2024003 - 111\r\n");
  {
    numbers::DrawStore store(platform);
    EXPECT_EQ(store.Draws().size(), 2u);
    EXPECT_EQ(store.LinesLeftOut(), 1u);
    EXPECT_EQ(store.Problem(), "第 3 行有期号 2024002，但没有可读的开奖号码，未导入。");
    EXPECT_EQ(folder.Read("draws.bad.txt"), "earlier");  // reading writes nothing
    EXPECT_TRUE(store.SetAsideUnreadable());
    EXPECT_TRUE(store.Saved());
  }
  const std::string once =
      "earlier\r\ndraws.txt 中无法读取的行（行号：原文）：\r\n第 3 行：2024002 - 3x\r\n";
  EXPECT_EQ(folder.Read("draws.bad.txt"), once);
  EXPECT_EQ(folder.Read("draws.txt"), "期号 日期 号码\r\n2024001 - 357\r\n2024003 - 111\r\n");
  EXPECT_EQ(numbers::DrawStore(platform).Problem(), "");

  // A file that is no text at all goes whole, after what is there.
  const std::string png("\x89PNG\r\n\x1A\n\0\0", 10);
  folder.Write("draws.txt", png);
  numbers::DrawStore store(platform);
  EXPECT_TRUE(store.Draws().empty());
  EXPECT_EQ(store.LinesLeftOut(), 0u);
  EXPECT_TRUE(store.SetAsideUnreadable());
  EXPECT_EQ(folder.Read("draws.bad.txt"), once + png);
  EXPECT_EQ(numbers::DrawStore(platform).Problem(), "");

  // When the bad file cannot take them, nothing is written over.
  std::filesystem::remove(folder.At("draws.bad.txt"));
  std::filesystem::create_directory(folder.At("draws.bad.txt"));
  folder.Write("draws.txt", "2024001 - 3x\r\n");
  numbers::DrawStore stuck(platform);
  EXPECT_FALSE(stuck.SetAsideUnreadable());
  EXPECT_FALSE(stuck.Saved());
  stuck.Keep(ReadDraws("2024003 111").value);
  EXPECT_EQ(folder.Read("draws.txt"), "2024001 - 3x\r\n");
}

TEST(DrawsKept, TheSampleHistoryReadsAndSaysWhatItIs) {
  std::ifstream in(QELMAR3D_SOURCE_DIR "/res/demo/draws-sample.txt", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_TRUE(bytes.starts_with("随机生成的示例，不是真实开奖号码"));
  const auto r = numbers::ReadDrawsFile(bytes, "draws-sample.txt");
  EXPECT_EQ(r.refusal, "");
  EXPECT_GE(r.value.size(), 300u);
}

// Ten draws, the last six shown. By hand from the definitions, 百位 digit 3
// is drawn in draws 7 and 8: its 遗漏 in draws 1-10 are 1 2 3 4 5 6 0 0 1 2,
// so the first row shown (draw 5) carries 5.
TEST(DrawsChart, CellsAndStatisticsOfTenDraws) {
  const auto history = History({123, 456, 123, 789, 111, 120, 345, 344, 901, 125});
  const TrendChart chart(history, 6);
  ASSERT_EQ(chart.DrawRows(), 6);
  ASSERT_EQ(chart.Rows(), 10);
  const tk::Drawing painted = chart.Paint(0, chart.Height());
  auto text = [&](int row, int column) { return TextIn(painted, chart.CellRect(row, column)); };
  auto block = [](int position, int digit) {
    return TrendChart::kFirstDigitColumn + 10 * position + digit;
  };
  auto column = [&](int position, int digit) {
    std::string s;
    for (int r = 0; r < chart.Rows(); ++r) s += text(r, block(position, digit)) + " ";
    return s;  // six rows, then 出现次数 平均遗漏 最大遗漏 最大连出
  };
  EXPECT_EQ(column(0, 3), "5 6 3 3 1 2 2 1 6 2 ");
  EXPECT_EQ(column(0, 1), "1 1 1 2 3 1 3 0 3 2 ");  // drawn in rows 1, 2, 6
  EXPECT_EQ(column(0, 4), "3 4 5 6 7 8 0 6 8 0 ");
  EXPECT_EQ(column(0, 0), "5 6 7 8 9 10 0 6 10 0 ");
  EXPECT_EQ(column(1, 2), "2 2 1 2 3 2 2 1 3 1 ");
  EXPECT_EQ(column(2, 5), "5 6 5 1 2 5 2 1 6 1 ");
  EXPECT_EQ(column(2, 1), "1 1 2 3 1 1 2 1 3 1 ");

  // Drawn digits on their block's circle, the others in grey.
  const tk::DrawOp* drawn = OpIn(painted, Type::kCircle, chart.CellRect(0, block(0, 1)));
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(drawn->colour, TrendChart::kBlockColours[0]);
  EXPECT_GT(drawn->rect.width, 0);
  EXPECT_EQ(CircleIn(painted, chart.CellRect(3, block(2, 4))), TrendChart::kBlockColours[2]);
  EXPECT_EQ(CircleIn(painted, chart.CellRect(0, block(0, 3))), testsupport::kNoCircle);
  const tk::DrawOp* grey = OpIn(painted, Type::kText, chart.CellRect(0, block(0, 3)));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->colour, TrendChart::kOmissionColour);

  std::vector<std::string> tail;
  for (int r = 0; r < 6; ++r)
    for (int c :
         {0, 1, TrendChart::kColumns - 3, TrendChart::kColumns - 2, TrendChart::kColumns - 1})
      tail.push_back(text(r, c));
  EXPECT_EQ(tail, (std::vector<std::string>{
                      "2024005", "111", "3",  "0", "豹子", "2024006", "120", "3",  "2", "组六",
                      "2024007", "345", "12", "2", "组六", "2024008", "344", "11", "1", "组三",
                      "2024009", "901", "10", "9", "组六", "2024010", "125", "8",  "4", "组六"}));
  EXPECT_EQ(text(6, 0), "出现次数");
  EXPECT_EQ(text(9, 0), "最大连出");

  // All ten shown: the same 遗漏, statistics over ten rows.
  const TrendChart all(history, 0);
  EXPECT_EQ(all.DrawRows(), 10);
  EXPECT_EQ(TextIn(all.Paint(0, all.Height()), all.CellRect(4, block(0, 3))), "5");
  EXPECT_EQ(all.Stats().averageOmission[0][3], 2);  // ⌊(10 − 2) / 3⌋
  EXPECT_EQ(all.Stats().maxRun[0][1], 2);
}

TEST(DrawsChart, PaintingABandGivesItsCellsLinesAndHeadings) {
  const auto history = History({123, 456, 123, 789, 111, 120, 345, 344, 901, 125});
  const TrendChart chart(history, 0);
  EXPECT_EQ(chart.Height(), chart.RowY(chart.Rows()));
  const tk::Drawing band = chart.Paint(chart.RowY(3), chart.RowY(4));
  EXPECT_EQ(Count(band, Type::kFill), static_cast<std::size_t>(TrendChart::kColumns));
  EXPECT_EQ(Texts(band).front(), "2024004");
  // Lines join row 3's circles to rows 2 and 4: 十位 2 → 8 → 1.
  auto centre = [&](int row, int position, int digit) {
    const tk::Rect c = chart.CellRect(row, TrendChart::kFirstDigitColumn + 10 * position + digit);
    return std::pair(c.left + c.width / 2, c.top + c.height / 2);
  };
  std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> tens;
  for (const tk::DrawOp* l : Joins(band))
    if (l->colour == TrendChart::kBlockColours[1]) tens.push_back({{l->x1, l->y1}, {l->x2, l->y2}});
  EXPECT_EQ(tens, (decltype(tens){{centre(2, 1, 2), centre(3, 1, 8)},
                                  {centre(3, 1, 8), centre(4, 1, 1)}}));
  EXPECT_EQ(Joins(band).size(), 6u);
  // Backgrounds, then lines, then circles, then texts.
  std::vector<Type> order;
  for (const tk::DrawOp& op : band)
    if (order.empty() || order.back() != op.type) order.push_back(op.type);
  EXPECT_EQ(order, (std::vector<Type>{Type::kFill, Type::kLine, Type::kCircle, Type::kText}));

  const tk::Drawing top = chart.Paint(0, chart.RowY(1));
  const std::vector<std::string> topTexts = Texts(top);
  EXPECT_EQ(std::count(topTexts.begin(), topTexts.end(), "百位"), 1);
  EXPECT_EQ(Joins(top).size(), 3u);    // row 0 down to row 1, cut by the band's edge
  EXPECT_EQ(topTexts.back(), "组六");  // row 0's last cell
  // The statistics rows have no lines to the draws.
  EXPECT_TRUE(Joins(chart.Paint(chart.RowY(10), chart.Height())).empty());
}

TEST(DrawsChart, DatesWhenKnownAndAMarkWhereThe期号SequenceBreaks) {
  std::vector<Draw> history = {{2023349, 7, "2023-12-30", 1},
                               {2024001, 7, "2024-01-01", 2},
                               {2024002, 7, "", 3},
                               {2024005, 7, "2024-01-06", 4},
                               {2024006, 7, "2024-01-07", 5}};
  const TrendChart chart(history, 4);
  ASSERT_EQ(chart.Columns(), TrendChart::kColumns + 1);
  const tk::Drawing painted = chart.Paint(0, chart.Height());
  EXPECT_EQ(TextIn(painted, chart.CellRect(0, TrendChart::kDateColumn)), "2024-01-01");
  EXPECT_EQ(TextIn(painted, chart.CellRect(1, TrendChart::kDateColumn)), "-");
  EXPECT_EQ(TextIn(painted, chart.CellRect(2, TrendChart::kDateColumn)), "2024-01-06");
  const std::vector<std::string> texts = Texts(painted);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "开奖日期"), 1);
  EXPECT_EQ(chart.Width(),
            TrendChart(History({1, 2}), 0).Width() + numbers::ChartMetrics{}.dateWidth);
  // A new year starts a new sequence: only 2024002 → 2024005 is marked.
  std::vector<int> marked;
  for (const tk::DrawOp& op : painted)
    if (op.type == Type::kLine && op.colour == TrendChart::kGapColour) marked.push_back(op.y1);
  EXPECT_EQ(marked, (std::vector<int>{chart.RowY(2), chart.RowY(2)}));
  EXPECT_TRUE(chart.GapBefore(2));
  EXPECT_FALSE(chart.GapBefore(0));
  // The row shown first is marked against the draw before it, hidden.
  history.erase(history.begin() + 2);
  EXPECT_TRUE(TrendChart(history, 2).GapBefore(0));
  EXPECT_FALSE(numbers::IssueGap({24001, 5, "", 0}, {24002, 5, "", 0}));
  EXPECT_FALSE(numbers::IssueGap({2023350, 7, "", 0}, {2024003, 7, "", 0}));
}

TEST(DrawsCheck, DirectAndGroupLists) {
  std::vector<std::string> all(1000);
  for (int n = 0; n < 1000; ++n) all[n] = core::NumberText(n);
  const numbers::Prizes prizes;
  const auto direct = numbers::CheckBets(all, core::BetKind::kDirect, 357, prizes);
  EXPECT_EQ(direct.text, "直选 中 1 注 × 1040 元；投入 2,000 元，奖金 1,040 元");
  EXPECT_EQ(direct.shown, std::vector<std::string>{"357"});

  const std::vector<std::string> groups = {"337", "373", "377", "733", "123", "组选", "337"};
  const auto g3 = numbers::CheckBets(groups, core::BetKind::kGroup, 373, prizes);
  EXPECT_EQ(g3.text, "组三 中 4 注 × 346 元；投入 14 元，奖金 1,384 元");
  EXPECT_EQ(g3.shown, (std::vector<std::string>{"337", "373", "733", "337"}));
  const auto g6 =
      numbers::CheckBets({"357", "375", "355"}, core::BetKind::kGroup, 753, {1040, 346, 200});
  EXPECT_EQ(g6.text, "组六 中 2 注 × 200 元；投入 6 元，奖金 400 元");
  EXPECT_EQ(numbers::CheckBets({"777"}, core::BetKind::kGroup, 777, prizes).prize, 0);
  // A 直选 list wins only the number itself.
  EXPECT_EQ(numbers::CheckBets(groups, core::BetKind::kDirect, 373, prizes).wins, 1);

  const auto lots = numbers::CheckBets(std::vector<std::string>(1234, "357"),
                                       core::BetKind::kDirect, 357, prizes);
  EXPECT_EQ(lots.shown.size(), numbers::kWinnersShown);
  EXPECT_EQ(lots.more, 1234 - 20);
  EXPECT_EQ(lots.text, "直选 中 1,234 注 × 1040 元；投入 2,468 元，奖金 1,283,360 元");
}

TEST(DrawsCheck, ThePrizesFileAndSharedDigits) {
  const numbers::Prizes mine{1000, 320, 160};
  const auto back = numbers::ReadPrizesFile(numbers::PrizesFileBytes(mine));
  EXPECT_EQ(back.refusal, "");
  EXPECT_EQ(back.value.direct, 1000);
  EXPECT_EQ(back.value.group3, 320);
  EXPECT_EQ(back.value.group6, 160);
  EXPECT_EQ(numbers::ReadPrizesFile("组六 1\n\n组三 2\r\n直选 3").value.direct, 3);
  EXPECT_EQ(numbers::ReadPrizesFile("直选 1040\n组三 abc\n组六 173").refusal,
            "奖金文件第 2 行“组三 abc”有误，未读取。");
  EXPECT_EQ(numbers::ReadPrizesFile("直选 1040\n组三 346").refusal, "奖金文件缺少“组六”，未读取。");
  for (const char* bad : {"直选 0\n组三 1\n组六 1", "直选 1\n直选 1\n组三 1\n组六 1",
                          "组四 1\n直选 1\n组三 1\n组六 1", "直选 1 2\n组三 1\n组六 1",
                          "直选 99999999\n组三 1\n组六 1"}) {
    const auto r = numbers::ReadPrizesFile(bad);
    EXPECT_NE(r.refusal, "") << bad;
    EXPECT_EQ(r.value.direct, 1040) << bad;
  }

  // Leading zeros are the same prize, however many.
  EXPECT_EQ(numbers::ParsePrize(" 000000001 "), 1);
  EXPECT_EQ(numbers::ParsePrize("0000000010000000"), numbers::kMaxPrize);
  EXPECT_EQ(numbers::ParsePrize("00000000010000001"), -1);
  EXPECT_EQ(numbers::ParsePrize("000000000"), -1);
  EXPECT_EQ(numbers::ReadPrizesFile("直选 0000001040\n组三 346\n组六 173").value.direct, 1040);

  // Thousands as prizes are printed; nothing else with a comma.
  EXPECT_EQ(numbers::ParsePrize("1,040"), 1040);
  EXPECT_EQ(numbers::ParsePrize(" 10,000,000 "), numbers::kMaxPrize);
  EXPECT_EQ(numbers::ParsePrize("1，040"), 1040);
  for (const char* bad : {"1,04", "1,,040", ",040", "1040,", "1,0,0", "1040,000", "1,04a"})
    EXPECT_EQ(numbers::ParsePrize(bad), -1) << bad;

  int counts[4] = {};
  for (int n = 0; n < 1000; ++n) ++counts[core::SharedDigits(n, 357)];
  EXPECT_EQ(counts[0], 343);
  EXPECT_EQ(counts[1], 507);
  EXPECT_EQ(counts[2], 144);
  EXPECT_EQ(counts[3], 6);
  EXPECT_EQ(core::SharedDigits(113, 131), 2);  // distinct digits: 1 and 3
}

}  // namespace
