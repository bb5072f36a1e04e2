// The UTF-8 and line helpers over arbitrary bytes, each checked against a
// plain reference written from the definitions rather than from the code.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "case_pairs.h"
#include "check.h"
#include "core/text.h"
#include "utf8_reference.h"

namespace {

bool ReferenceValid(std::string_view t) {
  for (std::size_t i = 0; i < t.size();) {
    const std::size_t n = ValidSequenceAt(t, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

// Line ends normalised to LF, then split; the text ends at a NUL.
std::vector<std::string> ReferenceLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::string s;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r') {
      s += '\n';
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      s += bytes[i];
    }
  }
  std::vector<std::string> lines;
  std::string cur;
  for (char c : s) {
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

// The text as characters (a stray byte is one), each capital made small.
std::vector<std::u32string> ReferenceFolded(std::string_view t) {
  std::vector<std::u32string> out;
  for (std::size_t i = 0; i < t.size();) {
    const std::size_t n = ValidSequenceAt(t, i);
    if (n == 0) {
      // Kept apart from the code points: a stray byte equals only itself.
      out.push_back({char32_t{0xFFFFFFFF}, static_cast<unsigned char>(t[i])});
      ++i;
      continue;
    }
    char32_t cp = core::DecodeChar(t.substr(i, n));
    for (const auto& p : kCasePairs) {
      if (cp >= p.capital && cp < p.capital + p.count) cp = p.small + (cp - p.capital);
    }
    out.push_back({cp});
    i += n;
  }
  return out;
}

bool ReferenceEqualsIgnoreCase(std::string_view a, std::string_view b) {
  return ReferenceFolded(a) == ReferenceFolded(b);
}

// Every letter of a pair turned into the other one.
std::string SwappedCase(std::string_view t) {
  std::string out;
  for (std::size_t i = 0; i < t.size();) {
    const std::size_t n = std::max<std::size_t>(ValidSequenceAt(t, i), 1);
    const std::string_view ch = t.substr(i, n);
    char32_t cp = ValidSequenceAt(t, i) != 0 ? core::DecodeChar(ch) : 0;
    for (const auto& p : kCasePairs) {
      if (cp >= p.capital && cp < p.capital + p.count) {
        cp = p.small + (cp - p.capital);
      } else if (cp >= p.small && cp < p.small + p.count) {
        cp = p.capital + (cp - p.small);
      } else {
        continue;
      }
      break;
    }
    out += cp != 0 ? core::EncodeChar(cp) : std::string(ch);
    i += n;
  }
  return out;
}

void CheckTrim(std::string_view text) {
  const std::string_view v = core::TrimView(text);
  FUZZ_CHECK(core::Trim(text) == v);
  // A piece of the text, with nothing of code 0..32 at either end...
  FUZZ_CHECK(v.data() >= text.data() && v.data() + v.size() <= text.data() + text.size());
  if (!v.empty()) {
    FUZZ_CHECK(static_cast<unsigned char>(v.front()) > 32);
    FUZZ_CHECK(static_cast<unsigned char>(v.back()) > 32);
  }
  // ...and only such characters removed.
  for (const char* p = text.data(); p < v.data(); ++p)
    FUZZ_CHECK(static_cast<unsigned char>(*p) <= 32);
  for (const char* p = v.data() + v.size(); p < text.data() + text.size(); ++p)
    FUZZ_CHECK(static_cast<unsigned char>(*p) <= 32);
  FUZZ_CHECK(core::TrimView(v) == v);
  // Trimming keeps valid UTF-8 valid.
  if (core::IsValidUtf8(text)) FUZZ_CHECK(core::IsValidUtf8(v));
}

void CheckChars(std::string_view text) {
  const bool valid = core::IsValidUtf8(text);
  FUZZ_CHECK(valid == ReferenceValid(text));
  const auto chars = core::Chars(text);
  FUZZ_CHECK(chars.size() == core::CharCount(text));
  std::size_t offset = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string_view ch = chars[i];
    FUZZ_CHECK(core::ByteOffsetOfChar(text, i) == offset);
    FUZZ_CHECK(ch.data() == text.data() + offset);  // contiguous, in order
    FUZZ_CHECK(core::CharLength(text, offset) == ch.size());
    const std::size_t seq = ValidSequenceAt(text, offset);
    if (seq != 0) {
      // A valid sequence is one character, and it round-trips.
      FUZZ_CHECK(ch.size() == seq);
      FUZZ_CHECK(core::EncodeChar(core::DecodeChar(ch)) == ch);
    } else {
      // A stray byte stands alone and decodes as itself.
      FUZZ_CHECK(ch.size() == 1);
      FUZZ_CHECK(core::DecodeChar(ch) == static_cast<unsigned char>(ch[0]));
    }
    offset += ch.size();
  }
  FUZZ_CHECK(offset == text.size());
  FUZZ_CHECK(core::ByteOffsetOfChar(text, chars.size()) == text.size());
  FUZZ_CHECK(core::ByteOffsetOfChar(text, chars.size() + 7) == text.size());
}

void CheckCase(std::string_view a, std::string_view b) {
  const bool ab = core::EqualsIgnoreCase(a, b);
  FUZZ_CHECK(ab == core::EqualsIgnoreCase(b, a));
  FUZZ_CHECK(ab == ReferenceEqualsIgnoreCase(a, b));
  FUZZ_CHECK(core::EqualsIgnoreCase(a, a));
  // Folding keeps the length and tells equal texts by plain equality.
  const std::string fa = core::FoldCase(a);
  FUZZ_CHECK(fa.size() == a.size());
  FUZZ_CHECK(ab == (fa == core::FoldCase(b)));
  FUZZ_CHECK(core::EqualsIgnoreCase(a, fa));
  const std::string swapped = SwappedCase(a);
  FUZZ_CHECK(swapped.size() == a.size());
  FUZZ_CHECK(core::EqualsIgnoreCase(a, swapped));
}

void CheckLines(std::string_view bytes) {
  const auto lines = core::SplitLines(bytes);
  FUZZ_CHECK(lines == ReferenceLines(bytes));
  for (const auto& l : lines)
    FUZZ_CHECK(l.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
}

void CheckGbk(std::string_view bytes) {
  const std::string utf8 = core::GbkToUtf8(bytes);
  FUZZ_CHECK(ReferenceValid(utf8));
  // At most one replacement (3 bytes) per input byte.
  FUZZ_CHECK(utf8.size() <= 3 * bytes.size());
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) FUZZ_CHECK(utf8 == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckTrim(text);
  CheckChars(text);
  CheckCase(text.substr(0, size / 2), text.substr(size / 2));
  CheckCase(text, text);
  CheckLines(text);
  CheckGbk(text);
  return 0;
}
