#include "toolkit/qt/qt_backend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <memory>

#include "core/text.h"
#include "toolkit/placement.h"
#include "toolkit/qt/qt_canvas.h"
#include "toolkit/qt/qt_control.h"
#include "toolkit/qt/qt_menu.h"

namespace tk::qt {

namespace {

// A control that holds others.
class Container {
 public:
  virtual ~Container() = default;
  virtual QWidget* Host() const = 0;

  // Tab orders from the window down to this container.
  std::vector<int> tabPath;
};

// Widgets that tell their control about size changes.
template <class W>
class Resizing : public W {
 public:
  using W::W;
  std::function<void()> onResize;

 protected:
  void resizeEvent(QResizeEvent* e) override {
    W::resizeEvent(e);
    if (onResize) onResize();
  }
};

class FormWidget : public Resizing<QWidget> {
 public:
  std::function<void()> onClose;
  std::function<void()> onShow;

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (onClose) onClose();
    e->accept();
  }
  void showEvent(QShowEvent* e) override {
    if (onShow) onShow();
    QWidget::showEvent(e);
  }
};

class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;

 protected:
  // One line from the left edge, placed so that nothing of it is cut off.
  void paintEvent(QPaintEvent* /*e*/) override {
    QPainter p(this);
    const TextPlacement at = PlaceText(font(), height(), devicePixelRatioF(), text());
    QFont plain = at.font;
    plain.setUnderline(false);
    p.setFont(plain);
    const QColor ink = palette().color(foregroundRole());
    p.setPen(ink);
    // A text wider than the label (a long count before its button) is drawn
    // narrower to fit.
    const int advance = QFontMetrics(plain).horizontalAdvance(text());
    if (advance > width() && width() > 0) p.scale(static_cast<qreal>(width()) / advance, 1);
    p.drawText(QPointF(0, at.baseline), text());
    if (font().underline() && !text().isEmpty()) {
      p.fillRect(QRectF(0, at.underline, advance, at.underlineWidth), ink);
    }
  }

  // A click is a press and a release of the left button over the label.
  void mousePressEvent(QMouseEvent* e) override {
    pressed_ = e->button() == Qt::LeftButton;
    e->accept();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    const bool click =
        pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    pressed_ = false;
    e->accept();
    if (click && onClick) onClick();
  }

 private:
  bool pressed_ = false;
};

class QtForm : public QtControl<Control, FormWidget>, public Container {
 public:
  QtForm(QtApplication& app, Form& form, const ControlSpec& def)
      : QtControl(app, def, new FormWidget), form_(form) {
    FormWidget* w = Get();
    w->setObjectName(Q(def.name));
    w->setWindowTitle(Q(def.text));
    w->setFont(MakeFont(def.fontHeight, false));
    QPalette p = w->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    w->setPalette(p);
    w->setAutoFillBackground(true);
    w->resize(def.rect.width, def.rect.height);
    w->move(def.rect.left, def.rect.top);
    w->onResize = [this] { Arrange(); };
    placed_.resize(form.Def().controls.size());
    w->onClose = [this] {
      form_.RequestClose();
      qapp_.WindowClosed();
    };
    w->onShow = [this] {
      ApplyTabOrder();
      // A dialog is placed on its owner each time it opens, a window of
      // its own when it opens.
      if (!onScreen_ && !form_.Def().dialog && !form_.Opened()) PlaceOnScreen();
    };
  }

  std::string Text() const override { return S(Get()->windowTitle()); }
  void SetText(std::string_view text) override { Get()->setWindowTitle(Q(text)); }
  QWidget* Host() const override { return Get(); }

  // The widget of the table's row `index`, placed from now on.
  void Adopt(std::size_t index, QWidget* w) { placed_[index] = w; }
  void AddTabStop(std::vector<int> path, QWidget* w) { tabStops_.push_back({std::move(path), w}); }

 private:
  // Tab visits containers in their tab order and, inside each, its
  // controls in theirs.
  void ApplyTabOrder() {
    std::stable_sort(tabStops_.begin(), tabStops_.end(),
                     [](const TabStop& a, const TabStop& b) { return a.path < b.path; });
    QWidget* previous = nullptr;
    for (const TabStop& s : tabStops_) {
      if (!s.widget) continue;
      if (previous != nullptr) QWidget::setTabOrder(previous, s.widget);
      previous = s.widget;
    }
  }

