#include "lists/list_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/decode.h"
#include "core/text.h"
#include "core/tokens.h"

namespace {

using Strings = std::vector<std::string>;
using numbers::ReadListFile;

TEST(ListFile, AsciiListsArePlainAndOthersUtf8WithMark) {
  EXPECT_EQ(numbers::ListFileBytes({"123", "045", "123"}), "123\r\n045\r\n123\r\n");
  EXPECT_EQ(numbers::ListFileBytes({"123", "三二一"}),
            "\xEF\xBB\xBF"
            "123\r\n三二一\r\n");
  EXPECT_EQ(numbers::ListFileBytes({}), "");
}

TEST(ListFile, EverySeparatorOfCommonListsSplits) {
  const auto f = ReadListFile(
      "001 002\t003,004，005、006;007；008\r\n009\n010\r011\xE3\x80\x80"
      "012");
  EXPECT_EQ(f.refusal, "");
  ASSERT_EQ(f.value.size(), 12u);
  EXPECT_EQ(f.value.front(), "001");
  EXPECT_EQ(f.value.back(), "012");
  // Repeats stay, in file order; runs of separators make no empty numbers.
  EXPECT_EQ(ReadListFile(" \r\n,,555 ; 555\r\n\r\n").value, (Strings{"555", "555"}));
}

TEST(ListFile, SeparatorsAreExactlyTheCoreSet) {
  // A no-break space, common in lists copied from web pages.
  EXPECT_EQ(ReadListFile("123\xC2\xA0"
                         "456")
                .value,
            (Strings{"123", "456"}));
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c == U'\r' || c == U'\n' || (c >= 0xD800 && c <= 0xDFFF)) continue;
    const auto f = ReadListFile("123" + core::EncodeChar(c) + "456");
    EXPECT_EQ(f.value == (Strings{"123", "456"}), core::IsSeparator(c))
        << std::hex << static_cast<unsigned>(c);
  }
}

TEST(ListFile, ThreeDigitsApartOnALineAreOneNumber) {
  EXPECT_EQ(ReadListFile("3 5 7\n0，0，1\n 9\t9 9 \n123").value,
            (Strings{"357", "001", "999", "123"}));
  // Only a line of exactly three one-digit tokens.
  EXPECT_EQ(ReadListFile("3 5 7 9").refusal, "第 1 行的“3”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile("123 4 5 6").refusal, "第 1 行的“4”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile("12 5 7").refusal, "第 1 行的“12”不是三位号码，未载入。");
}

TEST(ListFile, EncodingsAreRecognised) {
  EXPECT_EQ(ReadListFile("\xEF\xBB\xBF"
                         "123，456")
                .value,
            (Strings{"123", "456"}));
  // GBK: ， is A3 AC, 、 is A1 A2, ； is A3 BB.
  EXPECT_EQ(ReadListFile("123\xA3\xAC"
                         "456\xA1\xA2"
                         "789\xA3\xBB"
                         "000")
                .value,
            (Strings{"123", "456", "789", "000"}));
  EXPECT_EQ(ReadListFile(std::string("\xFF\xFE"
                                     "1\0"
                                     "2\0"
                                     "3\0"
                                     "\n\0"
                                     "4\0"
                                     "5\0"
                                     "6\0",
                                     16))
                .value,
            (Strings{"123", "456"}));
  EXPECT_EQ(core::DecodeForShow("\xD6\xD0\xCE\xC4"), "中文");
}

TEST(ListFile, TheFirstBadTokenIsNamedWithItsLine) {
  EXPECT_EQ(ReadListFile("123\n456\n\n12a4 789").refusal, "第 4 行的“12a4”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile("12\r\n").refusal, "第 1 行的“12”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile("1234").refusal, "第 1 行的“1234”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile("\r\r\r１２３").refusal, "第 4 行的“１２３”不是三位号码，未载入。");
  // A long token is cut and control characters are not passed to the box.
  const auto f = ReadListFile("000 " + std::string(5000, '7'));
  EXPECT_TRUE(f.value.empty());
  EXPECT_EQ(f.refusal, "第 1 行的“" + std::string(20, '7') + "…”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile(std::string("1\x01"
                                     "3",
                                     3))
                .refusal,
            "第 1 行的“1\uFFFD3”不是三位号码，未载入。");
}

