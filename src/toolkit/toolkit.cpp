#include "toolkit/toolkit.h"

#include <algorithm>
#include <exception>

#include "core/text.h"

namespace tk {

// ---- Control ---------------------------------------------------------------

Control::~Control() {
  if (app_.focusOwner_ == this) app_.focusOwner_ = nullptr;
}

void Control::SetEnabled(bool enabled) {
  if (!enabled) {
    if (Enabled() && Focused()) {
      app_.ParkFocus(*this);
      app_.focusOwner_ = this;
    }
    NativeSetEnabled(false);
    return;
  }
  NativeSetEnabled(true);
  if (app_.focusOwner_ != this) return;
  app_.focusOwner_ = nullptr;
  if (app_.FocusParked(*this)) GiveFocus();
}

void Control::SetHint(std::string_view hint) {
  if (hint == hint_) return;
  hint_ = hint;
  HintChanged();
}

void Control::SetShowHint(bool show) {
  if (show == showHint_) return;
  showHint_ = show;
  ShowHintChanged();
}

void Control::RaiseClick() {
  if (OnClick) app_.Guard([this] { OnClick(*this); });
}

void Control::RunClick() {
  if (OnClick) OnClick(*this);
}

void CheckBox::SetChecked(bool checked) {
  if (NativeChecked() == checked) return;
  NativeSetChecked(checked);
  StateSet();
  RunClick();
}

void RadioButton::UserToggled() {
  NativeSetChecked(true);
  ClearOthers();
  RaiseClick();
}

void RadioButton::StateSet() {
  if (Checked()) ClearOthers();
}

void RadioButton::ClearOthers() {
  for (RadioButton* other : group_) {
    if (other != this && other->NativeChecked()) other->NativeSetChecked(false);
  }
}

char32_t Edit::FilterKey(char32_t key) {
  if (OnKeyPress) App().Guard([&] { OnKeyPress(*this, key); });
  return key;
}

bool Edit::EnterPressed() {
  if (enterButton_ == nullptr) return false;
  if (enterButton_->Enabled()) enterButton_->RaiseClick();
  return true;
}

void Edit::RaiseChange() {
  if (OnChange) App().Guard([this] { OnChange(*this); });
}

void Timer::RaiseTimer() {
  if (OnTimer) App().Guard([this] { OnTimer(*this); });
}

void Timer::NativeSetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  NativeRun(enabled);
}

// ---- ComboBox ----------------------------------------------------------------

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  selected_ = -1;
  NativeSetItems(items_);
}

void ComboBox::SetSelected(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == selected_) return;
  selected_ = index;
  NativeSetSelected(index);
  if (OnChange) OnChange(*this);
}

std::string ComboBox::Text() const {
  return selected_ < 0 ? std::string() : items_[static_cast<std::size_t>(selected_)];
}

void ComboBox::SetText(std::string_view text) {
  const auto it = std::find(items_.begin(), items_.end(), text);
  SetSelected(it == items_.end() ? -1 : static_cast<int>(it - items_.begin()));
}

void ComboBox::UserSelected(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size()) || index == selected_) return;
  selected_ = index;
  if (OnChange) App().Guard([this] { OnChange(*this); });
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
  core::FoldCaseInto(line, folded);
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
    throw Error("列表索引越界（" + std::to_string(index) + "）");
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
    if (keys[i] == key && (!verify || core::EqualsIgnoreCase(lines_[i], text))) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int ListControl::DeleteEqualLines(std::string_view text) {
  const int first = FindLine(text);
  if (first < 0) return 0;
  const std::uint64_t key = LineKey(text);
  const bool verify = (key & kLongLine) == kLongLine;
  auto kept = static_cast<std::size_t>(first);
  for (std::size_t i = kept + 1; i < keys_.size(); ++i) {
    if (keys_[i] == key && (!verify || core::EqualsIgnoreCase(lines_[i], text))) continue;
    lines_[kept] = std::move(lines_[i]);
    keys_[kept] = keys_[i];
    ++kept;
  }
  const auto gone = static_cast<int>(keys_.size() - kept);
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(kept), lines_.end());
  keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(kept), keys_.end());
  LinesChanged();
  return gone;
}

void ListControl::ReplaceLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  keys_.clear();
  keys_.reserve(lines_.size());
  for (const auto& l : lines_) keys_.push_back(LineKey(l));
  LinesChanged();
}

void ListControl::ContextMenuRequested(MenuReason reason) {
  if (!OnContextMenu) return;
  App().Guard([&] {
    const MenuItems items = OnContextMenu(*this);
    const int chosen = App().PopupMenu(*this, items, reason);
    if (chosen < 0 || chosen >= static_cast<int>(items.size())) return;
    const MenuItem& item = items[static_cast<std::size_t>(chosen)];
    if (item.enabled && !item.Separator() && item.action) item.action();
  });
}

bool ListControl::ShortcutPressed(std::string_view shortcut) {
  if (!OnContextMenu) return false;
  bool taken = false;
  App().Guard([&] {
    const MenuItems items = OnContextMenu(*this);
    for (const MenuItem& item : items) {
      if (item.Separator() || item.shortcut != shortcut) continue;
      taken = true;
      if (item.enabled && item.action) item.action();
      return;
    }
  });
  return taken;
}

