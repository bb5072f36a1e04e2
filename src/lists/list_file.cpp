#include "lists/list_file.h"

#include <algorithm>

#include "core/text.h"

namespace numbers {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
// A token longer than this is cut in the notice: the box stays readable.
constexpr std::size_t kShownTokenChars = 20;

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// UTF-16 as UTF-8; false when a surrogate is unpaired, the length is odd or
// a NUL character comes up: then the bytes are no UTF-16 text.
bool FromUtf16(std::string_view bytes, bool bigEndian, std::string& out) {
  out.clear();
  out.reserve(bytes.size());
  if (bytes.size() % 2 != 0) return false;
  auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    char32_t u = unit(i);
    if (u == 0 || (u >= 0xDC00 && u <= 0xDFFF)) return false;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 3 >= bytes.size()) return false;
      const char32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    out += core::EncodeChar(u);
  }
  return true;
}

// The bytes as UTF-8 text: UTF-8 with or without a mark, UTF-16 with a mark
// or, with NUL bytes in the places that ASCII leaves, without one, else GBK.
// False when they are none of these: a NUL byte anywhere else, or bytes
// that no encoding reads.
bool DecodeText(std::string_view bytes, std::string& text) {
  if (bytes.starts_with("\xFF\xFE")) return FromUtf16(bytes.substr(2), false, text);
  if (bytes.starts_with("\xFE\xFF")) return FromUtf16(bytes.substr(2), true, text);
  if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  if (bytes.find('\0') != std::string_view::npos) {
    // UTF-16 without a mark: a list is mostly digits and separators, whose
    // high bytes are NULs, all on the same side of each pair; in at least
    // half of the pairs.
    std::size_t nuls[2] = {0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\0') ++nuls[i % 2];
    }
    const bool bigEndian = nuls[0] > 0;
    if ((nuls[0] > 0) == (nuls[1] > 0) || nuls[bigEndian ? 0 : 1] < (bytes.size() + 3) / 4)
      return false;
    return FromUtf16(bytes, bigEndian, text);
  }
  if (core::IsValidUtf8(bytes)) {
    text.assign(bytes);
    return true;
  }
  text = core::GbkToUtf8(bytes);
  return text.find("\uFFFD") == std::string::npos;
}

bool IsSeparator(char32_t c) {
  switch (c) {
    case U' ':
    case U'\t':
    case U'\v':
    case U'\f':
    case U',':
    case U';':
    case U'\u3000':  // ideographic space
    case U'\uFF0C':  // ，
    case U'\uFF1B':  // ；
    case U'\u3001':  // 、
      return true;
    default:
      return false;
  }
}

// Han characters: the unified ideographs, their extensions and the
// compatibility ideographs.
bool IsHan(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

bool IsNumber(std::string_view token) {
  return token.size() == 3 && token[0] >= '0' && token[0] <= '9' && token[1] >= '0' &&
         token[1] <= '9' && token[2] >= '0' && token[2] <= '9';
}

std::string Shown(std::string_view token) {
  return core::ShownInNotice(token, kShownTokenChars);
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

std::string DecodeListFile(std::string_view bytes) {
  std::string text;
  if (DecodeText(bytes, text)) return text;
  // Not text: shown as far as it reads, never as raw bytes.
  if (core::IsValidUtf8(bytes)) return std::string(bytes);
  return core::GbkToUtf8(bytes);
}

std::string NotTextNotice(std::string_view fileName) {
  return "文件“" + std::string(fileName) + "”不是文本文件，未载入。";
}

ListFile ReadListFile(std::string_view bytes, std::string_view fileName) {
  ListFile file;
  if (bytes.size() > kListFileMaxBytes) {
    file.refusal = kFileTooLarge;
    return file;
  }
  std::string text;
  if (!DecodeText(bytes, text)) {
    file.refusal = NotTextNotice(core::IsValidUtf8(fileName) ? fileName : "?");
    return file;
  }
  const std::string_view v(text);
  std::vector<std::string_view> tokens;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= v.size()) {
    // One line: up to CR LF, a lone CR or a lone LF.
    std::size_t end = v.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = v.size();
    const std::string_view line = v.substr(pos, end - pos);
    pos = end + 1;
    if (end < v.size() && v[end] == '\r' && pos < v.size() && v[pos] == '\n') ++pos;
    ++lineNumber;

    tokens.clear();
    bool digit = false;
    bool chinese = false;
    std::size_t tokenStart = 0;
    bool inToken = false;
    for (std::size_t i = 0; i < line.size();) {
      const std::size_t len = core::CharLength(line, i);
      const char32_t c = core::DecodeChar(line.substr(i, len));
      digit = digit || (c >= U'0' && c <= U'9') || (c >= U'\uFF10' && c <= U'\uFF19');
      chinese = chinese || IsHan(c);
      if (IsSeparator(c)) {
        if (inToken) tokens.push_back(line.substr(tokenStart, i - tokenStart));
        inToken = false;
      } else if (!inToken) {
        inToken = true;
        tokenStart = i;
      }
      i += len;
    }
    if (inToken) tokens.push_back(line.substr(tokenStart));
    // A line without a digit, or a heading in Chinese without a number, is
    // no part of the list.
    if (!digit) continue;
    if (chinese && std::none_of(tokens.begin(), tokens.end(), IsNumber)) continue;
    for (std::string_view token : tokens) {
      if (!IsNumber(token)) {
        file.numbers.clear();
        file.refusal = "第 " + std::to_string(lineNumber) + " 行的“" + Shown(token) +
                       "”不是三位号码，未载入。";
        return file;
      }
      if (file.numbers.size() == kListFileMaxNumbers) {
        file.numbers.clear();
        file.refusal = kTooManyNumbers;
        return file;
      }
      file.numbers.emplace_back(token);
    }
  }
  if (file.numbers.empty()) file.refusal = kNoNumbersInFile;
  return file;
}

}  // namespace numbers
