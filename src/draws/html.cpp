#include "draws/html.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/decode.h"
#include "core/text.h"

namespace numbers {

namespace {

// Where a page declares its charset, if it does: the head, well before this.
constexpr std::size_t kMetaScanBytes = 16384;
// Tables nested deeper than this are taken as one level.
constexpr std::size_t kMaxTableDepth = 256;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

constexpr char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

constexpr bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

// `needle` in lower case, found in `hay` whatever its case.
std::size_t FindNoCase(std::string_view hay, std::string_view needle, std::size_t from = 0) {
  if (needle.empty() || hay.size() < needle.size()) return std::string_view::npos;
  for (std::size_t i = from; i + needle.size() <= hay.size(); ++i) {
    if (Lower(hay[i]) != needle[0]) continue;
    std::size_t k = 1;
    while (k < needle.size() && Lower(hay[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

Charset CharsetNamed(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  for (std::string_view gbk : {"gbk", "gb2312", "gb18030", "x-gbk", "cp936", "windows-936",
                               "euc-cn", "x-euc-cn", "csgb2312", "gb_2312-80"}) {
    if (lower == gbk) return Charset::kGbk;
  }
  if (lower == "utf-8" || lower == "utf8") return Charset::kUtf8;
  return Charset::kUnknown;
}

// The name after "charset" and "=", quotes around it or not.
std::optional<Charset> CharsetIn(std::string_view text) {
  const std::size_t at = FindNoCase(text, "charset");
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t i = at + 7;
  while (i < text.size() && IsHtmlSpace(text[i])) ++i;
  if (i == text.size() || text[i] != '=') return std::nullopt;
  ++i;
  while (i < text.size() && (IsHtmlSpace(text[i]) || text[i] == '"' || text[i] == '\'')) ++i;
  std::size_t end = i;
  while (end < text.size() &&
         (IsLetter(text[end]) || core::IsAsciiDigit(text[end]) || text[end] == '-' ||
          text[end] == '_' || text[end] == '.' || text[end] == ':')) {
    ++end;
  }
  return CharsetNamed(text.substr(i, end - i));
}

// ---- HTML to lines --------------------------------------------------------------

// The lines being written: blanks wait for the next visible character, so
// none leads or ends a line or a cell, and runs of them are one.
class Lines {
 public:
  explicit Lines(std::size_t reserve) { out_.reserve(reserve); }

  void Text(std::string_view bytes) {
    if (blank_ && out_.size() > lineStart_ && out_.back() != '\t') out_ += ' ';
    blank_ = false;
    out_ += bytes;
  }
  void Blank() { blank_ = true; }
  void Cell() {
    blank_ = false;
    if (out_.size() > lineStart_) out_ += '\t';
  }
  void Break() {
    blank_ = false;
    if (out_.size() == lineStart_) return;
    out_ += '\n';
    lineStart_ = out_.size();
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
  std::size_t lineStart_ = 0;
  bool blank_ = false;
};

enum class Tag { kOther, kCell, kRow, kTable, kBlock, kPre, kRaw };

Tag TagNamed(std::string_view name) {
  if (name == "td" || name == "th") return Tag::kCell;
  if (name == "tr") return Tag::kRow;
  if (name == "table") return Tag::kTable;
  if (name == "pre" || name == "textarea" || name == "listing") return Tag::kPre;
  if (name == "script" || name == "style") return Tag::kRaw;
  if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') return Tag::kBlock;
  static constexpr std::array<std::string_view, 34> kBlocks = {
      "br",         "p",      "div",     "li",    "ul",     "ol",       "dl",
      "dt",         "dd",     "thead",   "tbody", "tfoot",  "caption",  "section",
      "article",    "header", "footer",  "nav",   "main",   "aside",    "blockquote",
      "form",       "hr",     "address", "title", "option", "fieldset", "figure",
      "figcaption", "center", "body",    "head",  "html",   "details"};
  for (std::string_view b : kBlocks) {
    if (name == b) return Tag::kBlock;
  }
  return Tag::kOther;
}

class Converter {
 public:
  explicit Converter(std::string_view html) : s_(html), lines_(html.size()) {
    cells_.push_back(false);
  }

  std::string Run() {
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (c == '<') {
        Markup();
      } else if (c == '&') {
        Entity();
      } else if (IsHtmlSpace(c)) {
        Space(c);
      } else if (IsControl(static_cast<unsigned char>(c))) {
        lines_.Blank();
        ++i_;
      } else {
        std::size_t end = i_ + 1;
        while (end < s_.size() && s_[end] != '<' && s_[end] != '&' && !IsHtmlSpace(s_[end]) &&
               !IsControl(static_cast<unsigned char>(s_[end]))) {
          ++end;
        }
        lines_.Text(s_.substr(i_, end - i_));
        i_ = end;
      }
    }
    return lines_.Take();
  }

 private:
  bool InCell() const { return cells_.back(); }
  void SetCell(bool in) { cells_.back() = in; }

  // A line break where one counts: inside a cell it only separates.
  void Block() {
    if (InCell()) {
      lines_.Blank();
    } else {
      lines_.Break();
    }
  }

  void Space(char c) {
    const bool lineEnd = c == '\n' || c == '\r';
    if (pre_ > 0 && lineEnd) {
      // CR LF is one break.
      if (c == '\r' && i_ + 1 < s_.size() && s_[i_ + 1] == '\n') ++i_;
      Block();
    } else {
      lines_.Blank();
    }
    ++i_;
  }

  // Past the next '>' outside quoted attribute values; npos when none.
  std::size_t TagEnd(std::size_t from) const {
    char last = 0;
    for (std::size_t k = from; k < s_.size(); ++k) {
      const char c = s_[k];
      if (c == '>') return k + 1;
      if ((c == '"' || c == '\'') && last == '=') {
        k = s_.find(c, k + 1);
        if (k == std::string_view::npos) break;
      }
      if (!IsHtmlSpace(c)) last = c;
    }
    return std::string_view::npos;
  }

  void Markup() {
    const std::string_view rest = s_.substr(i_);
    if (rest.starts_with("<!--")) {
      const std::size_t end = s_.find("-->", i_ + 4);
      i_ = end == std::string_view::npos ? s_.size() : end + 3;
      return;
    }
    if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) {
      const std::size_t end = s_.find('>', i_ + 2);
      i_ = end == std::string_view::npos ? s_.size() : end + 1;
      return;
    }
    std::size_t j = i_ + 1;
    const bool closing = j < s_.size() && s_[j] == '/';
    if (closing) ++j;
    if (j == s_.size() || !IsLetter(s_[j])) {
      // "< 5" or "<3": not a tag.
      lines_.Text("<");
      ++i_;
      return;
    }
    std::array<char, 12> name{};
    std::size_t length = 0;
    while (j < s_.size() &&
           (IsLetter(s_[j]) || core::IsAsciiDigit(s_[j]) || s_[j] == '-' || s_[j] == ':')) {
      if (length < name.size()) name[length] = Lower(s_[j]);
      ++length;
      ++j;
    }
    i_ = TagEnd(j);
    // A tag cut off by the end of the page counts for nothing, as in a browser.
    if (i_ == std::string_view::npos) {
      i_ = s_.size();
      return;
    }
    const Tag tag = length <= name.size() ? TagNamed({name.data(), length}) : Tag::kOther;
    Apply(tag, closing, {name.data(), std::min(length, name.size())});
  }

  void Apply(Tag tag, bool closing, std::string_view name) {
    switch (tag) {
      case Tag::kCell:
        if (!closing) lines_.Cell();
        SetCell(!closing);
        break;
      case Tag::kRow:
        SetCell(false);
        lines_.Break();
        break;
      case Tag::kTable:
        if (closing) {
          if (depth_ > 0) --depth_;
          if (cells_.size() > 1 && depth_ < kMaxTableDepth) cells_.pop_back();
        } else {
          if (depth_ < kMaxTableDepth) cells_.push_back(false);
          ++depth_;
        }
        lines_.Break();
        break;
      case Tag::kPre:
        if (closing) {
          if (pre_ > 0) --pre_;
        } else {
          ++pre_;
        }
        Block();
        break;
      case Tag::kBlock:
        Block();
        break;
      case Tag::kRaw:
        if (!closing) SkipRaw(name);
        break;
      case Tag::kOther:
        break;
    }
  }

  // The content of <script> or <style>, up to its end tag (left to read).
  void SkipRaw(std::string_view name) {
    std::string end = "</";
    end += name;
    const std::size_t at = FindNoCase(s_, end, i_);
    i_ = at == std::string_view::npos ? s_.size() : at;
  }

  void Entity() {
    const std::size_t start = i_;
    std::size_t j = i_ + 1;
    if (j < s_.size() && s_[j] == '#') {
      ++j;
      const bool hex = j < s_.size() && (s_[j] == 'x' || s_[j] == 'X');
      if (hex) ++j;
      std::uint32_t code = 0;
      const std::size_t first = j;
      for (; j < s_.size(); ++j) {
        const char c = s_[j];
        std::uint32_t digit = 0;
        if (core::IsAsciiDigit(c)) {
          digit = static_cast<std::uint32_t>(c - '0');
        } else if (hex && Lower(c) >= 'a' && Lower(c) <= 'f') {
          digit = static_cast<std::uint32_t>(Lower(c) - 'a' + 10);
        } else {
          break;
        }
        // Past the last code point it stays past it.
        if (code <= 0x10FFFF) code = code * (hex ? 16 : 10) + digit;
      }
      if (j == first) {
        lines_.Text("&");
        i_ = start + 1;
        return;
      }
      if (j < s_.size() && s_[j] == ';') ++j;
      i_ = j;
      Code(code);
      return;
    }
    struct Named {
      std::string_view name;
      std::string_view text;  // empty: a blank
    };
    static constexpr std::array<Named, 6> kNamed = {Named{"nbsp", ""},   Named{"amp", "&"},
                                                    Named{"lt", "<"},    Named{"gt", ">"},
                                                    Named{"quot", "\""}, Named{"apos", "'"}};
    const std::string_view rest = s_.substr(j);
    for (const Named& e : kNamed) {
      if (!rest.starts_with(e.name)) continue;
      i_ = j + e.name.size();
      if (i_ < s_.size() && s_[i_] == ';') ++i_;
      if (e.text.empty()) {
        lines_.Blank();
      } else {
        lines_.Text(e.text);
      }
      return;
    }
    lines_.Text("&");
    i_ = start + 1;
  }

  void Code(std::uint32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      lines_.Text("\xEF\xBF\xBD");
    } else if (code <= 0x20 || code == 0x7F || (code >= 0x80 && code <= 0xA0)) {
      lines_.Blank();
    } else {
      lines_.Text(core::EncodeChar(code));
    }
  }

  std::string_view s_;
  std::size_t i_ = 0;
  Lines lines_;
  // Per open table (the page itself first): whether a cell is open in it.
  std::vector<bool> cells_;
  std::size_t depth_ = 0;
  int pre_ = 0;
};

}  // namespace

Charset DeclaredCharset(std::string_view contentType, std::string_view body) {
  const std::optional<Charset> sent = CharsetIn(contentType);
  // A server's default that is neither is less likely than the page's own word.
  if (sent && *sent != Charset::kUnknown) return *sent;
  const std::string_view head = body.substr(0, kMetaScanBytes);
  for (std::size_t at = FindNoCase(head, "<meta"); at != std::string_view::npos;
       at = FindNoCase(head, "<meta", at + 5)) {
    const std::size_t end = head.find('>', at);
    const std::optional<Charset> named =
        CharsetIn(head.substr(at, end == std::string_view::npos ? head.npos : end - at));
    if (named) return *named;
  }
  return sent.value_or(Charset::kUnknown);
}

bool IsHtml(std::string_view contentType, std::string_view text) {
  if (FindNoCase(contentType, "html") != std::string_view::npos) return true;
  for (std::string_view tag : {"<html", "<body", "<table", "<tr"}) {
    for (std::size_t at = FindNoCase(text, tag); at != std::string_view::npos;
         at = FindNoCase(text, tag, at + 1)) {
      const std::size_t after = at + tag.size();
      if (after == text.size() || text[after] == '>' || text[after] == '/' ||
          IsHtmlSpace(text[after])) {
        return true;
      }
    }
  }
  return false;
}

std::string HtmlToLines(std::string_view html) {
  return Converter(html).Run();
}

std::optional<std::string> PageText(std::string_view body, std::string_view contentType) {
  std::optional<std::string> text;
  // A byte-order mark outweighs any declaration.
  if (!body.starts_with(kUtf8Mark)) {
    switch (DeclaredCharset(contentType, body)) {
      case Charset::kGbk:
        if (body.find('\0') == std::string_view::npos) text = core::GbkToUtf8(body);
        break;
      case Charset::kUtf8:
        if (core::IsValidUtf8(body)) text = std::string(body);
        break;
      case Charset::kUnknown:
        break;
    }
  }
  if (!text) text = core::DecodeText(body);
  if (!text) return std::nullopt;
  if (IsHtml(contentType, *text)) return HtmlToLines(*text);
  return text;
}

}  // namespace numbers
