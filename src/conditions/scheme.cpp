#include "conditions/scheme.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "conditions/condition_table.h"
#include "core/decode.h"
#include "core/notice.h"
#include "core/text.h"
#include "core/tokens.h"

namespace numbers {

namespace {

// One line of a file: a setting under its key. A condition's own line
// (选用/不选) has the condition's name as its key; its boxes and inputs are
// "condition.item".
struct Field {
  std::string key{};
  SettingControl setting{};
  // A flag's words for false and true, and shorter words also taken.
  std::string_view no{}, yes{}, noAlias{}, yesAlias{};
  bool blankBefore = false;  // starts a condition's block in a written file
};

constexpr std::string_view kChosen = "选用", kNotChosen = "不选";
constexpr std::string_view kYes = "是", kNo = "否";

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = [] {
    std::vector<Field> f;
    f.push_back({.key = std::string(kModeSetting.item),
                 .setting = kModeSetting,
                 .no = kModeSetting.no,
                 .yes = kModeSetting.yes,
                 .noAlias = "保留",
                 .yesAlias = "删除"});
    f.push_back({.key = std::string(kToleranceSetting.item), .setting = kToleranceSetting});
    for (const Condition& c : Conditions()) {
      f.push_back({.key = std::string(c.name),
                   .setting = {.flag = c.ticked},
                   .no = kNotChosen,
                   .yes = kChosen,
                   .blankBefore = true});
      for (const SettingControl& part : c.parts) {
        Field x{.key = std::string(c.name) + "." + std::string(part.item), .setting = part};
        if (part.kind == SettingControl::Kind::kOption) {
          x.no = part.no, x.yes = part.yes;
        } else {
          x.no = kNo, x.yes = kYes;
        }
        f.push_back(std::move(x));
      }
    }
    return f;
  }();
  return fields;
}

bool IsText(const Field& f) {
  return f.setting.kind == SettingControl::Kind::kInput;
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

// The first '=' or '＝' of a line.
std::optional<std::pair<std::size_t, std::size_t>> FindEquals(std::string_view line) {
  const std::size_t ascii = line.find('=');
  const std::size_t wide = line.find("＝");
  if (ascii == std::string_view::npos && wide == std::string_view::npos) return std::nullopt;
  if (wide < ascii) return std::make_pair(wide, std::size_t{3});
  return std::make_pair(ascii, std::size_t{1});
}

bool IsConditionName(std::string_view name) {
  for (const Condition& c : Conditions()) {
    if (c.name == name) return true;
  }
  return name == kModeSetting.item || name == kToleranceSetting.item;
}

// Takes a file line by line: the header first, then the settings.
class SchemeReader {
 public:
  FilterSettings settings;
  bool headerRead = false;

  // What is wrong with the line, after "第 N 行"; empty when it reads.
  std::string Take(std::string_view line, std::size_t number) {
    const std::string_view trimmed = core::TrimView(line);
    if (trimmed.empty() || trimmed.front() == '#') return {};
    if (!headerRead) {
      if (trimmed == kSchemeHeader) {
        headerRead = true;
        return {};
      }
      const std::string_view stem = kSchemeHeader.substr(0, kSchemeHeader.size() - 1);
      if (trimmed.starts_with(stem))
        return "：这是程序更新版本保存的方案（“" + core::Shown(trimmed) + "”），本程序读不了";
      return "不是缩水方案的开头，应为“" + std::string(kSchemeHeader) + "”";
    }
    const auto equals = FindEquals(line);
    const std::string key = equals ? NormalizedKey(line.substr(0, equals->first)) : std::string();
    if (key.empty()) return "“" + core::Shown(trimmed) + "”无法识别，应为“名称 = 值”的形式";
    const std::string_view raw = TrimBlanks(line.substr(equals->first + equals->second));
    const Field* field = nullptr;
    for (const Field& f : Fields()) {
      if (f.key == key) field = &f;
    }
    if (!field) {
      const std::size_t dot = key.find('.');
      const std::string name = key.substr(0, dot);
      if (!IsConditionName(name)) return "：没有名为“" + core::Shown(name) + "”的条件";
      return "：条件“" + name + "”没有“" + core::Shown(key.substr(dot + 1)) + "”这一项";
    }
    if (const auto [it, fresh] = seen_.emplace(key, number); !fresh) {
      return "：“" + key + "”已在" + core::LineRef(it->second) + "写过";
    }
    if (IsText(*field)) {
      std::string bad;
      const auto value = Unescaped(raw, bad);
      if (!value) return "：“" + core::Shown(bad) + "”无法识别，反斜杠本身应写作 \\\\";
      TextOf(settings, field->setting) = *value;
    } else if (raw == field->yes || (!field->yesAlias.empty() && raw == field->yesAlias)) {
      FlagOf(settings, field->setting) = true;
    } else if (raw == field->no || (!field->noAlias.empty() && raw == field->noAlias)) {
      FlagOf(settings, field->setting) = false;
    } else {
      return "：“" + key + "”应为“" + std::string(field->yes) + "”或“" + std::string(field->no) +
             "”";
    }
    return {};
  }

 private:
  std::map<std::string, std::size_t> seen_;  // key -> line
};

}  // namespace

std::string SchemeBytes(const FilterSettings& s) {
  std::string out = "\xEF\xBB\xBF";
  out += kSchemeHeader;
  out +=
      "\r\n# 每行“名称 = 值”，# 开头的行是说明。条件写“选用”才生效，方框写“是”为勾选；"
      "\r\n# 输入框的内容照原样写在等号后面。\r\n";
  for (const Field& f : Fields()) {
    if (f.blankBefore) out += "\r\n";
    out += f.key;
    const std::string value = IsText(f) ? Escaped(TextOf(s, f.setting))
                                        : std::string(FlagOf(s, f.setting) ? f.yes : f.no);
    out += value.empty() ? " =" : " = " + value;
    out += "\r\n";
  }
  return out;
}

core::Read<FilterSettings> ReadScheme(std::string_view bytes, std::string_view path) {
  using Read = core::Read<FilterSettings>;
  const std::string prefix = "方案文件“" + core::ShownPath(core::FileNameOf(path)) + "”";
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  static_assert(kSchemeFileMaxBytes % kMiB == 0);
  if (bytes.size() > kSchemeFileMaxBytes)
    return Read::Refused(prefix + "大于 " + std::to_string(kSchemeFileMaxBytes / kMiB) +
                         " MB，未载入。");
  SchemeReader reader;
  std::string problem;
  core::ForEachLine(core::DecodeForShow(bytes), [&](std::string_view line, std::size_t number) {
    problem = reader.Take(line, number);
    if (!problem.empty()) problem = core::LineRef(number) + problem;
    return problem.empty();
  });
  if (!problem.empty()) return Read::Refused(prefix + problem + "，未载入。");
  if (!reader.headerRead) return Read::Refused(prefix + "中没有缩水方案，未载入。");
  Read read;
  read.value = std::move(reader.settings);
  return read;
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
  if (core::CharCount(name) > kSchemeNameMaxChars)
    return "方案名称不能超过 " + std::to_string(kSchemeNameMaxChars) + " 个字。";
  if (name.front() == '.' || name.back() == '.') return "方案名称不能以点开头或结尾。";
  // Names Windows keeps for devices, whatever follows the dot.
  std::string stem(name.substr(0, name.find('.')));
  stem = std::string(TrimName(stem));
  for (char& c : stem) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  const bool numbered = stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
                        core::IsAsciiDigit(stem[3]);
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || numbered)
    return "“" + std::string(name) + "”是 Windows 保留的名称，请换一个。";
  return {};
}

std::string SchemeFileName(std::string_view name) {
  return std::string(TrimName(name)) + std::string(kSchemeExtension);
}

std::string SchemeNameOfFile(std::string_view path) {
  std::string_view base = core::FileNameOf(path);
  if (base.size() > kSchemeExtension.size() &&
      core::EqualsIgnoreCase(base.substr(base.size() - kSchemeExtension.size()), kSchemeExtension))
    base.remove_suffix(kSchemeExtension.size());
  return std::string(base);
}

}  // namespace numbers
