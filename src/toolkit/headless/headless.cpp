#include "toolkit/headless/headless.h"

#include <algorithm>

#include "toolkit/text.h"

namespace tk::headless {

namespace {

// State every headless control shares.
template <class Base>
class Widget : public Base {
 public:
  Widget(HeadlessApplication& app, const ControlSpec& def)
      : Base(app, def), happ_(app), text_(def.text) {}
  ~Widget() override {
    if (happ_.FocusedControl() == this) happ_.SetFocusedControl(nullptr);
  }

  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override { text_ = text; }
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  void GiveFocus() override { happ_.SetFocusedControl(this); }
  bool Focused() const override { return happ_.FocusedControl() == this; }
  std::string Hint() const override { return hint_; }
  void SetHint(std::string_view hint) override { hint_ = hint; }

 protected:
  HeadlessApplication& happ_;
  std::string text_;

 private:
  bool enabled_ = true;
  std::string hint_;
};

class HeadlessControl : public Widget<Control> {
 public:
  using Widget::Widget;
};

class HeadlessCheckBox : public Widget<CheckBox> {
 public:
  using Widget::Widget;

  // The user's click toggles natively first, then the click event runs.
  void UserClick() {
    checked_ = !checked_;
    UserToggled();
  }

 protected:
  bool NativeChecked() const override { return checked_; }
  void NativeSetChecked(bool checked) override { checked_ = checked; }

 private:
  bool checked_ = false;
};

class HeadlessTimer : public Widget<Timer> {
 public:
  using Widget::Widget;
};

}  // namespace

// Caret and selection in characters.
class HeadlessEdit : public Widget<Edit> {
 public:
  using Widget::Widget;

  void SetText(std::string_view text) override {
    text_ = text;
    start_ = 0;  // as a native edit does after its text is set
    length_ = 0;
  }
  int CaretOffset() const override { return start_; }
  void SetCaretOffset(int offset) override {
    start_ = std::clamp(offset, 0, Count());
    length_ = 0;
  }
  void Select(int start, int length) {
    start_ = std::clamp(start, 0, Count());
    length_ = std::clamp(length, 0, Count() - start_);
  }

  // The edit's own effect of a character that its key handler let through.
  void Act(char32_t ch) {
    if (ch == kBackspace) {
      if (length_ == 0 && start_ > 0) Select(start_ - 1, 1);
      Replace("");
    } else if (ch >= 32) {
      Insert(EncodeChar(ch), 1);
    }
  }

  // The selection goes whatever is inserted, even nothing; of the text, what
  // fits the length limit goes in.
  void Insert(const std::string& text, int chars) {
    const int room = MaxLength() > 0 ? MaxLength() - (Count() - length_) : chars;
    const int take = std::clamp(room, 0, chars);
    if (take == chars) {
      Replace(text);
    } else {
      Replace(text.substr(0, ByteOffsetOfChar(text, static_cast<std::size_t>(take))));
    }
  }

 private:
  int Count() const { return static_cast<int>(CharCount(text_)); }

  void Replace(const std::string& with) {
    const std::size_t b = ByteOffsetOfChar(text_, static_cast<std::size_t>(start_));
    const std::size_t e = ByteOffsetOfChar(
        text_, static_cast<std::size_t>(start_) + static_cast<std::size_t>(length_));
    text_.replace(b, e - b, with);
    start_ += static_cast<int>(CharCount(with));
    length_ = 0;
  }

  int start_ = 0;
  int length_ = 0;
};

class HeadlessList : public Widget<ListControl> {
 public:
  using Widget::Widget;

  // The lines are the text, not Widget's plain field.
  std::string Text() const override {
    return ListControl::Text();  // NOLINT(bugprone-parent-virtual-call)
  }
  void SetText(std::string_view text) override {
    ListControl::SetText(text);  // NOLINT(bugprone-parent-virtual-call)
  }
  // Lines may have gone since the caret was placed: it stays within the text.
  int CaretOffset() const override { return std::min(start_, End()); }
  void SetCaretOffset(int offset) override { start_ = std::clamp(offset, 0, End()); }
  void Select(int start, int /*length*/) { SetCaretOffset(start); }

 protected:
  void LinesChanged() override {}

 private:
  int End() const { return LineStart(LineCount()); }
  int start_ = 0;
};

// ---- platform / application -------------------------------------------------------

std::string HeadlessPlatform::HttpGet(const HttpRequest& request) {
  requests_.push_back(request);
  if (!fetch_) return {};
  return fetch_(request);
}

void HeadlessApplication::PumpMessages() {
  ++pumps_;
  if (queue_.empty()) return;  // the common case in a long run: no allocation
  // Messages that arrive while these run wait for the next pump.
  std::deque<std::function<void()>> now;
  now.swap(queue_);
  for (auto& action : now) Guard(action);
}

void HeadlessApplication::Run(Form& form) {
  while (!form.Closed() && !queue_.empty()) PumpMessages();
}

std::unique_ptr<Control> HeadlessApplication::CreateControl(Form& /*form*/,
                                                            const ControlSpec& def) {
  switch (def.kind) {
    case Kind::CheckBox:
      return std::make_unique<HeadlessCheckBox>(*this, def);
    case Kind::Edit:
      return std::make_unique<HeadlessEdit>(*this, def);
    case Kind::List:
      return std::make_unique<HeadlessList>(*this, def);
    case Kind::Timer:
      return std::make_unique<HeadlessTimer>(*this, def);
    default:
      return std::make_unique<HeadlessControl>(*this, def);
  }
}

void HeadlessApplication::NativeMessageBox(std::string_view text, bool /*error*/) {
  boxes_.emplace_back(text);
}

void HeadlessApplication::NativeOpenLink(std::string_view /*url*/) {
  // No browser here; tests attach a recorder.
}

// ---- driver ---------------------------------------------------------------------

void HeadlessDriver::Click(Control& control) {
  if (!control.Enabled()) return;
  if (control.GetKind() != Kind::Label) control.GiveFocus();
  if (auto* box = dynamic_cast<HeadlessCheckBox*>(&control)) {
    box->UserClick();
    return;
  }
  control.RaiseClick();
}

void HeadlessDriver::TypeChar(Control& control, char32_t ch) {
  auto& edit = dynamic_cast<HeadlessEdit&>(control);
  if (!edit.Enabled()) return;
  const char32_t acted = edit.FilterKey(ch);
  if (acted != 0) edit.Act(acted);
}

void HeadlessDriver::Paste(Control& control, std::string_view text) {
  auto& edit = dynamic_cast<HeadlessEdit&>(control);
  edit.Insert(std::string(text), static_cast<int>(CharCount(text)));
}

void HeadlessDriver::Select(Control& control, int start, int length) {
  if (auto* edit = dynamic_cast<HeadlessEdit*>(&control)) {
    edit->Select(start, length);
  } else {
    dynamic_cast<HeadlessList&>(control).Select(start, length);
  }
}

void HeadlessDriver::FireTimer(Control& timer) {
  if (timer.Enabled()) dynamic_cast<Timer&>(timer).RaiseTimer();
}

void HeadlessDriver::CloseWindow(Form& form) {
  form.RequestClose();
}

std::string HeadlessDriver::ShownListText(Control& list) {
  std::string out;
  for (const auto& line : dynamic_cast<ListControl&>(list).Lines()) out += line + "\n";
  return out;
}

}  // namespace tk::headless
