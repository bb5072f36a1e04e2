// The draws window on every backend: draws brought in and taken out and
// kept in draws.txt, the trend chart read from what the canvas keeps against
// values worked out by hand, 对奖 of 直选 and 组选 lists, and the prizes kept
// across a restart.
#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../support/chart_cells.h"
#include "draws_window.h"

namespace {

using numbers::TrendChart;

// The text drawn centred on a chart cell, from the frame the canvas keeps;
// "-" when none is.
std::string TextIn(const tk::CanvasFrame& f, const tk::Rect& cell) {
  return testsupport::TextIn(f.scrolled, cell);
}

// The colour of the circle drawn inside a cell; kNoCircle when none is.
std::uint32_t CircleIn(const tk::CanvasFrame& f, const tk::Rect& cell) {
  return testsupport::CircleIn(f.scrolled, cell);
}

// The ten cells of a block (0 百位, 1 十位, 2 个位) in one row.
std::vector<std::string> BlockTexts(const tk::CanvasFrame& f, const TrendChart& c, int row,
                                    int block) {
  std::vector<std::string> out;
  out.reserve(10);
  for (int d = 0; d < 10; ++d) {
    out.push_back(TextIn(f, c.CellRect(row, TrendChart::kFirstDigitColumn + 10 * block + d)));
  }
  return out;
}

std::vector<std::string> Texts(std::initializer_list<int> values) {
  std::vector<std::string> out;
  for (int v : values) out.push_back(std::to_string(v));
  return out;
}

// Width and height from a PNG file's header; zero when it is not one.
std::pair<int, int> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0) return {0, 0};
  auto word = [&](std::size_t at) {
    int v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v * 256 + static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {word(16), word(20)};
}

TEST_F(DrawsWindow, OpensEmptyAndWritesNothingUntilSomethingChanges) {
  InWindow({[&] {
    EXPECT_EQ(W().Window().Text(), "开奖号码与走势");
    EXPECT_EQ(D("lblDrawCount").Text(), "还没有开奖号码：可从文本文件导入、粘贴，或逐期添加。");
    EXPECT_EQ(W().cboShown.Items(),
              (std::vector<std::string>{"近 30 期", "近 50 期", "近 100 期", "全部"}));
    EXPECT_EQ(W().cboShown.Text(), "近 100 期");
    W().Close();
  }});
  EXPECT_FALSE(folder.Has("draws.txt"));  // nothing changed, nothing written

  // A line of draws.txt that cannot be read is set aside, the others load,
  // and the window says so once.
  const std::string broken = "期号 日期 号码\r\n2024001 - 357\r\n2024002 - 3x\r\n";
  folder.Write("draws.txt", broken);
  InWindow({[&] {
    EXPECT_EQ(W().Draws().size(), 1u);
    Retype("edtIssue", "2024003");
    Retype("edtNumber", "111");
    Tap("btnAddDraw");
    W().Close();
  }});
  ASSERT_EQ(Notices().size(), 1u);
  EXPECT_EQ(Notices()[0],
            "保存的开奖号码中有 1 行无法读取，已连同行号移到 draws.bad.txt，其余 1 期照常载入。"
            "第 3 行有期号 2024002，但没有可读的开奖号码，未导入。");
  EXPECT_EQ(folder.Read("draws.bad.txt"),
            "draws.txt 中无法读取的行（行号：原文）：\r\n第 3 行：2024002 - 3x\r\n");
  EXPECT_EQ(folder.Read("draws.txt"), "期号 日期 号码\r\n2024001 - 357\r\n2024003 - 111\r\n");
  InWindow({[&] {
    EXPECT_EQ(W().Draws().size(), 2u);
    W().Close();
  }});
  EXPECT_EQ(Notices().size(), 1u);

  // A draws.txt that cannot be read at all is set aside whole.
  const std::string notText("2024001 - 357\r\n\x81\x20\xFF", 18);
  folder.Write("draws.txt", notText);
  InWindow({[&] {
    EXPECT_TRUE(W().Draws().empty());
    W().Close();
  }});
  ASSERT_EQ(Notices().size(), 2u);
  EXPECT_EQ(Notices()[1],
            "无法读取保存的开奖号码：文件“draws.txt”不是文本文件，未导入。"
            "原文件已另存为 draws.bad.txt，开奖号码从空白开始。");
  EXPECT_TRUE(folder.Read("draws.bad.txt").ends_with("2024002 - 3x\r\n" + notText));
}

