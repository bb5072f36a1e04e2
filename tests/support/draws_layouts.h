// Made-up histories written in the layouts people publish draws in (the six
// met in the field), for the reader's tests and its benchmark. Each is
// written here from the layout's description, oldest or newest first.
#pragma once

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/number.h"
#include "draws/draw.h"

namespace testsupport {

using numbers::Draw;

// `count` draws from 2002001 on with gaps now and then, dated from
// 2002-01-01 on (or not, with odds `undated`), as a history is kept.
inline std::vector<Draw> MadeUpHistory(std::mt19937& rng, int count, double undated) {
  std::vector<Draw> out;
  int year = 2002 + static_cast<int>(rng() % 20), seq = 0, month = 1, day = 0;
  std::bernoulli_distribution noDate(undated), gap(0.05);
  while (static_cast<int>(out.size()) < count) {
    seq += gap(rng) ? 2 : 1;
    if (++day > 28) day = 1, ++month;
    if (seq > 350 || month > 12) ++year, seq = 1, month = 1, day = 1;
    Draw d;
    d.issue = static_cast<std::uint32_t>(year * 1000 + seq);
    d.issueDigits = 7;
    d.number = static_cast<int>(rng() % 1000);
    if (!noDate(rng)) {
      char date[32];
      std::snprintf(date, sizeof date, "%d-%02d-%02d", year, month, day);
      d.date = date;
    }
    out.push_back(d);
  }
  return out;
}

inline int Digit(const Draw& d, int position) {
  return core::DigitAt(d.number, position);
}

inline std::string Issue(const Draw& d) {
  return numbers::IssueText(d);
}

// 2005-01-01 → 2005年1月1日 in GBK.
inline std::string GbkDate(const std::string& date) {
  if (date.empty()) return {};
  return date.substr(0, 4) + "\xC4\xEA" + std::to_string(std::stoi(date.substr(5, 2))) +
         "\xD4\xC2" + std::to_string(std::stoi(date.substr(8, 2))) + "\xC8\xD5";
}

// One line of a layout; `row` counts the lines written.
using LineWriter = std::function<std::string(const Draw&, int row)>;

struct Layout {
  const char* name;
  std::string head;  // before the first draw
  LineWriter line;
  std::string eol;
  bool finalBreak = true;
};

inline std::vector<Layout> Layouts() {
  auto three = [](const Draw& d, const char* gap1, const char* gap2) {
    return std::to_string(Digit(d, 0)) + gap1 + std::to_string(Digit(d, 1)) + gap2 +
           std::to_string(Digit(d, 2));
  };
  return {
      {"CSV with a Chinese header", "期号,日期,号码\n",
       [](const Draw& d, int) {
         return Issue(d) + "," + d.date + "," + core::NumberText(d.number);
       },
       "\n"},
      {"blanks, CRLF, no header", "",
       [three](const Draw& d, int) {
         return Issue(d) + (d.date.empty() ? "" : " " + d.date) + " " + three(d, " ", " ");
       },
       "\r\n"},
      {"spreadsheet export: index, date before 期号, header twice",
       "\xEF\xBB\xBF,开奖日期,期号,中奖号码\n,开奖日期,期号,中奖号码\n",
       [three](const Draw& d, int row) {
         return std::to_string(row) + "," + d.date + "," + Issue(d) + "," + three(d, " ", "  ");
       },
       "\n"},
      {"GBK tabs: 2005D001, unpadded date, 和值, trailing tab", "",
       [](const Draw& d, int) {
         const std::string issue = Issue(d);
         return issue.substr(0, 4) + "D" + issue.substr(4) + "\t" + GbkDate(d.date) + "\t" +
                core::NumberText(d.number) + "\t" + std::to_string(core::SumOf(d.number)) + "\t";
       },
       "\r\n"},
      {"CSV of digits, the number and a quoted raw field",
       "issue,date,hundreds,tens,ones,number,raw\n",
       [three](const Draw& d, int) {
         return Issue(d) + "," + d.date + "," + three(d, ",", ",") + "," +
                core::NumberText(d.number) + ",\"" + three(d, " ", " ") +
                " 5 2 6 2 2 0 0 0 0 0 0 0\"";
       },
       "\n"},
      {"tabs, date first, no final break", "",
       [three](const Draw& d, int) {
         return d.date + "\t" + Issue(d) + "\t" + three(d, "\t", "\t");
       },
       "\n", false},
  };
}

inline std::string Written(const Layout& layout, const std::vector<Draw>& history,
                           bool newestFirst) {
  std::string text = layout.head;
  for (std::size_t i = 0; i < history.size(); ++i) {
    const Draw& d = history[newestFirst ? history.size() - 1 - i : i];
    text += layout.line(d, static_cast<int>(i));
    if (layout.finalBreak || i + 1 < history.size()) text += layout.eol;
  }
  return text;
}

}  // namespace testsupport
