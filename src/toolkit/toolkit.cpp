#include "toolkit/toolkit.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "toolkit/text.h"

namespace tk {

// ---- Control ---------------------------------------------------------------

void Control::RaiseClick() {
  if (OnClick) app_.Guard([this] { OnClick(*this); });
}

void Control::RunClick() {
  if (OnClick) OnClick(*this);
}

void CheckBox::SetChecked(bool checked) {
  if (NativeChecked() == checked) return;
  NativeSetChecked(checked);
  RunClick();
}

char32_t Edit::FilterKey(char32_t key) {
  if (OnKeyPress) App().Guard([&] { OnKeyPress(*this, key); });
  return key;
}

void Timer::RaiseTimer() {
  if (OnTimer) App().Guard([this] { OnTimer(*this); });
}

// ---- ListControl -------------------------------------------------------------

namespace {

constexpr std::uint64_t kLongLine = std::uint64_t{0xFF} << 56;

// Equal lines (letter case ignored, as FoldCase folds it) have equal keys;
// for lines of up to seven bytes equal keys also mean equal lines.
std::uint64_t LineKey(std::string_view line) {
  char small[64];
  std::string large;
  char* folded = small;
  if (line.size() > sizeof small) {
    large.resize(line.size());
    folded = large.data();
  }
  FoldCaseInto(line, folded);
  std::uint64_t key = 0;
  if (line.size() <= 7) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      key = (key << 8) | static_cast<unsigned char>(folded[i]);
    }
    return key | (static_cast<std::uint64_t>(line.size()) << 56);
  }
  key = 14695981039346656037ULL;  // FNV-1a of the folded bytes
  for (std::size_t i = 0; i < line.size(); ++i) {
    key = (key ^ static_cast<unsigned char>(folded[i])) * 1099511628211ULL;
  }
  return kLongLine | (key >> 8);
}

}  // namespace

const std::string& ListControl::LineAt(int index) const {
  if (index < 0 || index >= LineCount())
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  return lines_[static_cast<std::size_t>(index)];
}

void ListControl::AppendLine(std::string_view text) {
  lines_.emplace_back(text);
  keys_.push_back(LineKey(text));
  LinesChanged();
}

void ListControl::DeleteLine(int index) {
  if (index < 0 || index >= LineCount()) return;
  lines_.erase(lines_.begin() + index);
  keys_.erase(keys_.begin() + index);
  LinesChanged();
}

int ListControl::FindLine(std::string_view text) const {
  const std::uint64_t key = LineKey(text);
  const bool verify = (key & kLongLine) == kLongLine;
  // Plain pointers: the loop stays tight even where vector access is not inlined.
  const std::uint64_t* keys = keys_.data();
  const std::size_t n = keys_.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (keys[i] == key && (!verify || EqualsIgnoreCase(lines_[i], text))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void ListControl::ClearLines() {
  lines_.clear();
  keys_.clear();
  LinesChanged();
}

std::string ListControl::Text() const {
  std::size_t size = 0;
  for (const auto& l : lines_) size += l.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& l : lines_) {
    out += l;
    out += "\r\n";
  }
  return out;
}

void ListControl::SetText(std::string_view text) {
  lines_ = SplitLines(text);
  keys_.clear();
  for (const auto& l : lines_) keys_.push_back(LineKey(l));
  LinesChanged();
}

int ListControl::LineFromChar(int offset) const {
  int start = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const int end = start + static_cast<int>(CharCount(lines_[i])) + 2;
    if (offset < end) return static_cast<int>(i);
    start = end;
  }
  return LineCount();
}

int ListControl::LineStart(int line) const {
  int start = 0;
  for (int i = 0; i < line && i < LineCount(); ++i) {
    start += static_cast<int>(CharCount(lines_[static_cast<std::size_t>(i)])) + 2;
  }
  return start;
}

// ---- Platform: files ----------------------------------------------------------

namespace {

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

bool Platform::FilePresent(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathOf(path), ec);
}

std::vector<std::string> Platform::ReadTextLines(const std::string& path) const {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) throw Error("Cannot open file \"" + path + "\".");
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return SplitLines(bytes);
}

void Platform::WriteFileBytes(const std::string& path, std::string_view bytes) const {
  std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
  if (!out) throw Error("Cannot create file \"" + path + "\".");
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) throw Error("Cannot write file \"" + path + "\".");
}

Rect FitOnScreen(Rect window, Rect workArea) {
  const int right = workArea.left + workArea.width;
  const int bottom = workArea.top + workArea.height;
  if (window.left + window.width > right) window.left = right - window.width;
  if (window.top + window.height > bottom) window.top = bottom - window.height;
  if (window.left < workArea.left) window.left = workArea.left;
  if (window.top < workArea.top) window.top = workArea.top;
  return window;
}

bool IsWebAddress(std::string_view url) {
  auto starts = [&](std::string_view scheme) {
    return url.size() > scheme.size() && EqualsIgnoreCase(url.substr(0, scheme.size()), scheme);
  };
  return starts("http://") || starts("https://");
}

// ---- Application -----------------------------------------------------------------

void Application::ShowNotice(std::string_view text) {
  if (noticeHook_) {
    noticeHook_(text);
  } else {
    NativeMessageBox(text, false);
  }
}

void Application::ShowError(std::string_view text) {
  if (errorHook_) {
    errorHook_(text);
  } else {
    NativeMessageBox(text, true);
  }
}

void Application::OpenLink(std::string_view url) {
  if (!IsWebAddress(url)) return;
  if (linkHook_) {
    linkHook_(url);
  } else {
    NativeOpenLink(url);
  }
}

void Application::Guard(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    ShowError(e.what());
  } catch (...) {
    // Not one of the known error classes: the box shows an empty text.
    ShowError("");
  }
}

// ---- Form ---------------------------------------------------------------------------

Form::Form(Application& app, const FormSpec& def) : app_(app), def_(def) {
  windowSpec_.name = def.name;
  windowSpec_.kind = Kind::Form;
  windowSpec_.rect = {def.left, def.top, def.clientWidth, def.clientHeight};
  windowSpec_.text = def.caption;
  windowSpec_.fontHeight = def.fontHeight;
  window_ = app.CreateControl(*this, windowSpec_);
  for (const ControlSpec& c : def.controls) {
    auto made = app.CreateControl(*this, c);
    order_.push_back(made.get());
    controls_.emplace(c.name, std::move(made));
  }
}

Form::~Form() {
  // Children before their parents: a native parent may own its children.
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    controls_.find((*it)->Name())->second.reset();
  }
  window_.reset();
}

Control& Form::Find(std::string_view name) const {
  if (name == def_.name) return *window_;
  auto it = controls_.find(name);
  if (it == controls_.end()) throw Error("Component not found: " + std::string(name));
  return *it->second;
}

void Form::RequestClose() {
  if (closed_) return;
  CloseAction action = CloseAction::Free;
  if (OnClose) app_.Guard([&] { OnClose(*window_, action); });
  closed_ = true;
}

void Form::WireByName(const std::function<ClickHandler(std::string_view)>& click,
                      const std::function<KeyHandler(std::string_view)>& key) {
  for (Control* c : order_) {
    const ControlSpec& s = c->Def();
    if (!s.onClick.empty()) c->OnClick = click(s.onClick);
    if (!s.onTimer.empty()) dynamic_cast<Timer&>(*c).OnTimer = click(s.onTimer);
    if (!s.onKeyPress.empty()) dynamic_cast<Edit&>(*c).OnKeyPress = key(s.onKeyPress);
  }
}

}  // namespace tk
