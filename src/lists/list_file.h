// Lists as text files: the bytes a list is saved as, and the numbers a file
// holds. Pure functions; the menu actions of the lists call them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/fixed_text.h"
#include "core/result.h"

namespace numbers {

inline constexpr std::size_t kListFileMaxBytes = std::size_t{1} << 20;
inline constexpr std::size_t kListFileMaxNumbers = 100000;

namespace detail {
inline constexpr std::string_view kLargerThan = "文件大于 ";
inline constexpr std::string_view kMegabytes = " MB，未载入。";
inline constexpr std::string_view kMoreThan = "文件中的号码多于 ";
inline constexpr std::string_view kNumbersNotLoaded = " 个，未载入。";
}  // namespace detail

inline constexpr std::string_view kNoNumbersInFile = "文件中没有号码，未载入。";
// "文件大于 1 MB，未载入。"
inline constexpr std::string_view kFileTooLarge =
    core::JoinedText<detail::kLargerThan, core::DecimalText<(kListFileMaxBytes >> 20)>::value,
                     detail::kMegabytes>::value;
// "文件中的号码多于 100000 个，未载入。"
inline constexpr std::string_view kTooManyNumbers =
    core::JoinedText<detail::kMoreThan, core::DecimalText<kListFileMaxNumbers>::value,
                     detail::kNumbersNotLoaded>::value;

// Every line followed by CR LF: plain ASCII when every line is ASCII,
// otherwise UTF-8 after a byte-order mark, so that Notepad and WPS on a
// Chinese Windows read it right.
std::string ListFileBytes(const std::vector<std::string>& lines);

// "文件“NAME”不是文本文件，未载入。"
std::string NotTextNotice(std::string_view fileName);

// The numbers of a file in order (repeats kept), decoded by core::DecodeText
// and cut by core::ForEachLine and core::ForEachToken. Each token must be
// three digits 0-9, and a line of three one-digit tokens ("3 5 7") is one
// number, as the draws read it. A line with no digit, or with Chinese
// characters and no three-digit number (a heading such as "福彩3D
// 第2024001期"), is passed over. A file that is no text (NUL bytes, or bytes
// no encoding reads) is refused by `fileName`.
using ListFile = core::Read<std::vector<std::string>>;
ListFile ReadListFile(std::string_view bytes, std::string_view fileName = {});

}  // namespace numbers
