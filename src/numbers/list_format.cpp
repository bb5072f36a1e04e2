#include "numbers/list_format.h"

#include "toolkit/text.h"

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

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
    out += tk::EncodeChar(u);
  }
  if (i < bytes.size()) out += tk::EncodeChar(0xFFFD);
  return out;
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

bool IsNumber(std::string_view token) {
  return token.size() == 3 && token[0] >= '0' && token[0] <= '9' && token[1] >= '0' &&
         token[1] <= '9' && token[2] >= '0' && token[2] <= '9';
}

std::string Shown(std::string_view token) {
  return tk::ShownInNotice(token, kShownTokenChars);
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
  if (bytes.starts_with(kBom))
    bytes.remove_prefix(kBom.size());
  else if (bytes.starts_with("\xFF\xFE"))
    return FromUtf16(bytes.substr(2), false);
  else if (bytes.starts_with("\xFE\xFF"))
    return FromUtf16(bytes.substr(2), true);
  if (tk::IsValidUtf8(bytes)) return std::string(bytes);
  return tk::GbkToUtf8(bytes);
}

ListFile ReadListFile(std::string_view bytes) {
  ListFile file;
  if (bytes.size() > kListFileMaxBytes) {
    file.refusal = kFileTooLarge;
    return file;
  }
  const std::string text = DecodeListFile(bytes);
  const std::string_view v(text);
  int line = 1;
  std::size_t tokenStart = 0;
  int tokenLine = 1;
  bool inToken = false;
  auto finish = [&](std::size_t end) {
    if (!inToken) return true;
    inToken = false;
    const std::string_view token = v.substr(tokenStart, end - tokenStart);
    if (!IsNumber(token)) {
      file.refusal =
          "第 " + std::to_string(tokenLine) + " 行的“" + Shown(token) + "”不是三位号码，未载入。";
      return false;
    }
    if (file.numbers.size() == kListFileMaxNumbers) {
      file.refusal = kTooManyNumbers;
      return false;
    }
    file.numbers.emplace_back(token);
    return true;
  };
  std::size_t pos = 0;
  while (pos < v.size()) {
    const std::size_t len = tk::CharLength(v, pos);
    const char32_t c = tk::DecodeChar(v.substr(pos, len));
    const bool lineBreak = c == U'\r' || c == U'\n';
    if (lineBreak || IsSeparator(c)) {
      if (!finish(pos)) {
        file.numbers.clear();
        return file;
      }
      if (lineBreak) {
        ++line;
        if (c == U'\r' && pos + 1 < v.size() && v[pos + 1] == '\n') ++pos;
      }
    } else if (!inToken) {
      inToken = true;
      tokenStart = pos;
      tokenLine = line;
    }
    pos += len;
  }
  if (!finish(v.size())) {
    file.numbers.clear();
    return file;
  }
  if (file.numbers.empty()) file.refusal = kNoNumbersInFile;
  return file;
}

}  // namespace numbers