TEST_F(DrawsWindow, ImportPasteAddAndDeleteAreKeptInDrawsTxt) {
  folder.Write("history.txt",
               "福彩3D 开奖号码\r\n期号,开奖号码\r\n2024001 3 5 7\r\n2024002,2024-01-02,012\r\n"
               "第2024003期 2024年01月03日 9 9 9 8 1 2 106919648\r\n");
  folder.Write("broken.txt", "2024004 2024-01-04 147\r\n2024005 35\r\n");
  InWindow({[&] {
    Rec().dialogAnswers = {Path("broken.txt")};
    Tap("btnImport");
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_NE(Notices()[0].find("第 2 行"), std::string::npos) << Notices()[0];
    EXPECT_TRUE(W().Draws().empty());
    EXPECT_FALSE(folder.Has("draws.txt"));

    Rec().dialogAnswers = {Path("history.txt")};
    Tap("btnImport");
    EXPECT_FALSE(Rec().dialogs.back().save);
    EXPECT_EQ(folder.Read("draws.txt"),
              "期号 日期 号码\r\n2024001 - 357\r\n2024002 2024-01-02 012\r\n"
              "2024003 2024-01-03 999\r\n");
    EXPECT_EQ(W().edtCheck.Text(), "999");  // the latest draw

    H().SetClipboardText("2024004\t2024/01/04\t1 4 7\r\n2024003 999\r\n2024005 258 试机号 123");
    Tap("btnPaste");
    EXPECT_EQ(W().Draws().size(), 5u);
    EXPECT_EQ(D("lblDrawCount").Text(), "共 5 期，最新 第 2024005 期（258）");
    // Another number for a kept 期号 is refused whole.
    H().SetClipboardText("2024006 111\r\n2024005 259");
    Tap("btnPaste");
    ASSERT_EQ(Notices().size(), 2u);
    EXPECT_EQ(Notices()[1], "第 2024005 期已有号码 258，与新的 259 不同，未导入。");
    EXPECT_EQ(W().Draws().size(), 5u);

    Retype("edtIssue", "12");
    Retype("edtNumber", "369");
    Tap("btnAddDraw");
    ASSERT_EQ(Notices().size(), 3u);
    EXPECT_EQ(Notices()[2], "期号应为 5–9 位数字，如 2024001，未添加。");
    Retype("edtIssue", "2024006");
    Retype("edtDate", "2024/01/06");
    Retype("edtNumber", "0 0 0");
    Tap("btnAddDraw");
    EXPECT_EQ(W().Draws().size(), 6u);
    EXPECT_EQ(W().Draws().back().date, "2024-01-06");
    EXPECT_EQ(W().edtIssue.Text(), "");  // ready for the next one
    EXPECT_EQ(W().edtCheck.Text(), "000");

    // 删除 takes the latest draw unless one is picked on the chart, and asks first.
    Rec().answers = {false};
    Tap("btnDeleteDraw");
    EXPECT_EQ(Rec().questions.back(), "删除第 2024006 期（2024-01-06，000）吗？");
    EXPECT_EQ(W().Draws().size(), 6u);
    const TrendChart& c = W().Chart();
    const int y = c.RowY(1) + 10 - W().cnvChart.ScrollY();  // the row of 2024002
    User().ClickAt(W().cnvChart, 100, y);
    EXPECT_EQ(W().Selected(), 2024002u);
    Rec().answers = {true};
    Tap("btnDeleteDraw");
    EXPECT_EQ(Rec().questions.back(), "删除第 2024002 期（2024-01-02，012）吗？");
    EXPECT_EQ(W().Draws().size(), 5u);
    EXPECT_FALSE(W().Selected());
    EXPECT_EQ(Notices().size(), 3u);
    W().Close();
  }});
  EXPECT_EQ(folder.Read("draws.txt"),
            "期号 日期 号码\r\n2024001 - 357\r\n2024003 2024-01-03 999\r\n"
            "2024004 2024-01-04 147\r\n2024005 - 258\r\n2024006 2024-01-06 000\r\n");
}

