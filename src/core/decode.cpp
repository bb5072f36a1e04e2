#include "core/decode.h"

#include "core/text.h"

namespace core {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

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
    out += EncodeChar(u);
  }
  return true;
}

}  // namespace

std::optional<std::string> DecodeText(std::string_view bytes) {
  std::string text;
  if (bytes.starts_with("\xFF\xFE")) {
    if (!FromUtf16(bytes.substr(2), false, text)) return std::nullopt;
    return text;
  }
  if (bytes.starts_with("\xFE\xFF")) {
    if (!FromUtf16(bytes.substr(2), true, text)) return std::nullopt;
    return text;
  }
  if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  if (bytes.find('\0') != std::string_view::npos) {
    // UTF-16 without a mark: text of numbers is mostly digits and
    // separators, whose high bytes are NULs, all on the same side of each
    // pair; in at least half of the pairs.
    std::size_t nuls[2] = {0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\0') ++nuls[i % 2];
    }
    const bool bigEndian = nuls[0] > 0;
    if ((nuls[0] > 0) == (nuls[1] > 0) || nuls[bigEndian ? 0 : 1] < (bytes.size() + 3) / 4)
      return std::nullopt;
    if (!FromUtf16(bytes, bigEndian, text)) return std::nullopt;
    return text;
  }
  if (IsValidUtf8(bytes)) return std::string(bytes);
  text = GbkToUtf8(bytes);
  if (text.find("\uFFFD") != std::string::npos) return std::nullopt;
  return text;
}

std::string DecodeForShow(std::string_view bytes) {
  if (auto text = DecodeText(bytes)) return std::move(*text);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return GbkToUtf8(bytes);
}

}  // namespace core
