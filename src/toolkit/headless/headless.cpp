#include "toolkit/headless/headless.h"

#include <algorithm>
#include <cstdlib>

#include "core/text.h"
#include "toolkit/canvas.h"
#include "toolkit/placement.h"

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
  void NativeSetEnabled(bool enabled) override { enabled_ = enabled; }
  void GiveFocus() override { happ_.SetFocusedControl(this); }
  bool Focused() const override { return happ_.FocusedControl() == this; }

 protected:
  HeadlessApplication& happ_;
  std::string text_;

 private:
  bool enabled_ = true;
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

// The user's click selects the option; no native toggling.
class HeadlessRadio : public Widget<RadioButton> {
 public:
  using Widget::Widget;

 protected:
  bool NativeChecked() const override { return checked_; }
  void NativeSetChecked(bool checked) override { checked_ = checked; }

 private:
  bool checked_ = false;
};

class HeadlessCombo : public Widget<ComboBox> {
 public:
  using Widget::Widget;
  // The items are the text, not Widget's plain field.
  std::string Text() const override {
    return ComboBox::Text();  // NOLINT(bugprone-parent-virtual-call)
  }
  void SetText(std::string_view text) override {
    ComboBox::SetText(text);  // NOLINT(bugprone-parent-virtual-call)
  }

 protected:
  void NativeSetItems(const std::vector<std::string>& /*items*/) override {}
  void NativeSetSelected(int /*index*/) override {}
};

// Paints at once: its frame is computed with every sync. Pictures get the
// fills, lines and circles; no text (there are no fonts here).
class HeadlessCanvas : public Widget<Canvas> {
 public:
  using Widget::Widget;
  std::string Text() const override { return {}; }
  void SetText(std::string_view /*text*/) override {}
  void Sync() override { (void)Frame(); }

 protected:
  Pixels Render(const Drawing& ops, int width, int height) override {
    Pixels p;
    p.stride = static_cast<std::size_t>(width) * 3;
    p.bytes.assign(p.stride * static_cast<std::size_t>(height), 0xFF);
    auto put = [&](int x, int y, std::uint32_t c) {
      if (x < 0 || y < 0 || x >= width || y >= height) return;
      unsigned char* px =
          &p.bytes[static_cast<std::size_t>(y) * p.stride + static_cast<std::size_t>(x) * 3];
      px[0] = static_cast<unsigned char>(c >> 16);
      px[1] = static_cast<unsigned char>(c >> 8);
      px[2] = static_cast<unsigned char>(c);
    };
    for (const DrawOp& op : ops) {
      const Rect& r = op.rect;
      switch (op.type) {
        case DrawOp::Type::kFill:
          for (int y = std::max(r.top, 0); y < std::min(r.top + r.height, height); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.left + r.width, width); ++x)
              put(x, y, op.colour);
          break;
        case DrawOp::Type::kLine: {
          // Enough steps to touch every pixel on the way.
          const int steps = std::max({std::abs(op.x2 - op.x1), std::abs(op.y2 - op.y1), 1});
          for (int i = 0; i <= steps; ++i) {
            put(op.x1 + (op.x2 - op.x1) * i / steps, op.y1 + (op.y2 - op.y1) * i / steps,
                op.colour);
          }
          break;
        }
        case DrawOp::Type::kCircle: {
          // Pixel centres inside the circle inscribed in the rectangle.
          const int d = std::min(r.width, r.height);
          for (int y = r.top; y < r.top + d; ++y)
            for (int x = r.left; x < r.left + d; ++x) {
              const int dx = 2 * (x - r.left) + 1 - d;
              const int dy = 2 * (y - r.top) + 1 - d;
              if (dx * dx + dy * dy <= d * d) put(x, y, op.colour);
            }
          break;
        }
        case DrawOp::Type::kText:
          break;
      }
    }
    return p;
  }
};

class HeadlessTimer : public Timer {
 public:
  using Timer::Timer;

 protected:
  void NativeRun(bool /*running*/) override {}
};

}  // namespace

// Caret and selection in characters.
class HeadlessEdit : public Widget<Edit> {
 public:
  using Widget::Widget;