TEST(ListFile, LinesWithoutDigitsAndHeadingsWithoutNumbersArePassedOver) {
  const auto f = ReadListFile(
      "福彩3D 第2024001期 缩水结果\r\n"
      "—— 大底 ——\n"
      "123 456\n"
      "共 2 注\n"
      "789");
  EXPECT_EQ(f.refusal, "");
  EXPECT_EQ(f.value, (Strings{"123", "456", "789"}));
  // A heading in GBK reads the same.
  EXPECT_EQ(ReadListFile("\xB8\xA3\xB2\xCA"
                         "3D\r\n001")
                .value,
            Strings{"001"});
  // With a number on it, a line in Chinese must be all numbers; without
  // Chinese, a typo is no heading.
  EXPECT_EQ(ReadListFile("第2024001期 123").refusal,
            "第 1 行的“第2024001期”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile("123\n12a4").refusal, "第 2 行的“12a4”不是三位号码，未载入。");
  EXPECT_EQ(ReadListFile("abc\n").refusal, numbers::kNoNumbersInFile);
}

TEST(ListFile, FilesThatAreNoTextAreRefusedByName) {
  const std::string notice = "文件“图片.png”不是文本文件，未载入。";
  EXPECT_EQ(numbers::NotTextNotice("图片.png"), notice);
  // A name is quoted as every notice quotes one.
  EXPECT_EQ(numbers::NotTextNotice("a\xFF\x07.txt"),
            "文件“a\uFFFD\uFFFD.txt”不是文本文件，未载入。");
  EXPECT_EQ(ReadListFile(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), "图片.png").refusal,
            notice);
  // One NUL in a text, and bytes that are neither UTF-8 nor GBK.
  EXPECT_EQ(ReadListFile(std::string("123\0 456", 8), "图片.png").refusal, notice);
  EXPECT_EQ(ReadListFile("123 \xFF\xFF", "图片.png").refusal, notice);
  // UTF-16 with a mark and an unpaired surrogate.
  EXPECT_EQ(ReadListFile(std::string("\xFF\xFE"
                                     "1\0"
                                     "\x00\xD8",
                                     6),
                         "图片.png")
                .refusal,
            notice);
  // UTF-16 without a mark, told by its NULs, is text.
  EXPECT_EQ(ReadListFile(std::string("1\0"
                                     "2\0"
                                     "3\0"
                                     "\n\0"
                                     "4\0"
                                     "5\0"
                                     "6\0",
                                     14))
                .value,
            (Strings{"123", "456"}));
}

TEST(ListFile, EmptyAndOversizedFilesAreRefused) {
  // The limits' notices are built from the limits.
  EXPECT_EQ(numbers::kFileTooLarge, "文件大于 1 MB，未载入。");
  EXPECT_EQ(numbers::kTooManyNumbers, "文件中的号码多于 100000 个，未载入。");
  EXPECT_EQ(ReadListFile("").refusal, numbers::kNoNumbersInFile);
  EXPECT_EQ(ReadListFile("\xEF\xBB\xBF \r\n\t，").refusal, numbers::kNoNumbersInFile);
  std::string many;
  for (int i = 0; i < 100000; ++i) many += "999\n";
  EXPECT_EQ(ReadListFile(many).value.size(), 100000u);
  EXPECT_EQ(ReadListFile(many + "999").refusal, numbers::kTooManyNumbers);
  EXPECT_EQ(ReadListFile(std::string(numbers::kListFileMaxBytes + 1, ' ')).refusal,
            numbers::kFileTooLarge);
}

}  // namespace
