// Any bytes as a fetched page: the lines made of them are never longer, hold
// no control character but tab and line feed, no blank at a line's or a
// cell's edge and no two blanks in a row, and are UTF-8 when the page was.
// The same bytes also choose a results table (its markup, attributes,
// comments, scripts, entities and ways of writing a number), whose lines
// read back as exactly the draws it was made of.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "core/number.h"
#include "core/text.h"
#include "draws/html.h"
#include "draws/reader.h"

namespace {

std::string Attribute(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:
      return " class=\"row\"";
    case 1:
      return " title='a>b'";
    case 2:
      return " data-x=\"<tr><td>2099001</td><td>111\"";
    case 3:
      return " align=center";
    default:
      return "";
  }
}

std::string Gap(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
      return "\n  ";
    case 1:
      return "\r\n\t";
    case 2:
      return "<!-- <tr><td>2099002</td><td>222</td></tr> -->";
    default:
      return "";
  }
}

std::string Cell(FuzzedDataProvider& in, const std::string& content) {
  std::string c = Gap(in) + (in.ConsumeBool() ? "<td" : "<TH") + Attribute(in) + ">" + content;
  // The end tag may be left out, as HTML allows.
  if (in.ConsumeBool()) c += "</td>";
  return c;
}

std::string Issue(FuzzedDataProvider& in, const std::string& issue) {
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
      return "<a href=\"/kj?q=" + issue + "&amp;t=1\">" + issue + "</a>";
    case 1:
      return "第" + issue + "期";
    default:
      return issue;
  }
}

std::string Number(FuzzedDataProvider& in, int number) {
  const std::string n = core::NumberText(number);
  const std::string a(1, n[0]), b(1, n[1]), c(1, n[2]);
  switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0:
      return "<span class=\"ball\">" + a + "</span><span>" + b + "</span><span>" + c + "</span>";
    case 1:
      return "&#" + std::to_string(n[0]) + ";&#x" + std::to_string(n[1] - '0' + 30) + ";" + c;
    case 2:
      return "<div>" + a + "</div>\n<div>" + b + "</div><div>" + c + "</div>";
    case 3:
      return a + "&nbsp;" + b + "&nbsp;" + c;
    case 4:
      return "<em>" + a + b + "</em>" + c + "<!-- 8 -->";
    default:
      return n;
  }
}

void CheckLines(std::string_view page) {
  const std::string out = numbers::HtmlToLines(page);
  FUZZ_CHECK(out.size() <= page.size());
  if (core::IsValidUtf8(page)) FUZZ_CHECK(core::IsValidUtf8(out));
  char last = '\n';
  for (char c : out) {
    const auto u = static_cast<unsigned char>(c);
    FUZZ_CHECK(u >= 0x20 || c == '\t' || c == '\n');
    FUZZ_CHECK(u != 0x7F);
    if (c == ' ') FUZZ_CHECK(last != ' ' && last != '\t' && last != '\n');
    if (c == '\t' || c == '\n') FUZZ_CHECK(last != ' ');
    if (c == '\n') FUZZ_CHECK(last != '\n');
    last = c;
  }
  FUZZ_CHECK(last != ' ');
}

void CheckTable(FuzzedDataProvider& in) {
  std::vector<numbers::Draw> draws;
  std::string page = "<html><head><meta charset=utf-8><title>开奖公告</title><script>";
  page += "var s = '<tr><td>2099003</td><td>333</td></tr>';</script></head><body><table";
  page += Attribute(in) + ">";
  if (in.ConsumeBool()) page += "<tr><th>期号</th><th>日期</th><th>号码</th></tr>";
  std::uint32_t issue = 2024000 + in.ConsumeIntegralInRange<std::uint32_t>(0, 900);
  const int rows = in.ConsumeIntegralInRange(1, 40);
  for (int i = 0; i < rows; ++i) {
    numbers::Draw d;
    issue += in.ConsumeIntegralInRange<std::uint32_t>(1, 3);
    d.issue = issue;
    d.issueDigits = 7;
    d.number = in.ConsumeIntegralInRange(0, 999);
    page += Gap(in) + "<tr" + Attribute(in) + ">";
    page += Cell(in, Issue(in, std::to_string(issue)));
    if (in.ConsumeBool()) {
      const int month = 1 + i % 12, day = 1 + i % 28;
      d.date = "2024-" + std::string(month < 10 ? "0" : "") + std::to_string(month) + "-" +
               (day < 10 ? "0" : "") + std::to_string(day);
      page += Cell(in, d.date);
    }
    page += Cell(in, Number(in, d.number));
    if (in.ConsumeBool()) page += Cell(in, std::to_string(core::SumOf(d.number)));
    if (in.ConsumeBool()) page += "</tr>";
    draws.push_back(d);
  }
  page += "</table><p>共&nbsp;" + std::to_string(rows) + "&nbsp;期</p></body></html>";
  CheckLines(page);
  const auto read = numbers::ReadDraws(numbers::HtmlToLines(page));
  FUZZ_CHECK(read.Ok());
  FUZZ_CHECK(read.value == draws);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckLines(bytes);
  static constexpr std::string_view kTypes[] = {"", "text/html", "text/html; charset=gbk",
                                                "text/plain; charset=utf-8"};
  const auto text = numbers::PageText(bytes, kTypes[size % 4]);
  if (text) FUZZ_CHECK(core::IsValidUtf8(*text));
  FuzzedDataProvider in(data, size);
  CheckTable(in);
  return 0;
}