  void SetText(std::string_view text) override {
    const bool changed = text != text_;
    text_ = text;
    start_ = 0;  // as a native edit does after its text is set
    length_ = 0;
    if (changed) RaiseChange();
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
      Insert(core::EncodeChar(ch), 1);
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
      Replace(text.substr(0, core::ByteOffsetOfChar(text, static_cast<std::size_t>(take))));
    }
  }

 private:
  int Count() const { return static_cast<int>(core::CharCount(text_)); }

  void Replace(const std::string& with) {
    const std::size_t b = core::ByteOffsetOfChar(text_, static_cast<std::size_t>(start_));
    const std::size_t e = core::ByteOffsetOfChar(
        text_, static_cast<std::size_t>(start_) + static_cast<std::size_t>(length_));
    const bool changed = e > b || !with.empty();
    text_.replace(b, e - b, with);
    start_ += static_cast<int>(core::CharCount(with));
    length_ = 0;
    if (changed) RaiseChange();
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
  void SetCaretOffset(int offset) override {
    start_ = std::clamp(offset, 0, End());
    length_ = 0;
  }
  void Select(int start, int length) {
    SetCaretOffset(start);
    length_ = std::clamp(length, 0, End() - start_);
  }
  int SelectionLength() const override {
    return std::max(0, std::min(start_ + length_, End()) - CaretOffset());
  }
  void SelectAll() override { Select(0, End()); }
  void CopySelection() override {
    const std::string text = Text();
    const std::size_t b = core::ByteOffsetOfChar(text, static_cast<std::size_t>(CaretOffset()));
    const std::size_t e =
        core::ByteOffsetOfChar(text, static_cast<std::size_t>(CaretOffset()) +
                                         static_cast<std::size_t>(SelectionLength()));
    if (e > b) happ_.clipboard = text.substr(b, e - b);
  }

 protected:
  // A native edit keeps its selection's offsets when its text is replaced.
  void LinesChanged() override {}

 private:
  int End() const { return LineStart(LineCount()); }
  int start_ = 0;
  int length_ = 0;
};

// ---- platform / application -------------------------------------------------------

std::string HeadlessPlatform::HttpGet(const HttpRequest& request) {
  requests_.push_back(request);
  if (!fetch_) return {};
  return fetch_(request);
}

HttpResponse HeadlessPlatform::HttpFetch(const HttpRequest& request) {
  if (!answer_) return Platform::HttpFetch(request);
  requests_.push_back(request);
  return answer_(request);
}

void HeadlessApplication::PumpMessages() {
  ++pumps_;
  RunCompletions();
  actions_.RunBatch(Runner());
}

Rect HeadlessApplication::Placement(const Form& form) const {
  const auto it = placements_.find(&form);
  if (it != placements_.end()) return it->second;
  const FormSpec& f = form.Def();
  return {f.left, f.top, static_cast<int>(f.clientWidth * scale + 0.5) + frame.width,
          static_cast<int>(f.clientHeight * scale + 0.5) + frame.height};
}

Size HeadlessApplication::ClientSize(const Form& form) const {
  const Rect r = Placement(form);
  return {static_cast<int>((r.width - frame.width) / scale + 0.5),
          static_cast<int>((r.height - frame.height) / scale + 0.5)};
}

void HeadlessApplication::Place(Form& form, Rect outer) {
  placements_[&form] = outer;
  const std::vector<Rect> at = PlaceControls(form.Def(), ClientSize(form));
  for (std::size_t i = 0; i < at.size(); ++i) {
    if (auto* canvas = dynamic_cast<Canvas*>(form.Controls()[i])) {
      canvas->ViewportChanged({at[i].width, at[i].height});
    }
  }
}

void HeadlessApplication::Resize(Form& form, Size client) {
  const Rect r = Placement(form);
  const Size least = form.Def().minimum;
  client.width = std::max(client.width, least.width);
  client.height = std::max(client.height, least.height);
  Place(form, {r.left, r.top, static_cast<int>(client.width * scale + 0.5) + frame.width,
               static_cast<int>(client.height * scale + 0.5) + frame.height});
}

void HeadlessApplication::FocusFirstTabStop(Form& form) {
  for (Control* c : form.Controls()) {
    if (c->Def().tabOrder >= 0 && TakesFocus(c->GetKind())) {
      focus_ = c;
      return;
    }
  }
}

void HeadlessApplication::NativeOpenWindow(Form& window, Form& owner, Size client) {
  const FormSpec& f = window.Def();
  const Size least = f.minimum.width > 0 ? f.minimum : Size{f.clientWidth, f.clientHeight};
  Place(window, FitWindow(client, least, scale, frame, Placement(owner), workArea));
  front_ = &window;
  FocusFirstTabStop(window);
}

void HeadlessApplication::RunModal(Form& dialog, Form& owner) {
  Control* const focus = focus_;
  Form* const front = front_;
  const Size designed{dialog.Def().clientWidth, dialog.Def().clientHeight};
  Place(dialog, FitWindow(designed, designed, scale, frame, Placement(owner), workArea));
  front_ = &dialog;
  FocusFirstTabStop(dialog);
  while (!dialog.Closed()) {
    if (!actions_.RunNext(Runner())) {
      dialog.RequestClose();
      throw Error("The dialog " + std::string(dialog.Def().name) +
                  " is open and no input is queued for it.");
    }
  }
  focus_ = focus;
  front_ = front;
}

