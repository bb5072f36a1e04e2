// Fetched pages as the draws reader's text: HTML tables as lines, entities,
// broken markup, and the declared charset.
#include "draws/html.h"

#include <gtest/gtest.h>

#include <string>

#include "draws/reader.h"

namespace {

using numbers::Charset;
using numbers::DeclaredCharset;
using numbers::HtmlToLines;
using numbers::PageText;

TEST(DrawsPage, TableRowsBecomeLinesOfCells) {
  const std::string page =
      "<!DOCTYPE html><html><head><title>开奖</title>"
      "<style>td { color: red } /* <tr><td>9</td></tr> */</style>"
      "<script type=\"text/javascript\">var row = '<tr><td>2024009</td><td>999</td></tr>';"
      "</SCRIPT></head>\n<body><!-- <tr><td>2024008 888</td></tr> -->\n"
      "<table class=\"list\" data-x='a>b'>\n"
      "  <tr><th>期号</th><th>开奖日期</th><th>号码</th></tr>\n"
      "  <tr class=\"odd\">\n    <td>2024001</td>\n    <TD>2024-01-01</TD>\n"
      "    <td><span class=ball>3</span><span class=ball>5</span><span class=ball>7</span></td>"
      "</tr>\n"
      "  <tr><td>2024002</td><td>2024-01-02</td>"
      "<td><div>0</div><div>4</div><div>9</div></td></tr>\n"
      "</table><p>共&nbsp;2&nbsp;期</p>第一行<br/>第二行</body></html>";
  EXPECT_EQ(HtmlToLines(page),
            "开奖\n"
            "期号\t开奖日期\t号码\n"
            "2024001\t2024-01-01\t357\n"
            "2024002\t2024-01-02\t0 4 9\n"
            "共 2 期\n第一行\n第二行\n");
  const auto read = numbers::ReadDraws(HtmlToLines(page));
  ASSERT_TRUE(read.Ok()) << read.refusal;
  ASSERT_EQ(read.value.size(), 2U);
  EXPECT_EQ(read.value[0].number, 357);
  EXPECT_EQ(read.value[1].number, 49);
  EXPECT_EQ(read.value[1].date, "2024-01-02");

  // A text file wrapped in <pre> keeps its lines; a nested table its rows.
  EXPECT_EQ(HtmlToLines("<pre>2024001 357\r\n2024002 &lt;1&gt;\n</pre>after"),
            "2024001 357\n2024002 <1>\nafter");
  EXPECT_EQ(HtmlToLines("<table><tr><td>a<br>b</td><td> c </td></tr></table>"), "a b\tc\n");
  EXPECT_EQ(HtmlToLines("<table><tr><td>layout<table><tr><td>1</td><td>2</td></tr>"
                        "<tr><td>3</td></tr></table></td><td>x</td></tr></table>"),
            "layout\n1\t2\n3\nx\n");
}

TEST(DrawsPage, EntitiesAndBrokenMarkup) {
  EXPECT_EQ(HtmlToLines("&#51;&#x35;&#X37; &amp;&lt;&gt;&quot;&apos; &amp &lt5 &copy; &#; &"),
            "357 &<>\"' & <5 &copy; &#; &");
  // Code points that are controls are blanks; those that are none, U+FFFD.
  EXPECT_EQ(HtmlToLines("a&#9;b&#0;c&#xD800;d&#99999999999;e&#x85;f&#160;g"),
            "a b\xEF\xBF\xBD"
            "c\xEF\xBF\xBD"
            "d\xEF\xBF\xBD"
            "e f g");
  // Not tags, and markup that never ends.
  EXPECT_EQ(HtmlToLines("1 < 2, 3 <4, </ 5"), "1 < 2, 3 <4, </ 5");
  EXPECT_EQ(HtmlToLines("ok<td class=\"a>b"), "ok");
  EXPECT_EQ(HtmlToLines("ok<!-- never closed <tr>"), "ok");
  EXPECT_EQ(HtmlToLines("ok<script>document.write('<tr>')"), "ok");
  EXPECT_EQ(HtmlToLines("a\x01\x7F"
                        "b\t\t c"),
            "a b c");
  EXPECT_EQ(HtmlToLines(""), "");
  const std::string deep(100000, '<');
  EXPECT_EQ(HtmlToLines(deep), deep);
  std::string tables;
  for (int i = 0; i < 1000; ++i) tables += "<table><tr><td>";
  for (int i = 0; i < 1000; ++i) tables += "</td></tr></table>";
  EXPECT_EQ(HtmlToLines(tables + "end"), "end");
}

TEST(DrawsPage, TheDeclaredCharsetDecides) {
  EXPECT_EQ(DeclaredCharset("text/html; charset=GB2312", ""), Charset::kGbk);
  EXPECT_EQ(DeclaredCharset("text/csv;charset=\"utf-8\"", ""), Charset::kUtf8);
  EXPECT_EQ(DeclaredCharset("text/html", "<head><META charset='gb18030'>"), Charset::kGbk);
  EXPECT_EQ(DeclaredCharset("text/html",
                            "<meta name=x><meta http-equiv=\"Content-Type\" "
                            "content=\"text/html; charset=gbk\">"),
            Charset::kGbk);
  // A server's ISO-8859-1 yields to the page's word; an unknown one stays unknown.
  EXPECT_EQ(DeclaredCharset("text/html; charset=ISO-8859-1", "<meta charset=utf-8>"),
            Charset::kUtf8);
  EXPECT_EQ(DeclaredCharset("text/html; charset=big5", ""), Charset::kUnknown);
  EXPECT_EQ(DeclaredCharset("", "2024001,357"), Charset::kUnknown);

  // 期号 and 号码 in GBK, declared by the page only.
  const std::string gbk =
      "<html><head><meta charset=gbk></head><body><table>"
      "<tr><td>\xC6\xDA\xBA\xC5</td><td>\xBA\xC5\xC2\xEB</td></tr>"
      "<tr><td>2024001</td><td>357</td></tr></table></body></html>";
  EXPECT_EQ(PageText(gbk, "text/html"), "期号\t号码\n2024001\t357\n");
  // Undeclared GBK is guessed; plain text and CSV are not HTML, whatever the server says.
  EXPECT_EQ(PageText("\xC6\xDA\xBA\xC5 2024001 357", "text/plain"), "期号 2024001 357");
  EXPECT_EQ(PageText("期号,号码\n2024001,<3>57\n", "text/csv; charset=utf-8"),
            "期号,号码\n2024001,<3>57\n");
  EXPECT_EQ(PageText("<table><tr><td>2024001</td></tr></table>", "text/plain"), "2024001\n");
  // Declared UTF-8 that is not, and a mark against the declaration.
  EXPECT_EQ(PageText("\xC6\xDA 1", "text/plain; charset=utf-8"), "期 1");
  EXPECT_NE(PageText("\xEF\xBB\xBF"
                     "期 1",
                     "text/plain; charset=gbk")
                .value_or("")
                .find("期 1"),
            std::string::npos);
  EXPECT_FALSE(PageText(std::string("PK\x03\x04\0\0", 6), "application/zip"));
}

}  // namespace