char32_t Accelerator(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {  // "&&" is a plain ampersand
      ++i;
      continue;
    }
    const char32_t c = core::DecodeChar(text.substr(i + 1, core::CharLength(text, i + 1)));
    return (c >= U'a' && c <= U'z') ? c - 32 : c;
  }
  return 0;
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
  lines_ = core::SplitLines(text);
  keys_.clear();
  for (const auto& l : lines_) keys_.push_back(LineKey(l));
  LinesChanged();
}

int ListControl::LineFromChar(int offset) const {
  int start = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const int end = start + static_cast<int>(core::CharCount(lines_[i])) + 2;
    if (offset < end) return static_cast<int>(i);
    start = end;
  }
  return LineCount();
}

int ListControl::LineStart(int line) const {
  int start = 0;
  for (int i = 0; i < line && i < LineCount(); ++i) {
    start += static_cast<int>(core::CharCount(lines_[static_cast<std::size_t>(i)])) + 2;
  }
  return start;
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

int RoomRight(const FormSpec& form, const ControlSpec& label) {
  const Rect& r = label.rect;
  int room = 0;
  for (const ControlSpec& c : form.controls) {
    if (&c == &label || c.parent != label.parent || c.kind == Kind::Timer) continue;
    const Rect& o = c.rect;
    const bool sameRows = o.top < r.top + r.height && r.top < o.top + o.height;
    if (!sameRows || o.left <= r.left) continue;
    const int gap = o.left - r.left;
    if (room == 0 || gap < room) room = gap;
  }
  return room;
}

HttpResponse Platform::HttpFetch(const HttpRequest& request) {
  HttpResponse response;
  response.body = HttpGet(request);
  response.complete = !response.body.empty();
  response.status = response.complete ? 200 : 0;
  return response;
}

bool IsWebAddress(std::string_view url) {
  auto starts = [&](std::string_view scheme) {
    return url.size() > scheme.size() &&
           core::EqualsIgnoreCase(url.substr(0, scheme.size()), scheme);
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

bool Application::Ask(std::string_view question) {
  if (questionHook_) return questionHook_(question);
  return NativeQuestionBox(question);
}

int Application::PopupMenu(Control& owner, const MenuItems& items, MenuReason reason) {
  if (items.empty()) return -1;
  return NativePopupMenu(owner, items, reason);
}

void Application::OpenLink(std::string_view url) {
  if (!IsWebAddress(url)) return;
  if (linkHook_) {
    linkHook_(url);
  } else {
    NativeOpenLink(url);
  }
}

void Application::ShowModal(Form& dialog, Form& owner) {
  if (!dialog.Def().dialog) throw Error("窗口“" + std::string(dialog.Def().name) + "”不是对话框。");
  if (dialog.Closed()) throw Error("对话框“" + std::string(dialog.Def().name) + "”已关闭。");
  if (!modalHook_) {
    RunModal(dialog, owner);
    return;
  }
  // The hook that saw the dialog open sees it close, also when the loop
  // ends by an error.
  struct Closed {
    ModalHook hook;
    Form& dialog;
    ~Closed() { hook(dialog, false); }
  };
  const Closed closed{modalHook_, dialog};
  closed.hook(dialog, true);
  RunModal(dialog, owner);
}

void Application::CloseForm(Form& form) {
  form.RequestClose();
}

void Application::OpenWindow(Form& window, Form& owner, Size client) {
  const std::string name(window.Def().name);
  if (window.Def().dialog) throw Error("窗口“" + name + "”是对话框。");
  if (window.Closed()) throw Error("窗口“" + name + "”已关闭。");
  if (window.opened_) {
    NativeRaise(window);
    return;
  }
  if (client.width <= 0 || client.height <= 0) {
    client = {window.Def().clientWidth, window.Def().clientHeight};
  }
  window.opened_ = true;
  NativeOpenWindow(window, owner, client);
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
  for (Control* c : order_) {
    auto* edit = dynamic_cast<Edit*>(c);
    if (edit != nullptr && !c->Def().enterClicks.empty()) {
      edit->enterButton_ = &Find(c->Def().enterClicks);
    }
    auto* option = dynamic_cast<RadioButton*>(c);
    if (option == nullptr) continue;
    for (Control* other : order_) {
      auto* o = dynamic_cast<RadioButton*>(other);
      if (o != nullptr && o->Def().parent == option->Def().parent) option->group_.push_back(o);
    }
  }
}

bool Form::EnterPressed(Control* focused) {
  auto* edit = dynamic_cast<Edit*>(focused);
  if (edit != nullptr && std::find(order_.begin(), order_.end(), focused) != order_.end() &&
      edit->EnterPressed()) {
    return true;
  }
  Control* fallback = nullptr;
  for (Control* c : order_) {
    if (c->Def().isDefault) fallback = c;
  }
  if (fallback == nullptr) return false;
  const bool onButton = focused != nullptr && focused->Def().kind == Kind::Button &&
                        std::find(order_.begin(), order_.end(), focused) != order_.end();
  Control* button = onButton ? focused : fallback;
  if (button->Enabled()) button->RaiseClick();
  return true;
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
  if (it == controls_.end()) throw Error("找不到控件：" + std::string(name));
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
    if (!s.onChange.empty()) {
      if (auto* combo = dynamic_cast<ComboBox*>(c)) {
        combo->OnChange = click(s.onChange);
      } else {
        dynamic_cast<Edit&>(*c).OnChange = click(s.onChange);
      }
    }
  }
}

}  // namespace tk
