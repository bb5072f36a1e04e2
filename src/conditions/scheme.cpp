#include "conditions/scheme.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "core/decode.h"
#include "core/text.h"

namespace numbers {

namespace {

using Settings = FilterSettings;

// One line of a file. A condition's own line (选用/不选) has the condition's
// name as its key; its boxes and inputs are "condition.item".
enum class Kind { kChoice, kText };

struct Field {
  std::string key;
  Kind kind = Kind::kChoice;
  // kChoice: the words for false and true, and shorter words also taken.
  std::string_view no, yes, noAlias, yesAlias;
  bool Settings::*flag = nullptr;
  std::array<bool, 4> Settings::*boxes = nullptr;
  std::size_t index = 0;
  std::string Settings::*text = nullptr;
  bool blankBefore = false;  // starts a condition's block in a written file
};

constexpr std::string_view kChosen = "选用", kNotChosen = "不选";
constexpr std::string_view kYes = "是", kNo = "否";

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = [] {
    std::vector<Field> f;
    auto choice = [&f](std::string key, bool Settings::*flag, std::string_view no,
                       std::string_view yes) {
      Field x;
      x.key = std::move(key), x.flag = flag, x.no = no, x.yes = yes;
      f.push_back(x);
    };
    auto condition = [&](std::string_view name, bool Settings::*flag) {
      choice(std::string(name), flag, kNotChosen, kChosen);
      f.back().blankBefore = true;
    };
    auto box = [&](std::string_view name, std::string_view item, bool Settings::*flag) {
      choice(std::string(name) + "." + std::string(item), flag, kNo, kYes);
    };
    auto ratios = [&](std::string_view name, std::array<bool, 4> Settings::*boxes,
                      std::array<std::string_view, 4> items) {
      for (std::size_t i = 0; i < 4; ++i) {
        box(name, items[i], nullptr);
        f.back().boxes = boxes, f.back().index = i;
      }
    };
    auto text = [&f](std::string key, std::string Settings::*member) {
      Field x;
      x.key = std::move(key), x.kind = Kind::kText, x.text = member;
      f.push_back(x);
    };
    auto input = [&](std::string_view name, std::string Settings::*member) {
      text(std::string(name) + ".输入", member);
    };
    constexpr std::array<std::string_view, 4> kRatios = {"3:0", "2:1", "1:2", "0:3"};

    choice("模式", &Settings::dropMatching, "保留符合条件的号码", "删除符合条件的号码");
    f.back().noAlias = "保留", f.back().yesAlias = "删除";
    text("容错", &Settings::toleranceText);
    condition("和值", &Settings::sum);
    input("和值", &Settings::sumText);
    condition("跨度", &Settings::span);
    input("跨度", &Settings::spanText);
    condition("和尾", &Settings::tail);
    input("和尾", &Settings::tailText);
    condition("形态", &Settings::shape);
    box("形态", "豹子", &Settings::baozi);
    box("形态", "组三", &Settings::zu3);
    box("形态", "组六", &Settings::zu6);
    condition("奇偶比", &Settings::odd);
    ratios("奇偶比", &Settings::oddRatios, kRatios);
    condition("大小比", &Settings::big);
    ratios("大小比", &Settings::bigRatios, kRatios);
    condition("012路比", &Settings::road);
    input("012路比", &Settings::roadText);
    condition("胆码", &Settings::dan);
    input("胆码", &Settings::danText);
    choice("胆码.方式", &Settings::danAll, "至少含一个", "全部包含");
    condition("杀码", &Settings::kill);
    input("杀码", &Settings::killText);
    condition("定位", &Settings::pos);
    text("定位.百位", &Settings::posHText);
    text("定位.十位", &Settings::posTText);
    text("定位.个位", &Settings::posUText);
    condition("二码", &Settings::pair);
    input("二码", &Settings::pairText);
    condition("两码和", &Settings::pairSum);
    input("两码和", &Settings::pairSumText);
    condition("两码差", &Settings::pairDiff);
    input("两码差", &Settings::pairDiffText);
    condition("大中小比", &Settings::dzx);
    input("大中小比", &Settings::dzxText);
    condition("质合比", &Settings::prime);
    ratios("质合比", &Settings::primeRatios, kRatios);
    condition("连号", &Settings::run);
    box("连号", "全顺", &Settings::runFull);
    box("连号", "半顺", &Settings::runHalf);
    box("连号", "非顺", &Settings::runNone);
    condition("重号", &Settings::repeat);
    ratios("重号", &Settings::repeatCounts, {"0", "1", "2", "3"});
    return f;
  }();
  return fields;
}

bool& FlagOf(Settings& s, const Field& f) {
  return f.boxes ? (s.*f.boxes)[f.index] : s.*f.flag;
}

// A text as a value: one line, valid UTF-8, no blank at either end; the
// backslash escapes the rest.
std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  auto hex = [&out](unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 15];
  };
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = core::CharLength(text, i);
    const auto c = static_cast<unsigned char>(text[i]);
    const bool atEnd = i == 0 || i + n == text.size();
    if (n > 1) {
      out.append(text.substr(i, n));
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c >= 0x7F || (c == ' ' && atEnd)) {
      hex(c);
    } else {
      out += static_cast<char>(c);
    }
    i += n;
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The text of an escaped value; the bad escape when there is one.
std::optional<std::string> Unescaped(std::string_view value, std::string& badEscape) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    const char next = i + 1 < value.size() ? value[i + 1] : '\0';
    if (next == '\\' || next == 'n' || next == 'r' || next == 't') {
      out += next == '\\' ? '\\' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\t';
      ++i;
    } else if (next == 'x' && i + 3 < value.size() && HexDigit(value[i + 2]) >= 0 &&
               HexDigit(value[i + 3]) >= 0) {
      out += static_cast<char>(HexDigit(value[i + 2]) * 16 + HexDigit(value[i + 3]));
      i += 3;
    } else {
      const std::size_t n = i + 1 < value.size() ? core::CharLength(value, i + 1) : 0;
      badEscape = std::string(value.substr(i, 1 + n));
      return std::nullopt;
    }
  }
  return out;
}

