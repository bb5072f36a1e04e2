// Reading draws from any text: pasted, a file someone else wrote, draws.txt
// itself, or the three edits of the draws window.
#pragma once

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

// The draws in text (pasted, or a file already decoded), sorted by 期号,
// each once. A line reads as 期号 [日期] 号码 …: the 期号 first, as 5-9
// digits, 第2024001期 or 2024001期; the date as 2024-01-01, 2024/01/01,
// 2024年01月01日 or - for none; the number as one token of three digits or
// three tokens of one digit; anything after it is ignored. Tokens are cut
// at core's separators. Lines that do not start with a 期号 are skipped.
// Refused whole, with the line named: a 期号 without a readable number, a
// bad date, one 期号 with two numbers or two dates. The same draw twice is
// one draw.
core::Read<std::vector<Draw>> ReadDraws(std::string_view text);
// The same for the bytes of a file, decoded by core::DecodeText. A file that
// is not text is refused with its name in the notice.
core::Read<std::vector<Draw>> ReadDrawsFile(std::string_view bytes, std::string_view fileName);

// One draw from the three edits of the window: the 期号, the date (may be
// empty) and the number, which must be the edit's only content.
core::Read<Draw> DrawFromFields(std::string_view issue, std::string_view date,
                                std::string_view number);

}  // namespace numbers