  // At the first show the native window and its frame exist: the window
  // goes to its table's place, moved up and left just enough to lie wholly
  // on the work area (a small or highly scaled screen). Qt's coordinates are
  // device-independent, like the table's.
  void PlaceOnScreen() {
    onScreen_ = true;
    FormWidget* w = Get();
    const QPoint want(Def().rect.left, Def().rect.top);
    QScreen* screen = QGuiApplication::screenAt(want);
    if (screen == nullptr) screen = w->screen();
    if (screen == nullptr) return;
    const QMargins m =
        w->windowHandle() != nullptr ? w->windowHandle()->frameMargins() : QMargins();
    const QRect area = screen->availableGeometry();
    const Rect fit = FitOnScreen(
        {want.x(), want.y(), w->width() + m.left() + m.right(), w->height() + m.top() + m.bottom()},
        {area.x(), area.y(), area.width(), area.height()});
    w->move(fit.left, fit.top);
  }

  struct TabStop {
    std::vector<int> path;
    QPointer<QWidget> widget;
  };
  // Every control where the table puts it for the window's size now.
  void Arrange() {
    const QSize now = Get()->size();
    const std::vector<Rect> at =
        PlaceControls(form_.Def(), {now.width(), now.height()},
                      [this](std::size_t i) { return placed_[i] ? placed_[i]->width() : 0; });
    for (std::size_t i = 0; i < at.size(); ++i) {
      if (placed_[i]) placed_[i]->setGeometry(at[i].left, at[i].top, at[i].width, at[i].height);
    }
  }

  Form& form_;
  std::vector<TabStop> tabStops_;
  std::vector<QPointer<QWidget>> placed_;
  bool onScreen_ = false;
};

class QtPanel : public QtControl<Control, QFrame>, public Container {
 public:
  QtPanel(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QFrame(parent)), text_(def.text) {
    Get()->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Get()->setLineWidth(FrameInset(Kind::Panel));
  }
  // A panel shows no caption.
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override { text_ = text; }
  QWidget* Host() const override { return Get(); }

 private:
  std::string text_;
};

class QtGroupBox : public QtControl<Control, QGroupBox>, public Container {
 public:
  QtGroupBox(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QGroupBox(Q(def.text), parent)) {}
  std::string Text() const override { return S(Get()->title()); }
  void SetText(std::string_view text) override { Get()->setTitle(Q(text)); }
  QWidget* Host() const override { return Get(); }
};

// A label's text reaches the widget once per frame: a count shown 1,000
// times in a loop lays the label out once.
class QtLabel : public QtControl<Control, ClickLabel>, public View {
 public:
  QtLabel(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new ClickLabel(parent)), text_(def.text) {
    Get()->setTextFormat(Qt::PlainText);
    Get()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Get()->onClick = [this] {
      RaiseClick();
      qapp_.EventHandled();
    };
  }
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override {
    if (text == text_) return;
    text_ = text;
    qapp_.Views().MarkDirty(*this);
  }
  // How wide it may grow (RoomRight); 0: as wide as its text.
  void SetRoom(int room) { room_ = room; }
  void Sync() override {
    ClickLabel* w = Get();
    ShowHint();
    w->setText(Q(text_));
    if (Def().autoSize) {
      // An empty caption measures as a blank, so the label never vanishes.
      int width = text_.empty() ? w->fontMetrics().horizontalAdvance(QLatin1Char(' '))
                                : w->sizeHint().width();
      if (room_ > 0) width = std::min(width, room_);
      w->resize(width, Def().rect.height);
    }
  }

 protected:
  // The hint, too, reaches the tooltip once per frame.
  void HintChanged() override { qapp_.Views().MarkDirty(*this); }
  void ShowHintChanged() override { ShowHint(); }

 private:
  std::string text_;
  int room_ = 0;
};

class QtButton : public QtControl<Control, QPushButton> {
 public:
  QtButton(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QPushButton(Q(def.text), parent)) {
    Get()->setAutoDefault(false);
    Get()->setDefault(def.isDefault);
    QObject::connect(Get(), &QPushButton::clicked, [this] {
      RaiseClick();
      qapp_.EventHandled();
    });
  }
  std::string Text() const override { return S(Get()->text()); }
  void SetText(std::string_view text) override { Get()->setText(Q(text)); }
};

class QtCheckBox : public QtControl<CheckBox, QCheckBox> {
 public:
  QtCheckBox(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QCheckBox(Q(def.text), parent)) {
    // `clicked` comes from the user only; setChecked raises nothing.
    QObject::connect(Get(), &QCheckBox::clicked, [this] {
      UserToggled();
      qapp_.EventHandled();
    });
  }
  std::string Text() const override { return S(Get()->text()); }
  void SetText(std::string_view text) override { Get()->setText(Q(text)); }

 protected:
  bool NativeChecked() const override { return Get()->isChecked(); }
  void NativeSetChecked(bool checked) override { Get()->setChecked(checked); }
};