bool IsBlankByte(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlankByte(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankByte(s.back())) s.remove_suffix(1);
  return s;
}

// A key as typed by hand: blanks (U+3000 too) at the ends dropped, fullwidth
// ： and ． read as : and .
std::string NormalizedKey(std::string_view key) {
  std::string out;
  for (std::string_view ch : core::Chars(key)) {
    if (ch == "：") {
      out += ':';
    } else if (ch == "．") {
      out += '.';
    } else {
      out += ch;
    }
  }
  std::string_view v = out;
  for (;;) {
    const std::string_view before = v;
    v = TrimBlanks(v);
    if (v.starts_with("\u3000")) v.remove_prefix(3);
    if (v.ends_with("\u3000")) v.remove_suffix(3);
    if (v == before) break;
  }
  return std::string(v);
}

// A text as a notice shows it: control characters as U+FFFD, a long one cut.
std::string Shown(std::string_view text, std::size_t maxChars) {
  std::string out;
  std::size_t n = 0;
  for (std::string_view ch : core::Chars(text)) {
    if (n++ == maxChars) return out + "…";
    const char32_t c = core::DecodeChar(ch);
    out += (c < 32 || c == 127 || (ch.size() == 1 && c >= 0x80)) ? std::string("\uFFFD")
                                                                 : std::string(ch);
  }
  return out;
}

constexpr std::size_t kShownChars = 20;

// The first '=' or '＝' of a line.
std::optional<std::pair<std::size_t, std::size_t>> FindEquals(std::string_view line) {
  const std::size_t ascii = line.find('=');
  const std::size_t wide = line.find("＝");
  if (ascii == std::string_view::npos && wide == std::string_view::npos) return std::nullopt;
  if (wide < ascii) return std::make_pair(wide, std::size_t{3});
  return std::make_pair(ascii, std::size_t{1});
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool IsConditionName(std::string_view name) {
  for (std::string_view c : kConditionNames) {
    if (c == name) return true;
  }
  return name == "模式" || name == "容错";
}

}  // namespace

std::string SchemeBytes(const FilterSettings& settings) {
  Settings s = settings;
  std::string out = "\xEF\xBB\xBF";
  out += kSchemeHeader;
  out +=
      "\r\n# 每行“名称 = 值”，# 开头的行是说明。条件写“选用”才生效，方框写“是”为勾选；"
      "\r\n# 输入框的内容照原样写在等号后面。\r\n";
  for (const Field& f : Fields()) {
    if (f.blankBefore) out += "\r\n";
    out += f.key;
    const std::string value =
        f.kind == Kind::kText ? Escaped(s.*f.text) : std::string(FlagOf(s, f) ? f.yes : f.no);
    out += value.empty() ? " =" : " = " + value;
    out += "\r\n";
  }
  return out;
}

