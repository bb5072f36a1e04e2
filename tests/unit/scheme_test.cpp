#include "conditions/scheme.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using numbers::FilterSettings;

// Every field set at random; texts from inputs users type, paste or break.
FilterSettings RandomSettings(std::mt19937& rng) {
  static const char* kTexts[] = {"",       "10-14,18",   " 10 ",     "１０－１４，１８",
                                 "a\\b\\", "x\n\ry\t",   "\x01\x7F", "\xFF\xFE\xE5",
                                 "＝=#;",  "# 不是说明", "　1　",    "\\x41\\n",
                                 "  ",     "1:1:1 ",     "选用",     "12 35、77"};
  auto coin = [&] { return std::uniform_int_distribution<int>(0, 1)(rng) == 1; };
  auto text = [&] {
    std::string t = kTexts[std::uniform_int_distribution<std::size_t>(0, 15)(rng)];
    if (coin()) t += kTexts[std::uniform_int_distribution<std::size_t>(0, 15)(rng)];
    return t;
  };
  FilterSettings s;
  for (bool* b :
       {&s.sum,     &s.span,    &s.tail,    &s.shape,    &s.baozi,  &s.zu3,   &s.zu6,
        &s.odd,     &s.big,     &s.road,    &s.dan,      &s.danAll, &s.kill,  &s.dropMatching,
        &s.pos,     &s.pair,    &s.pairSum, &s.pairDiff, &s.dzx,    &s.prime, &s.run,
        &s.runFull, &s.runHalf, &s.runNone, &s.repeat})
    *b = coin();
  for (auto* ratios : {&s.oddRatios, &s.bigRatios, &s.primeRatios, &s.repeatCounts}) {
    for (bool& b : *ratios) b = coin();
  }
  for (std::string* t : {&s.sumText, &s.spanText, &s.tailText, &s.roadText, &s.danText, &s.killText,
                         &s.posHText, &s.posTText, &s.posUText, &s.pairText, &s.pairSumText,
                         &s.pairDiffText, &s.dzxText, &s.toleranceText})
    *t = text();
  return s;
}

TEST(Scheme, EverySettingComesBackAsItWas) {
  std::mt19937 rng(17);
  for (int round = 0; round < 500; ++round) {
    FilterSettings s = RandomSettings(rng);
    s.repeatDraw = "357";  // the window's, not the file's
    const std::string bytes = numbers::SchemeBytes(s);
    const auto back = numbers::ReadScheme(bytes, "每日.txt");
    ASSERT_EQ(back.refusal, "") << bytes;
    s.repeatDraw.clear();
    ASSERT_TRUE(back.value == s) << bytes;
    ASSERT_EQ(numbers::SchemeBytes(back.value), bytes);
  }
  // A setting that differs from the defaults only in one box shows in the bytes.
  FilterSettings one;
  one.primeRatios[2] = true;
  EXPECT_NE(numbers::SchemeBytes(one), numbers::SchemeBytes({}));
  EXPECT_TRUE(numbers::ReadScheme(numbers::SchemeBytes(one), "x").value == one);
}

TEST(Scheme, HandWrittenFilesReadAsTheDocumentSays) {
  const auto file = numbers::ReadScheme(
      "# 我的方案\n\n  Qelmar3D 缩水方案 1  \r\n"
      "和值 = 选用\n"
      "和值.输入 =  10-14，18 \n"
      "  奇偶比．2：1 ＝ 是\r"
      "奇偶比 = 选用\n"
      "# 杀码 = 选用\n"
      "胆码.方式=全部包含\n"
      "定位.个位 = \\x20 3\\\\\n"
      "模式 = 删除\n",
      "a.txt");
  ASSERT_EQ(file.refusal, "");
  FilterSettings want;
  want.sum = true, want.sumText = "10-14，18";
  want.odd = true, want.oddRatios[1] = true;
  want.danAll = true;
  want.posUText = "  3\\";
  want.dropMatching = true;
  EXPECT_TRUE(file.value == want);

  // What an old Notepad saves on a Chinese Windows: GBK, no mark.
  const auto gbk = numbers::ReadScheme(
      "Qelmar3D \xCB\xF5\xCB\xAE\xB7\xBD\xB0\xB8 1\n\xBA\xCD\xD6\xB5 = \xD1\xA1\xD3\xC3\n"
      "\xBA\xCD\xD6\xB5.\xCA\xE4\xC8\xEB = 10-14\xA3\xAC"
      "18\n",
      "g.txt");
  ASSERT_EQ(gbk.refusal, "");
  EXPECT_TRUE(gbk.value.sum);
  EXPECT_EQ(gbk.value.sumText, "10-14，18");
}

