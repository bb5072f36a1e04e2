#include "lists/list_file.h"

#include <algorithm>

#include "core/decode.h"
#include "core/notice.h"
#include "core/number.h"
#include "core/text.h"
#include "core/tokens.h"

namespace numbers {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Han characters: the unified ideographs, their extensions and the
// compatibility ideographs.
bool IsHan(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

bool IsNumber(std::string_view token) {
  return core::ParseNumber(token) != core::kNoNumber;
}

// What a line's tokens hold beyond numbers: a digit anywhere (ASCII or
// fullwidth), a Han character anywhere. Separators hold neither.
struct LineMarks {
  bool digit = false;
  bool chinese = false;
};

LineMarks MarksOf(const std::vector<std::string_view>& tokens) {
  LineMarks marks;
  for (std::string_view token : tokens) {
    for (std::size_t i = 0; i < token.size();) {
      const std::size_t len = core::CharLength(token, i);
      const char32_t c = core::DecodeChar(token.substr(i, len));
      marks.digit = marks.digit || (c >= U'0' && c <= U'9') || (c >= U'\uFF10' && c <= U'\uFF19');
      marks.chinese = marks.chinese || IsHan(c);
      i += len;
    }
  }
  return marks;
}

}  // namespace

std::string ListFileBytes(const std::vector<std::string>& lines) {
  std::size_t size = kBom.size();
  bool ascii = true;
  for (const auto& l : lines) {
    size += l.size() + 2;
    ascii = ascii && IsAscii(l);
  }
  std::string out;
  out.reserve(size);
  if (!ascii) out += kBom;
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

std::string NotTextNotice(std::string_view fileName) {
  return "文件“" + core::Shown(fileName) + "”不是文本文件，未载入。";
}

ListFile ReadListFile(std::string_view bytes, std::string_view fileName) {
  if (bytes.size() > kListFileMaxBytes) return ListFile::Refused(std::string(kFileTooLarge));
  const auto text = core::DecodeText(bytes);
  if (!text) return ListFile::Refused(NotTextNotice(fileName));
  std::vector<std::string> numbers;
  std::string refusal;
  std::vector<std::string_view> tokens;
  auto add = [&](std::string_view number) {
    if (numbers.size() == kListFileMaxNumbers) {
      refusal = kTooManyNumbers;
      return false;
    }
    numbers.emplace_back(number);
    return true;
  };
  core::ForEachLine(*text, [&](std::string_view line, std::size_t lineNumber) {
    // "3 5 7" is one number.
    if (const int n = core::OneNumber(line); n != core::kNoNumber) return add(core::NumberText(n));
    tokens.clear();
    core::ForEachToken(line, [&](std::string_view token) {
      tokens.push_back(token);
      return true;
    });
    // A line without a digit, or a heading in Chinese without a number, is
    // no part of the list.
    const LineMarks marks = MarksOf(tokens);
    if (!marks.digit) return true;
    if (marks.chinese && std::none_of(tokens.begin(), tokens.end(), IsNumber)) return true;
    for (std::string_view token : tokens) {
      if (!IsNumber(token)) {
        refusal =
            core::LineRef(lineNumber) + "的“" + core::Shown(token) + "”不是三位号码，未载入。";
        return false;
      }
      if (!add(token)) return false;
    }
    return true;
  });
  if (!refusal.empty()) return ListFile::Refused(std::move(refusal));
  if (numbers.empty()) return ListFile::Refused(std::string(kNoNumbersInFile));
  return {std::move(numbers), {}};
}

}  // namespace numbers