// One option of a group: auto-exclusive among its siblings. Tab reaches only
// the selected option of a group, as Windows dialogs have it; arrows move
// within the group.
class QtRadio : public QtControl<RadioButton, QRadioButton> {
 public:
  QtRadio(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QRadioButton(Q(def.text), parent)) {
    Get()->setFocusPolicy(Qt::ClickFocus);
    QObject::connect(Get(), &QRadioButton::clicked, [this] {
      UserToggled();
      qapp_.EventHandled();
    });
  }
  std::string Text() const override { return S(Get()->text()); }
  void SetText(std::string_view text) override { Get()->setText(Q(text)); }

 protected:
  bool NativeChecked() const override { return Get()->isChecked(); }
  void NativeSetChecked(bool checked) override {
    QRadioButton* w = Get();
    // An exclusive group refuses to clear its selected option.
    w->setAutoExclusive(checked);
    w->setChecked(checked);
    w->setAutoExclusive(true);
    // Qt has cleared the others natively already.
    for (RadioButton* option : Group()) {
      auto* other = static_cast<QtRadio*>(option);
      other->Get()->setFocusPolicy(other->Get()->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
  }
};

class QtTimer : public Timer {
 public:
  QtTimer(QtApplication& app, const ControlSpec& def)
      : Timer(app, def), manual_(app.ManualTimers()) {
    timer_.setInterval(def.interval);
    QObject::connect(&timer_, &QTimer::timeout, [this, &app] {
      RaiseTimer();
      app.EventHandled();
    });
    NativeRun(true);
  }
  QTimer* Native() { return &timer_; }

 protected:
  void NativeRun(bool running) override {
    if (running && !manual_) {
      timer_.start();
    } else {
      timer_.stop();
    }
  }

 private:
  QTimer timer_;
  bool manual_;
};

}  // namespace

QStringList FontFamilies() {
  return {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Zen Hei"),
          QStringLiteral("Noto Sans CJK SC")};
}

int Utf16Index(const QString& text, int codePoints) {
  int i = 0;
  for (int n = 0; i < text.size() && n < codePoints; ++n) {
    i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
  }
  return i;
}

int CodePointCount(const QString& text, int utf16Units) {
  const int end = std::clamp(utf16Units, 0, static_cast<int>(text.size()));
  int n = 0;
  for (int i = 0; i < end; ++n) {
    i += (text[i].isHighSurrogate() && i + 1 < end && text[i + 1].isLowSurrogate()) ? 2 : 1;
  }
  return n;
}

QWidget* WidgetOf(const Control& control) {
  const auto* native = dynamic_cast<const Native*>(&control);
  return native != nullptr ? native->Widget() : nullptr;
}

QTimer* TimerOf(const Control& control) {
  auto* timer = dynamic_cast<QtTimer*>(const_cast<Control*>(&control));
  return timer != nullptr ? timer->Native() : nullptr;
}

// ---- application ------------------------------------------------------------

QtApplication::QtApplication(Platform& platform) : Application(platform) {
  if (QApplication::instance() == nullptr) throw Error("QApplication must exist first");
  // Whatever a handler changed is shown before the loop waits again.
  aboutToBlock_ =
      QObject::connect(QAbstractEventDispatcher::instance(),
                       &QAbstractEventDispatcher::aboutToBlock, [this] { FlushViews(); });
}

QtApplication::~QtApplication() {
  QObject::disconnect(aboutToBlock_);
}

void QtApplication::PumpMessages() {
  struct Depth {
    int& d;
    explicit Depth(int& depth) : d(depth) { ++d; }
    ~Depth() { --d; }
  } depth(pumpDepth_);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  Views().FlushIfDue();
}

void QtApplication::Run(Form& form) {
  QWidget* window = WidgetOf(form.Window());
  FlushViews();
  window->show();
  if (form.Closed()) return;
  QEventLoop loop;
  loop_ = &loop;
  runForm_ = &form;
  loop.exec();
  loop_ = nullptr;
  runForm_ = nullptr;
}

void QtApplication::WindowClosed() {
  for (const ModalLoop& m : modal_) {
    if (m.form->Closed()) m.loop->quit();
  }
  if (loop_ != nullptr && runForm_ != nullptr && runForm_->Closed()) loop_->quit();
}

void QtApplication::CloseForm(Form& form) {
  if (QWidget* w = WidgetOf(form.Window()); w != nullptr && w->isVisible()) {
    w->close();  // the close event asks the form
  } else {
    form.RequestClose();
  }
}

std::unique_ptr<Control> QtApplication::CreateControl(Form& form, const ControlSpec& def) {
  if (def.kind == Kind::Form) return std::make_unique<QtForm>(*this, form, def);
  if (def.kind == Kind::Timer) return std::make_unique<QtTimer>(*this, def);

  Control& owner = def.parent.empty() ? form.Window() : form.Find(def.parent);
  auto* parent = dynamic_cast<Container*>(&owner);
  if (parent == nullptr) throw Error("Cannot hold controls: " + std::string(owner.Name()));
  QWidget* host = parent->Host();

  std::unique_ptr<Control> made;
  const bool tabStop = TakesFocus(def.kind);
  switch (def.kind) {
    case Kind::Panel:
    case Kind::GroupBox: {
      Container* inner = nullptr;
      if (def.kind == Kind::Panel) {
        auto panel = std::make_unique<QtPanel>(*this, def, host);
        inner = panel.get();
        made = std::move(panel);
      } else {
        auto group = std::make_unique<QtGroupBox>(*this, def, host);
        inner = group.get();
        made = std::move(group);
      }
      inner->tabPath = parent->tabPath;
      inner->tabPath.push_back(def.tabOrder);
      break;
    }
    case Kind::Label: {
      auto label = std::make_unique<QtLabel>(*this, def, host);
      if (def.autoSize) label->SetRoom(RoomRight(form.Def(), def));
      made = std::move(label);
      break;
    }
    case Kind::Button:
      made = std::make_unique<QtButton>(*this, def, host);
      break;
    case Kind::CheckBox:
      made = std::make_unique<QtCheckBox>(*this, def, host);
      break;
    case Kind::Radio:
      made = std::make_unique<QtRadio>(*this, def, host);
      break;
    case Kind::Edit:
      made = MakeEdit(*this, def, host);
      break;
    case Kind::List:
      made = MakeList(*this, def, host);
      break;
    case Kind::ComboBox:
      made = MakeCombo(*this, def, host);
      break;
    case Kind::Canvas:
      made = MakeCanvas(*this, def, host);
      break;
    default:
      throw Error("Unknown control kind: " + std::string(def.name));
  }

  QWidget* w = WidgetOf(*made);
  w->setObjectName(Q(def.name));
  if (def.kind != Kind::Label || !def.autoSize) {
    w->setGeometry(def.rect.left, def.rect.top, def.rect.width, def.rect.height);
  } else {
    w->move(def.rect.left, def.rect.top);
  }
  if (def.fontHeight != 0 || def.underline || def.kind == Kind::Label) {
    const int height = def.fontHeight != 0 ? def.fontHeight : form.WindowSpec().fontHeight;
    w->setFont(MakeFont(height, def.underline,
                        def.kind == Kind::Label ? LabelFontFamilies() : FontFamilies()));
  }
  if (def.color != kDefaultColor) {
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
      p.setColor(group, QPalette::WindowText, ColorOf(def.color));
      p.setColor(group, QPalette::ButtonText, ColorOf(def.color));
    }
    w->setPalette(p);
  }
  if (def.handCursor) w->setCursor(Qt::PointingHandCursor);
  if (tabStop) {
    std::vector<int> path = parent->tabPath;
    path.push_back(def.tabOrder);
    dynamic_cast<QtForm&>(form.Window()).AddTabStop(std::move(path), w);
  } else {
    w->setFocusPolicy(Qt::NoFocus);
  }
  dynamic_cast<QtForm&>(form.Window())
      .Adopt(static_cast<std::size_t>(&def - form.Def().controls.data()), w);
  // A label measures its first caption in its own font.
  if (auto* view = dynamic_cast<View*>(made.get())) view->Sync();
  return made;
}