TEST(Scheme, BrokenFilesAreRefusedNamingFileAndLine) {
  auto refusal = [](const std::string& body) {
    const auto file = numbers::ReadScheme("Qelmar3D 缩水方案 1\n# 说明\n\n" + body, "每日.txt");
    EXPECT_TRUE(file.value == FilterSettings{}) << body;
    return file.refusal;
  };
  const std::string at4 = "方案文件“每日.txt”第 4 行";
  EXPECT_EQ(refusal("和值 选用"), at4 + "“和值 选用”无法识别，应为“名称 = 值”的形式，未载入。");
  EXPECT_EQ(refusal(" = 选用"), at4 + "“= 选用”无法识别，应为“名称 = 值”的形式，未载入。");
  EXPECT_EQ(refusal("胆拖 = 选用"), at4 + "：没有名为“胆拖”的条件，未载入。");
  EXPECT_EQ(refusal("胆拖.输入 = 1"), at4 + "：没有名为“胆拖”的条件，未载入。");
  EXPECT_EQ(refusal("和值.范围 = 1"), at4 + "：条件“和值”没有“范围”这一项，未载入。");
  EXPECT_EQ(refusal("形态.组三 = 选用"), at4 + "：“形态.组三”应为“是”或“否”，未载入。");
  EXPECT_EQ(refusal("模式 = 都删"),
            at4 + "：“模式”应为“删除符合条件的号码”或“保留符合条件的号码”，未载入。");
  EXPECT_EQ(refusal("和值.输入 = 1\\q"), at4 + "：“\\q”无法识别，反斜杠本身应写作 \\\\，未载入。");
  EXPECT_EQ(refusal("和值.输入 = 1\\x4"), at4 + "：“\\x”无法识别，反斜杠本身应写作 \\\\，未载入。");
  EXPECT_EQ(refusal("和值 = 选用\n跨度 = 不选\n和值 = 不选"),
            "方案文件“每日.txt”第 6 行：“和值”已在第 4 行写过，未载入。");
  EXPECT_EQ(
      refusal("连号 = 选用\n" + std::string(100, 'x') + "\x01"),
      "方案文件“每日.txt”第 5 行“xxxxxxxxxxxxxxxxxxxx…”无法识别，应为“名称 = 值”的形式，未载入。");

  EXPECT_EQ(numbers::ReadScheme("", "a").refusal, "方案文件“a”中没有缩水方案，未载入。");
  EXPECT_EQ(numbers::ReadScheme("# x", "D:\\导入\\新.txt").refusal,
            "方案文件“新.txt”中没有缩水方案，未载入。");
  EXPECT_EQ(numbers::ReadScheme("\n# x\n和值 = 选用\n", "a").refusal,
            "方案文件“a”第 3 行不是缩水方案的开头，应为“Qelmar3D 缩水方案 1”，未载入。");
  EXPECT_EQ(numbers::ReadScheme("Qelmar3D 缩水方案 2\n", "a").refusal,
            "方案文件“a”第 1 行：这是程序更新版本保存的方案（“Qelmar3D 缩水方案 2”），"
            "本程序读不了，未载入。");
  EXPECT_EQ(numbers::ReadScheme(std::string(numbers::kSchemeFileMaxBytes + 1, '#'), "a").refusal,
            "方案文件“a”大于 16 MB，未载入。");
}

TEST(Scheme, NamesThatMakeFilesEverywhere) {
  for (const char* name : {"每日", " 二码 12 ", "CONSOLE", "COM", "a.b", "LPT", "１２３"})
    EXPECT_EQ(numbers::SchemeNameRefusal(name), "") << name;
  EXPECT_EQ(numbers::SchemeNameRefusal(" 　\t"), "方案名称不能为空。");
  for (const char* name : {"a/b", "a\\b", "a:b", "a?", "x\"", "<", "|", "a\nb", "\xFF"})
    EXPECT_EQ(numbers::SchemeNameRefusal(name), "方案名称不能含有 \\ / : * ? \" < > | 这些符号。")
        << name;
  for (const char* name : {"CON", "con", "Nul.txt", "com1", "LPT9.a", "aux "})
    EXPECT_NE(numbers::SchemeNameRefusal(name).find("是 Windows 保留的名称"), std::string::npos)
        << name;
  EXPECT_EQ(numbers::SchemeNameRefusal(".hidden"), "方案名称不能以点开头或结尾。");
  EXPECT_EQ(numbers::SchemeNameRefusal("x."), "方案名称不能以点开头或结尾。");
  EXPECT_EQ(numbers::SchemeNameRefusal(std::string(40, 'a')), "");
  std::string long41;
  for (int i = 0; i < 41; ++i) long41 += "码";
  EXPECT_EQ(numbers::SchemeNameRefusal(long41), "方案名称不能超过 40 个字。");

  EXPECT_EQ(numbers::SchemeFileName(" 每日 "), "每日.txt");
  EXPECT_EQ(numbers::SchemeNameOfFile("/home/u/方案/每日.txt"), "每日");
  EXPECT_EQ(numbers::SchemeNameOfFile("C:\\共享\\二码.TXT"), "二码");
  EXPECT_EQ(numbers::SchemeNameOfFile("x.scheme"), "x.scheme");
  EXPECT_EQ(numbers::SchemeNameOfFile(".txt"), ".txt");
}

}  // namespace
