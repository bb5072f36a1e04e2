// Lists as text files: the bytes a list is saved as, and the numbers a file
// holds. Pure functions; the menu actions of the lists call them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace numbers {

inline constexpr std::size_t kListFileMaxBytes = std::size_t{1} << 20;
inline constexpr std::size_t kListFileMaxNumbers = 100000;

inline constexpr std::string_view kNoNumbersInFile = "文件中没有号码，未载入。";
inline constexpr std::string_view kFileTooLarge = "文件大于 1 MB，未载入。";
inline constexpr std::string_view kTooManyNumbers = "文件中的号码多于 100000 个，未载入。";

// Every line followed by CR LF: plain ASCII when every line is ASCII,
// otherwise UTF-8 after a byte-order mark, so that Notepad and WPS on a
// Chinese Windows read it right.
std::string ListFileBytes(const std::vector<std::string>& lines);

// The bytes of a file as UTF-8: UTF-8 with or without a byte-order mark,
// UTF-16 with one (or without, when its NUL bytes tell), or else GBK.
std::string DecodeListFile(std::string_view bytes);

// "文件“NAME”不是文本文件，未载入。"
std::string NotTextNotice(std::string_view fileName);

struct ListFile {
  std::vector<std::string> numbers;
  std::string refusal;  // the notice when the file is refused; empty when good
};

// The numbers of a file in order (repeats kept). Numbers are separated by
// line breaks, blanks, tabs, commas (ASCII and fullwidth), 、 and
// semicolons (ASCII and fullwidth); each must be three digits 0-9. A line
// with no digit, or with Chinese characters and no three-digit number (a
// heading such as "福彩3D 第2024001期"), is passed over. A file that is no
// text (NUL bytes, or bytes no encoding reads) is refused by `fileName`.
ListFile ReadListFile(std::string_view bytes, std::string_view fileName = {});

}  // namespace numbers