TEST_F(DrawsWindow, AnImportSaysHowManyDatesItLeftOut) {
  const std::string gbk =
      "2005D001\t2005\xC4\xEA"
      "1\xD4\xC2"
      "1\xC8\xD5\t019\t10\t\r\n"
      "2005D002\t2005\xC4\xEA\xD4\xC2"
      "28\xC8\xD5\t123\t6\t\r\n";
  folder.Write("3d.txt", gbk);
  InWindow({[&] {
    Rec().dialogAnswers = {Path("3d.txt")};
    Tap("btnImport");
    ASSERT_EQ(Notices().size(), 1u);
    EXPECT_EQ(Notices()[0], "已读入 2 期，其中 1 期的日期无法识别，已略去日期。");
    // The same again changes nothing and says nothing.
    H().SetClipboardText(core::GbkToUtf8(gbk));
    Tap("btnPaste");
    EXPECT_EQ(Notices().size(), 1u);
    W().Close();
  }});
  EXPECT_EQ(folder.Read("draws.txt"),
            "期号 日期 号码\r\n2005001 2005-01-01 019\r\n2005002 - 123\r\n");
}

// 25 draws of 000, then ten more. With 近 30 期 the first five are hidden, and
// the first row shown carries their 遗漏.
TEST_F(DrawsWindow, ChartCellsAreTheHandWorkedOmissionsAndStatistics) {
  std::string file = "期号 日期 号码\r\n";
  const std::array<const char*, 10> ten = {"357", "357", "012", "999", "350",
                                           "147", "258", "369", "357", "000"};
  for (int i = 1; i <= 35; ++i) {
    char line[40];
    std::snprintf(line, sizeof line, "20240%02d - %s\r\n", i, i <= 25 ? "000" : ten[i - 26]);
    file += line;
  }
  folder.Write("draws.txt", file);
  InWindow({[&] {
    tk::Canvas& canvas = W().cnvChart;
    EXPECT_EQ(W().Chart().DrawRows(), 35);
    // Opened at the latest row, whatever the viewport's size turned out to be.
    const tk::CanvasFrame& open = canvas.Frame();
    EXPECT_EQ(open.area.top + open.area.height, W().Chart().Height());
    EXPECT_EQ(TextIn(open, W().Chart().CellRect(34, 0)), "2024035");
    User().Choose(W().cboShown, 0);
    const TrendChart& c = W().Chart();
    ASSERT_EQ(c.DrawRows(), 30);
    EXPECT_EQ(canvas.ContentSize().height, c.Height());
    // The latest row and the statistics under it.
    const tk::CanvasFrame& end = canvas.Frame();
    EXPECT_EQ(end.area.top + end.area.height, c.Height());
    EXPECT_EQ(TextIn(end, c.CellRect(29, 0)), "2024035");
    EXPECT_EQ(TextIn(end, c.CellRect(29, 1)), "000");
    EXPECT_EQ(BlockTexts(end, c, 29, 0), Texts({0, 4, 3, 1, 35, 35, 35, 35, 35, 6}));
    EXPECT_EQ(BlockTexts(end, c, 29, 1), Texts({0, 7, 35, 35, 4, 1, 2, 35, 35, 6}));
    for (int b = 0; b < 3; ++b) {
      const int first = TrendChart::kFirstDigitColumn + 10 * b;
      EXPECT_EQ(CircleIn(end, c.CellRect(29, first)), TrendChart::kBlockColours[b]);
      EXPECT_EQ(CircleIn(end, c.CellRect(29, first + 1)), testsupport::kNoCircle);
    }
    EXPECT_EQ(TextIn(end, c.CellRect(29, 32)), "0");
    EXPECT_EQ(TextIn(end, c.CellRect(29, 33)), "0");
    EXPECT_EQ(TextIn(end, c.CellRect(29, 34)), "豹子");
    // 百位 over the 30 rows: 出现次数, 平均遗漏, 最大遗漏, 最大连出.
    EXPECT_EQ(TextIn(end, c.CellRect(30, 0)), "出现次数");
    EXPECT_EQ(BlockTexts(end, c, 30, 0), Texts({22, 1, 1, 5, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(BlockTexts(end, c, 31, 0), Texts({0, 14, 14, 4, 30, 30, 30, 30, 30, 14}));
    EXPECT_EQ(BlockTexts(end, c, 32, 0), Texts({6, 30, 31, 25, 35, 35, 35, 35, 35, 28}));
    EXPECT_EQ(BlockTexts(end, c, 33, 0), Texts({20, 1, 1, 2, 0, 0, 0, 0, 0, 1}));
    // The 百位 line from 2024034's 3 down to 2024035's 0.
    const tk::Rect from = c.CellRect(28, TrendChart::kFirstDigitColumn + 3);
    const tk::Rect to = c.CellRect(29, TrendChart::kFirstDigitColumn);
    bool joined = false;
    for (const tk::DrawOp& op : end.scrolled) {
      joined =
          joined || (op.type == tk::DrawOp::Type::kLine && op.x1 == from.left + from.width / 2 &&
                     op.y1 == from.top + from.height / 2 && op.x2 == to.left + to.width / 2 &&
                     op.colour == TrendChart::kBlockColours[0]);
    }
    EXPECT_TRUE(joined);
    // The heads stay at the top.
    bool heads = false;
    for (const tk::DrawOp& op : end.fixed) heads = heads || op.text == "百位";
    EXPECT_TRUE(heads);

    canvas.ScrollTo(0, 0);
    const tk::CanvasFrame& top = canvas.Frame();
    EXPECT_EQ(TextIn(top, c.CellRect(0, 0)), "2024006");
    EXPECT_EQ(BlockTexts(top, c, 0, 0), Texts({0, 6, 6, 6, 6, 6, 6, 6, 6, 6}));

    User().Choose(W().cboShown, 3);  // 全部: from the first kept draw
    const TrendChart& all = W().Chart();
    ASSERT_EQ(all.DrawRows(), 35);
    canvas.ScrollTo(0, 0);
    EXPECT_EQ(TextIn(canvas.Frame(), all.CellRect(0, 0)), "2024001");
    EXPECT_EQ(BlockTexts(canvas.Frame(), all, 0, 2), Texts({0, 1, 1, 1, 1, 1, 1, 1, 1, 1}));

    // The picture holds the whole chart of the rows shown.
    Rec().dialogAnswers = {Path("chart.png")};
    Tap("btnSaveChart");
    ASSERT_FALSE(Rec().dialogs.empty());
    EXPECT_TRUE(Rec().dialogs.back().save);
    EXPECT_EQ(Rec().dialogs.back().extension, "png");
    EXPECT_EQ(PngSize(folder.Read("chart.png")), std::make_pair(all.Width(), all.Height()));
#ifndef _WIN32
    FILE* p = popen(("identify -format '%m %w %h' '" + Path("chart.png") + "'").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char out[64] = {};
    const std::size_t n = std::fread(out, 1, sizeof out - 1, p);
    EXPECT_EQ(pclose(p), 0);
    EXPECT_EQ(std::string(out, n),
              "PNG " + std::to_string(all.Width()) + " " + std::to_string(all.Height()));
#endif
    W().Close();
  }});
  EXPECT_TRUE(Notices().empty()) << Notices().front();
}

TEST_F(DrawsWindow, CheckingADirectAndAGroupListGivesTheExactTexts) {
  Click("btnAll");
  EXPECT_EQ(Form().BetListKind(), core::BetKind::kDirect);
  InWindow({[&] {
    Retype("edtCheck", "357");
    Tap("btnCheck");
    EXPECT_EQ(D("lblResult").Text(), "直选 中 1 注 × 1040 元；投入 2,000 元，奖金 1,040 元");
    EXPECT_EQ(D("lblWinners").Text(), "中奖号码：357");
    Retype("edtCheck", "35");
    Tap("btnCheck");
    EXPECT_EQ(Notices(), std::vector<std::string>{"开奖号码应为三位数字，如 357。"});
    // A number with more after it is no number, for 对奖 and for a draw added by hand.
    for (const char* bad : {"202 5 7", "357 abc def"}) {
      Retype("edtCheck", bad);
      Tap("btnCheck");
    }
    Retype("edtIssue", "2024001");
    Retype("edtNumber", "357 abc def");
    Tap("btnAddDraw");
    std::vector<std::string> refused(3, "开奖号码应为三位数字，如 357。");
    refused.push_back("号码应为三位数字，如 357，未添加。");
    EXPECT_EQ(Notices(), refused);
    EXPECT_TRUE(W().Draws().empty());
    // The number changed since that check: its result went with it.
    EXPECT_EQ(D("lblResult").Text(), "");
    W().Close();
  }});

  Form().mniGroupClick(Form().mmoList);
  EXPECT_EQ(Form().BetListKind(), core::BetKind::kGroup);
  InWindow({[&] {
    const std::vector<std::pair<std::string, std::string>> checks = {
        {"357", "组六 中 1 注 × 173 元；投入 420 元，奖金 173 元"},
        {"7 3 3", "组三 中 1 注 × 346 元；投入 420 元，奖金 346 元"},
        {"333", "开奖号码 333 是豹子，组选不中奖；投入 420 元，奖金 0 元"},
    };
    const std::vector<std::string> winners = {"中奖号码：357", "中奖号码：337", "中奖号码：无"};
    for (std::size_t i = 0; i < checks.size(); ++i) {
      Retype("edtCheck", checks[i].first);
      Tap("btnCheck");
      EXPECT_EQ(D("lblResult").Text(), checks[i].second);
      EXPECT_EQ(D("lblWinners").Text(), winners[i]);
    }
    W().Close();
  }});

  // A list read from a file is a 直选 list again; its winners beyond 20 are counted.
  std::string many;
  for (int i = 0; i < 25; ++i) many += "357\r\n";
  folder.Write("bets.txt", many + "123\r\n");
  Rec().dialogAnswers = {Path("bets.txt")};
  User().UseContextMenu(C("mmoList"), tk::UserDriver::MenuKey::RightClick, U'O');
  ASSERT_EQ(Form().mmoList.LineCount(), 26);
  EXPECT_EQ(Form().BetListKind(), core::BetKind::kDirect);
  InWindow({[&] {
    Retype("edtCheck", "357");
    Tap("btnCheck");
    EXPECT_EQ(D("lblResult").Text(), "直选 中 25 注 × 1040 元；投入 52 元，奖金 26,000 元");
    std::string twenty = "中奖号码：357";
    for (int i = 1; i < 20; ++i) twenty += " 357";
    EXPECT_EQ(D("lblWinners").Text(), twenty + "，另有 5 注");
    W().Close();
  }});
}

TEST_F(DrawsWindow, PrizesChangedAreKeptAcrossARestart) {
  Click("btnAll");
  InWindow({[&] {
    EXPECT_EQ(W().edtDirect.Text(), "1040");
    EXPECT_EQ(W().edtGroup3.Text(), "346");
    EXPECT_EQ(W().edtGroup6.Text(), "173");
    Retype("edtDirect", "0");
    Retype("edtCheck", "357");
    Tap("btnCheck");
    EXPECT_EQ(Notices(), std::vector<std::string>{"直选奖金应为 1 到 10,000,000 元的整数。"});
    EXPECT_EQ(D("lblResult").Text(), "");
    Retype("edtDirect", "2000");
    Tap("btnCheck");
    EXPECT_EQ(D("lblResult").Text(), "直选 中 1 注 × 2000 元；投入 2,000 元，奖金 2,000 元");
    EXPECT_EQ(folder.Read("prizes.txt"), "直选 2000\r\n组三 346\r\n组六 173\r\n");
    // Typed and never checked: kept when the window closes; one not valid stays.
    Retype("edtGroup6", "180");
    Retype("edtGroup3", "abc");
    W().Close();
  }});
  ASSERT_EQ(Notices().size(), 2u);
  EXPECT_EQ(Notices()[1], "组三奖金“abc”无效，仍为 346 元。");

  // The next run of the program.
  const std::unique_ptr<Harness> next = MakeHarness();
  next->SetProgramFolder(folder.Slashed());
  InDrawsWindow(*next, {[&] {
    TFormDraws& w = *next->Form().FormDraws;
    EXPECT_EQ(w.edtDirect.Text(), "2000");
    EXPECT_EQ(w.edtGroup3.Text(), "346");
    EXPECT_EQ(w.edtGroup6.Text(), "180");
    w.Close();
  }});
  EXPECT_TRUE(next->rec.notices.empty());
}

}  // namespace