SchemeFile ReadScheme(std::string_view bytes, std::string_view shownName) {
  SchemeFile file;
  const std::string prefix = "方案文件“" + Shown(shownName, 260) + "”";
  if (bytes.size() > kSchemeFileMaxBytes) {
    file.refusal = prefix + "大于 16 MB，未载入。";
    return file;
  }
  const std::string text = core::DecodeForShow(bytes);
  std::map<std::string, int> seen;  // key -> line
  bool headerRead = false;
  int number = 0;
  for (std::string_view line : Lines(text)) {
    ++number;
    auto refuse = [&](const std::string& problem) {
      file.settings = {};
      file.refusal = prefix;
      file.refusal += "第 " + std::to_string(number) + " 行" + problem + "，未载入。";
      return file;
    };
    const std::string_view trimmed = core::TrimView(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    if (!headerRead) {
      if (trimmed == kSchemeHeader) {
        headerRead = true;
        continue;
      }
      const std::string_view stem = kSchemeHeader.substr(0, kSchemeHeader.size() - 1);
      if (trimmed.starts_with(stem))
        return refuse("：这是程序更新版本保存的方案（“" + Shown(trimmed, kShownChars) +
                      "”），本程序读不了");
      return refuse("不是缩水方案的开头，应为“" + std::string(kSchemeHeader) + "”");
    }
    const auto equals = FindEquals(line);
    if (!equals)
      return refuse("“" + Shown(trimmed, kShownChars) + "”无法识别，应为“名称 = 值”的形式");
    const std::string key = NormalizedKey(line.substr(0, equals->first));
    if (key.empty())
      return refuse("“" + Shown(trimmed, kShownChars) + "”无法识别，应为“名称 = 值”的形式");
    const std::string_view raw = TrimBlanks(line.substr(equals->first + equals->second));
    const Field* field = nullptr;
    for (const Field& f : Fields()) {
      if (f.key == key) field = &f;
    }
    if (!field) {
      const std::size_t dot = key.find('.');
      const std::string name = key.substr(0, dot);
      if (!IsConditionName(name)) {
        return refuse("：没有名为“" + Shown(name, kShownChars) + "”的条件");
      }
      return refuse("：条件“" + name + "”没有“" + Shown(key.substr(dot + 1), kShownChars) +
                    "”这一项");
    }
    if (const auto [it, fresh] = seen.emplace(key, number); !fresh) {
      return refuse("：“" + key + "”已在第 " + std::to_string(it->second) + " 行写过");
    }
    if (field->kind == Kind::kText) {
      std::string bad;
      const auto value = Unescaped(raw, bad);
      if (!value)
        return refuse("：“" + Shown(bad, kShownChars) + "”无法识别，反斜杠本身应写作 \\\\");
      file.settings.*field->text = *value;
    } else if (raw == field->yes || (!field->yesAlias.empty() && raw == field->yesAlias)) {
      FlagOf(file.settings, *field) = true;
    } else if (raw == field->no || (!field->noAlias.empty() && raw == field->noAlias)) {
      FlagOf(file.settings, *field) = false;
    } else {
      return refuse("：“" + key + "”应为“" + std::string(field->yes) + "”或“" +
                    std::string(field->no) + "”");
    }
  }
  if (!headerRead) file.refusal = prefix + "中没有缩水方案，未载入。";
  return file;
}

namespace {

// A typed name without blanks at either end, ideographic ones included.
std::string_view TrimName(std::string_view name) {
  for (;;) {
    const std::string_view before = name;
    name = core::TrimView(name);
    if (name.starts_with("\u3000")) name.remove_prefix(3);
    if (name.ends_with("\u3000")) name.remove_suffix(3);
    if (name == before) return name;
  }
}

}  // namespace

std::string SchemeNameRefusal(std::string_view typed) {
  const std::string_view name = TrimName(typed);
  if (name.empty()) return "方案名称不能为空。";
  if (!core::IsValidUtf8(name) || name.find_first_of("\\/:*?\"<>|") != std::string_view::npos ||
      std::any_of(name.begin(), name.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 32; }))
    return "方案名称不能含有 \\ / : * ? \" < > | 这些符号。";
  if (core::CharCount(name) > 40) return "方案名称不能超过 40 个字。";
  if (name.front() == '.' || name.back() == '.') return "方案名称不能以点开头或结尾。";
  // Names Windows keeps for devices, whatever follows the dot.
  std::string stem(name.substr(0, name.find('.')));
  stem = std::string(TrimName(stem));
  for (char& c : stem) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  const bool numbered = stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
                        stem[3] >= '0' && stem[3] <= '9';
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || numbered)
    return "“" + std::string(name) + "”是 Windows 保留的名称，请换一个。";
  return {};
}

std::string SchemeFileName(std::string_view name) {
  return std::string(TrimName(name)) + std::string(kSchemeExtension);
}

std::string SchemeNameOfFile(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (base.size() > kSchemeExtension.size() &&
      core::EqualsIgnoreCase(base.substr(base.size() - kSchemeExtension.size()), kSchemeExtension))
    base.remove_suffix(kSchemeExtension.size());
  return std::string(base);
}

}  // namespace numbers