void HeadlessApplication::Run(Form& form) {
  while (!form.Closed() && actions_.HasPosted()) PumpMessages();
}

ActionQueue::Runner HeadlessApplication::Runner() {
  return [this](const ActionQueue::Action& action) { Guard(action); };
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
    case Kind::Radio:
      return std::make_unique<HeadlessRadio>(*this, def);
    case Kind::ComboBox:
      return std::make_unique<HeadlessCombo>(*this, def);
    case Kind::Canvas:
      return std::make_unique<HeadlessCanvas>(*this, def);
    default:
      return std::make_unique<HeadlessControl>(*this, def);
  }
}

std::thread HeadlessApplication::StartWork(std::function<void()> job) {
  held_.push_back(std::move(job));
  return {};
}

std::size_t HeadlessApplication::ReleaseWork() {
  std::vector<std::function<void()>> now;
  now.swap(held_);
  // Abandoned work runs too, but its job stops before the work and reports
  // to no one.
  for (auto& job : now) job();
  RunCompletions();
  return now.size();
}

void HeadlessApplication::NativeMessageBox(std::string_view text, bool /*error*/) {
  boxes_.emplace_back(text);
}

bool HeadlessApplication::NativeQuestionBox(std::string_view text) {
  boxes_.emplace_back(text);
  return false;
}

void HeadlessApplication::NativeOpenLink(std::string_view /*url*/) {
  // No browser here; tests attach a recorder.
}

int HeadlessApplication::NativePopupMenu(Control& /*owner*/, const MenuItems& items,
                                         MenuReason /*reason*/) {
  if (!menuUser) return -1;
  const int chosen = menuUser(items);
  if (chosen < 0 || chosen >= static_cast<int>(items.size())) return -1;
  const MenuItem& item = items[static_cast<std::size_t>(chosen)];
  return item.enabled && !item.Separator() ? chosen : -1;
}

// ---- driver ---------------------------------------------------------------------

void HeadlessDriver::Click(Control& control) {
  if (!control.Enabled()) return;
  if (control.GetKind() != Kind::Label) control.GiveFocus();
  if (auto* box = dynamic_cast<HeadlessCheckBox*>(&control)) {
    box->UserClick();
    return;
  }
  if (auto* option = dynamic_cast<RadioButton*>(&control)) {
    option->UserToggled();
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

void HeadlessDriver::PressEnter(Form& form, Control& control) {
  if (!control.Enabled()) return;
  control.GiveFocus();
  form.EnterPressed(&control);
}

void HeadlessDriver::Paste(Control& control, std::string_view text) {
  auto& edit = dynamic_cast<HeadlessEdit&>(control);
  edit.Insert(std::string(text), static_cast<int>(core::CharCount(text)));
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

void HeadlessDriver::Choose(Control& combo, int index) {
  if (!combo.Enabled()) return;
  combo.GiveFocus();
  dynamic_cast<ComboBox&>(combo).UserSelected(index);
}

void HeadlessDriver::ClickAt(Control& control, int x, int y) {
  if (!control.Enabled()) return;
  control.GiveFocus();
  if (auto* canvas = dynamic_cast<Canvas*>(&control)) {
    canvas->UserClickedAt(x, y);
  } else {
    control.RaiseClick();
  }
}

void HeadlessDriver::CloseWindow(Form& form) {
  form.RequestClose();
  if (app_.Front() == &form) app_.SetFront(nullptr);
}

std::string HeadlessDriver::ShownListText(Control& list) {
  std::string out;
  for (const auto& line : dynamic_cast<ListControl&>(list).Lines()) out += line + "\n";
  return out;
}

}  // namespace tk::headless

namespace tk::headless {

std::vector<UserDriver::ShownItem> HeadlessDriver::UseContextMenu(Control& control, MenuKey how,
                                                                  char32_t letter) {
  auto& list = dynamic_cast<ListControl&>(control);
  if (!list.Enabled()) return {};
  // The keys go to the control that has the focus: the user tabs to it.
  if (how != MenuKey::RightClick) list.GiveFocus();
  std::vector<ShownItem> shown;
  app_.menuUser = [&](const MenuItems& items) {
    int chosen = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const MenuItem& it = items[i];
      shown.push_back({it.text, it.shortcut, it.enabled && !it.Separator()});
      if (chosen < 0 && letter != 0 && it.enabled && Accelerator(it.text) == letter) {
        chosen = static_cast<int>(i);
      }
    }
    return chosen;
  };
  list.ContextMenuRequested(how == MenuKey::RightClick ? MenuReason::Mouse : MenuReason::Keyboard);
  app_.menuUser = nullptr;
  return shown;
}

}  // namespace tk::headless
