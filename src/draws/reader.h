// Reading draws from any text: pasted, a file someone else wrote, draws.txt
// itself, or the three edits of the draws window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "draws/draw.h"

namespace numbers {

inline constexpr std::string_view kNoDraws =
    "没有找到开奖号码，未导入。每行应为：期号 日期（可省） 号码，如 2024001 2024-01-01 357";
inline const std::string kDrawsTextTooLarge =
    "文本大于 " + std::to_string(kDrawsTextMaxMiB) + " MB，未导入。";
inline const std::string kTooManyDrawsRead =
    "开奖号码多于 " + std::to_string(kMaxDraws) + " 期，未导入。";

// A line that was not read, as it stood, and why.
struct LineSetAside {
  std::size_t line = 0;
  std::string text;
  std::string why;
};

// The draws read, or the refusal; what else the notice after a read says.
struct DrawsRead : core::Read<std::vector<Draw>> {
  // Draws read without a date, whose date could not be made out
  // (2005年月28日) on any of their lines.
  std::size_t datesLeftOut = 0;
  // ReadKeptDraws only: the lines not read, in order.
  std::vector<LineSetAside> setAside;
};

// The draws in text (pasted, or a file already decoded), sorted by 期号,
// each once. The columns are told by what they hold over the whole text,
// in any order: the 期号 (5-9 digits, 第2024001期, 2024001期, or a year, a
// letter and the sequence, 2005D001 for 2005001), the date (2024-01-01,
// 2024/1/1, 2024.01.01, 2024年1月1日, 20240101, or - for none; may be
// missing) and the number (one token of three digits, or three of one).
// Up to two index columns before them and anything after them are
// ignored. Tokens are cut at core's separators and CSV quotes. Lines the
// columns do not fit (titles, headers) are skipped. A date that is not
// written as one is left out and counted. Refused whole, with the line
// named: a 期号 without a readable number, a date that does not exist, a
// draw in another column order, a text whose columns could be read two
// ways, one 期号 with two numbers or two dates. The same draw twice is one.
DrawsRead ReadDraws(std::string_view text);
// The same for the bytes of a file, decoded by core::DecodeText. A file that
// is not text is refused with its name in the notice.
DrawsRead ReadDrawsFile(std::string_view bytes, std::string_view fileName);
// draws.txt as kept: read as a file, but a line that cannot be read (and
// every other line that is no draw, save the heading) is set aside instead
// of refusing the rest; so is the later of two lines that disagree on a
// draw, and a line whose date was left out (its draw is read). Refused
// whole: not text, too large, too many draws, columns read two ways.
DrawsRead ReadKeptDraws(std::string_view bytes, std::string_view fileName);

// One draw from the three edits of the window: the 期号, the date (may be
// empty) and the number, which must be the edit's only content.
core::Read<Draw> DrawFromFields(std::string_view issue, std::string_view date,
                                std::string_view number);

}  // namespace numbers
