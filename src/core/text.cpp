#include "core/text.h"

namespace core {

namespace {

bool IsTrimmed(unsigned char c) {
  return c <= 32;
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Lead bytes of the two- and three-byte sequences that hold a foldable
// capital: Greek (CE), Cyrillic (D0), Roman numerals (E2 85) and fullwidth
// Latin (EF BC).
bool MayFold(unsigned char lead) {
  return lead == 0xCE || lead == 0xD0 || lead == 0xE2 || lead == 0xEF;
}

}  // namespace

char32_t FoldCase(char32_t cp) {
  if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
  if (cp < 0x80) return cp;
  // Greek capitals Alpha to Omega (U+03A2 is unassigned).
  if (cp >= 0x0391 && cp <= 0x03A9 && cp != 0x03A2) return cp + 0x20;
  // Cyrillic: Io, then A to Ya.
  if (cp == 0x0401) return 0x0451;
  if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;
  // Roman numerals one to ten (eleven and twelve have no small form in GBK).
  if (cp >= 0x2160 && cp <= 0x2169) return cp + 0x10;
  // Fullwidth A to Z.
  if (cp >= 0xFF21 && cp <= 0xFF3A) return cp + 0x20;
  return cp;
}

void FoldCaseInto(std::string_view text, char* out) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out[i++] = AsciiLower(static_cast<char>(c));
      continue;
    }
    const std::size_t n = CharLength(text, i);
    const std::string_view ch = text.substr(i, n);
    const char32_t cp = n > 1 && MayFold(c) ? DecodeChar(ch) : 0;
    const char32_t folded = cp != 0 ? FoldCase(cp) : 0;
    if (folded != cp) {
      const std::string enc = EncodeChar(folded);  // n bytes, as the capital
      enc.copy(out + i, n);
    } else {
      ch.copy(out + i, n);
    }
    i += n;
  }
}

std::string FoldCase(std::string_view text) {
  std::string out(text.size(), '\0');
  FoldCaseInto(text, out.data());
  return out;
}

std::string_view TrimView(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && IsTrimmed(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && IsTrimmed(static_cast<unsigned char>(text[e - 1]))) --e;
  return text.substr(b, e - b);
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}

std::size_t CharLength(std::string_view text, std::size_t pos) {
  const auto c = static_cast<unsigned char>(text[pos]);
  std::size_t need = 0;
  char32_t min = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    need = 1;
    min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    need = 2;
    min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    need = 3;
    min = 0x10000;
  } else {
    return 1;
  }
  if (pos + need >= text.size()) return 1;
  char32_t cp = c & (0x3F >> need);
  for (std::size_t i = 1; i <= need; ++i) {
    const auto cc = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(cc)) return 1;
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 1;
  return need + 1;
}

std::vector<std::string_view> Chars(std::string_view text) {
  std::vector<std::string_view> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) ++count;
  return count;
}

std::size_t ByteOffsetOfChar(std::string_view text, std::size_t index) {
  std::size_t pos = 0;
  for (std::size_t k = 0; k < index && pos < text.size(); ++k) pos += CharLength(text, pos);
  return pos;
}

char32_t DecodeChar(std::string_view ch) {
  if (ch.empty()) return 0;
  const auto c = static_cast<unsigned char>(ch[0]);
  if (ch.size() == 1) return c;
  char32_t cp = c & (0x3F >> (ch.size() - 1));
  for (std::size_t i = 1; i < ch.size(); ++i) cp = (cp << 6) | (ch[i] & 0x3F);
  return cp;
}

std::string EncodeChar(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp <= 0x10FFFF) {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const auto c = static_cast<unsigned char>(a[i]);
    if (c < 0x80) {
      if (a[i] != b[i] && AsciiLower(a[i]) != AsciiLower(b[i])) return false;
      ++i;
      continue;
    }
    // Folding keeps every character's length, so equal texts split alike.
    const std::size_t n = CharLength(a, i);
    if (CharLength(b, i) != n) return false;
    const std::string_view x = a.substr(i, n);
    const std::string_view y = b.substr(i, n);
    if (x != y && (n == 1 || FoldCase(DecodeChar(x)) != FoldCase(DecodeChar(y)))) return false;
    i += n;
  }
  return true;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    // Lists and histories are mostly ASCII: those bytes need no decoding.
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t n = CharLength(text, i);
    if (n == 1) return false;
    i += n;
  }
  return true;
}

std::string ShownInNotice(std::string_view text, std::size_t most) {
  std::string out;
  std::size_t n = 0;
  for (std::string_view ch : Chars(text)) {
    if (n++ == most) {
      out += "…";
      break;
    }
    const char32_t c = DecodeChar(ch);
    const bool stray = c >= 0x80 && c < 0x100 && ch.size() == 1;
    out += (c < 32 || c == 127 || stray) ? std::string("\uFFFD") : std::string(ch);
  }
  return out;
}

}  // namespace core