void QtApplication::NativeMessageBox(std::string_view text, bool error) {
  // The window behind the box shows what the handler has done so far.
  FlushViews();
  QMessageBox box(error ? QMessageBox::Critical : QMessageBox::NoIcon, Q(Title()), Q(text),
                  QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
}

bool QtApplication::NativeQuestionBox(std::string_view text) {
  FlushViews();
  QMessageBox box(QMessageBox::Question, Q(Title()), Q(text), QMessageBox::Yes | QMessageBox::No);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void QtApplication::ParkFocus(Control& from) {
  if (QWidget* w = WidgetOf(from)) w->window()->setFocus(Qt::OtherFocusReason);
}

bool QtApplication::FocusParked(const Control& from) const {
  QWidget* w = WidgetOf(from);
  if (w == nullptr) return false;
  const QWidget* now = w->window()->focusWidget();
  return now == nullptr || now == w->window();
}

std::string QtApplication::NativeFileDialog(const FileRequest& request) {
  FlushViews();
  return RunFileDialog(QApplication::activeWindow(), request);
}

int QtApplication::NativePopupMenu(Control& owner, const MenuItems& items, MenuReason reason) {
  FlushViews();
  return RunPopupMenu(WidgetOf(owner), items, reason);
}

std::string QtApplication::ClipboardText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard != nullptr ? S(clipboard->text()) : std::string();
}

void QtApplication::NativeOpenLink(std::string_view url) {
  QDesktopServices::openUrl(QUrl(Q(url), QUrl::TolerantMode));
}

}  // namespace tk::qt
