#include "toolkit/qt/qt_backend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <memory>

#include "toolkit/qt/qt_menu.h"
#include "toolkit/text.h"

namespace tk::qt {

namespace {

// A widget may be shown at most this often while a handler pumps messages.
constexpr qint64 kFrameMs = 16;

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string S(const QString& s) {
  return s.toStdString();
}

QColor ColorOf(std::int32_t rgb) {
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QFont MakeFont(int pixelHeight, bool underline, const QStringList& families = FontFamilies()) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixelHeight);
  font.setUnderline(underline);
  return font;
}

// Every Qt control can name its widget.
class Native {
 public:
  virtual ~Native() = default;
  virtual QWidget* Widget() const = 0;
};

// A control that holds others: docked children take the container's edges
// in turn (bottom, then left, then what is left), the others keep their
// distances to the edges they are anchored to.
class Container {
 public:
  virtual ~Container() = default;
  virtual QWidget* Host() const = 0;
  // The size the table was drawn for.
  virtual QSize DesignSize() const = 0;

  // Tab orders from the window down to this container.
  std::vector<int> tabPath;

  void Adopt(QWidget* child, const ControlSpec& def) { children_.push_back({child, &def}); }

  void Arrange() const {
    QWidget* host = Host();
    const auto* frame = qobject_cast<const QFrame*>(host);
    const int inset = frame != nullptr ? frame->frameWidth() : 0;
    QRect free = host->rect().adjusted(inset, inset, -inset, -inset);
    const int dw = host->width() - DesignSize().width();
    const int dh = host->height() - DesignSize().height();
    for (Dock pass : {Dock::Bottom, Dock::Left, Dock::Client}) {
      for (const Child& c : children_) {
        if (!c.widget || c.def->dock != pass) continue;
        const Rect& r = c.def->rect;
        if (pass == Dock::Bottom) {
          c.widget->setGeometry(free.left(), free.bottom() + 1 - r.height, free.width(), r.height);
          free.setBottom(free.bottom() - r.height);
        } else if (pass == Dock::Left) {
          c.widget->setGeometry(free.left(), free.top(), r.width, free.height());
          free.setLeft(free.left() + r.width);
        } else {
          c.widget->setGeometry(free);
        }
      }
    }
    for (const Child& c : children_) {
      if (!c.widget || c.def->dock != Dock::None) continue;
      const Rect& r = c.def->rect;
      const unsigned a = c.def->anchors;
      QRect g = c.widget->geometry();
      const bool stretchX = (a & kAnchorLeft) && (a & kAnchorRight);
      const bool stretchY = (a & kAnchorTop) && (a & kAnchorBottom);
      g.moveLeft(r.left + ((a & kAnchorRight) && !(a & kAnchorLeft) ? dw : 0));
      g.moveTop(r.top + ((a & kAnchorBottom) && !(a & kAnchorTop) ? dh : 0));
      if (stretchX) g.setWidth(r.width + dw);
      if (stretchY) g.setHeight(r.height + dh);
      c.widget->setGeometry(g);
    }
  }

 private:
  struct Child {
    QPointer<QWidget> widget;
    const ControlSpec* def;
  };
  std::vector<Child> children_;
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
    QFont plain = font();
    plain.setUnderline(false);
    p.setFont(plain);
    const QColor ink = palette().color(foregroundRole());
    p.setPen(ink);
    // A text wider than the label (a long count before its button) is drawn
    // narrower to fit.
    const int advance = QFontMetrics(plain).horizontalAdvance(text());
    if (advance > width() && width() > 0) p.scale(static_cast<qreal>(width()) / advance, 1);
    const TextPlacement at = PlaceText(font(), height());
    p.drawText(QPoint(0, at.baseline), text());
    if (font().underline() && !text().isEmpty()) {
      p.fillRect(0, at.underline, QFontMetrics(plain).horizontalAdvance(text()), at.underlineWidth,
                 ink);
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

// A line edit whose typed characters pass the control's key handler first.
class KeyEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  std::function<char32_t(char32_t)> filter;
  std::function<void()> handled;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    const char32_t typed = TypedChar(*e);
    if (typed == 0 || !filter) {
      QLineEdit::keyPressEvent(e);
      return;
    }
    QPointer<KeyEdit> alive(this);
    const char32_t acted = filter(typed);
    if (!alive) return;
    if (acted == typed) {
      QLineEdit::keyPressEvent(e);
    } else {
      e->accept();
      Act(acted);
    }
    if (handled) handled();
  }

  // What the edit does with a character its filter let through or chose.
  void Act(char32_t ch) {
    switch (ch) {
      case 0:
        break;
      case kBackspace:
        backspace();
        break;
      case kCtrlV:
        paste();
        break;
      case kCtrlX:
        cut();
        break;
      case kCtrlZ:
        undo();
        break;
      default:
        if (ch >= 32) insert(QString::fromUcs4(&ch, 1));
    }
  }

  // QLineEdit lays out and draws every glyph of its text on each paint,
  // caret blinks included: about a second for two million characters. A
  // text that long is shown from a window of it around the caret instead.
  void paintEvent(QPaintEvent* e) override {
    if (!Long()) {
      QLineEdit::paintEvent(e);
      return;
    }
    QPainter p(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);
    const Shown s = Window();
    p.setClipRect(s.box);
    QList<QTextLayout::FormatRange> selection;
    if (hasSelectedText()) {
      const int from = std::max(selectionStart(), s.first) - s.first;
      const int to = std::min(selectionEnd(), s.first + static_cast<int>(s.text.size())) - s.first;
      if (to > from) {
        QTextLayout::FormatRange r;
        r.start = from;
        r.length = to - from;
        r.format.setBackground(panel.palette.brush(QPalette::Highlight));
        r.format.setForeground(panel.palette.brush(QPalette::HighlightedText));
        selection.append(r);
      }
    }
    p.setPen(panel.palette.color(QPalette::Text));
    s.layout->draw(&p, s.origin, selection);
    if (hasFocus() && !hasSelectedText()) {
      const qreal x = s.layout->lineAt(0).cursorToX(cursorPosition() - s.first);
      p.fillRect(QRectF(s.origin.x() + x, s.origin.y(), 1, QFontMetricsF(font()).height()),
                 panel.palette.text());
    }
  }
  // The mouse places the caret in what is shown.
  void mousePressEvent(QMouseEvent* e) override {
    if (!Long() || e->button() != Qt::LeftButton) {
      QLineEdit::mousePressEvent(e);
      return;
    }
    setFocus(Qt::MouseFocusReason);
    const int at = PositionAt(e->position().x());
    if (!(e->modifiers() & Qt::ShiftModifier)) {
      anchor_ = at;
    } else if (!hasSelectedText()) {
      anchor_ = cursorPosition();
    }
    setSelection(anchor_, at - anchor_);
    e->accept();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!Long() || !(e->buttons() & Qt::LeftButton)) {
      QLineEdit::mouseMoveEvent(e);
      return;
    }
    setSelection(anchor_, PositionAt(e->position().x()) - anchor_);
    e->accept();
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (Long()) {
      mousePressEvent(e);
    } else {
      QLineEdit::mouseDoubleClickEvent(e);
    }
  }

  // Text from an input method goes through the same filter, one character
  // at a time.
  void inputMethodEvent(QInputMethodEvent* e) override {
    if (e->commitString().isEmpty() || !filter) {
      QLineEdit::inputMethodEvent(e);
      return;
    }
    QPointer<KeyEdit> alive(this);
    QString kept;
    for (char32_t ch : e->commitString().toUcs4()) {
      const char32_t acted = filter(ch);
      if (!alive) return;
      if (acted >= 32) kept += QString::fromUcs4(&acted, 1);
    }
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(kept, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    e->accept();
  }

 private:
  static constexpr qsizetype kLongText = 4096;  // UTF-16 units
  bool Long() const { return text().size() > kLongText; }

  // The part of a long text that the box shows: it starts at `first`, and
  // the caret stays inside the box, moving the start as little as it can.
  struct Shown {
    QRect box;
    int first = 0;
    QString text;
    std::unique_ptr<QTextLayout> layout;
    QPointF origin;
  };
  Shown Window() {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    Shown s;
    // QLineEdit's own margins around its text: 2 pixels across, 1 down.
    s.box = style()
                ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                .marginsRemoved(textMargins())
                .adjusted(2, 1, -2, -1);
    const QString all = text();
    const int caret = cursorPosition();
    const QFontMetricsF fm(font());
    // Every character is at least a pixel wide, but for marks.
    const int span = s.box.width() + 64;
    first_ = std::clamp(first_, std::max(0, caret - span), caret);
    int fit = caret;
    for (qreal used = 0; fit > first_;) {
      const int back = fit >= 2 && all[fit - 1].isLowSurrogate() ? 2 : 1;
      used += fm.horizontalAdvance(all.mid(fit - back, back));
      if (used >= s.box.width()) break;
      fit -= back;
    }
    first_ = std::max(first_, fit);
    if (first_ > 0 && first_ < all.size() && all[first_].isLowSurrogate()) ++first_;
    s.first = first_;
    s.text = all.mid(first_, qsizetype{2} * span);
    s.layout = std::make_unique<QTextLayout>(s.text, font());
    s.layout->beginLayout();
    s.layout->createLine();
    s.layout->endLayout();
    s.origin = QPointF(s.box.x(), s.box.y() + (s.box.height() - fm.height() + 1) / 2);
    return s;
  }
  int PositionAt(qreal x) {
    const Shown s = Window();
    return s.first + s.layout->lineAt(0).xToCursor(x - s.origin.x());
  }

  int first_ = 0;
  int anchor_ = 0;

  // Paste, cut and undo come as the control characters a Windows edit
  // gets for Ctrl+V, Ctrl+X and Ctrl+Z, whichever key the desktop binds.
  static constexpr char32_t kCtrlV = 22;
  static constexpr char32_t kCtrlX = 24;
  static constexpr char32_t kCtrlZ = 26;

  // The character a key press types: Backspace as 8, the editing shortcuts
  // as above, a printable character as itself, and 0 for keys that type
  // nothing (arrows, other shortcuts).
  static char32_t TypedChar(const QKeyEvent& e) {
    if (e.matches(QKeySequence::Paste)) return kCtrlV;
    if (e.matches(QKeySequence::Cut)) return kCtrlX;
    if (e.matches(QKeySequence::Undo)) return kCtrlZ;
    const auto mods = e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (e.key() == Qt::Key_Backspace) return mods ? 0 : kBackspace;
    const QList<uint> cps = e.text().toUcs4();
    if (cps.size() != 1 || cps[0] < 32 || cps[0] == 127) return 0;
    if (mods & (Qt::ControlModifier | Qt::MetaModifier)) return 0;
    return cps[0];
  }
};

// What every control with a widget shares.
template <class Base, class W>
class QtControl : public Base, public Native {
 public:
  QtControl(QtApplication& app, const ControlSpec& def, W* widget)
      : Base(app, def), qapp_(app), widget_(widget) {}
  ~QtControl() override { delete widget_.data(); }

  QWidget* Widget() const override { return widget_; }
  W* Get() const { return widget_; }

  bool Enabled() const override { return widget_->isEnabled(); }
  void NativeSetEnabled(bool enabled) override { widget_->setEnabled(enabled); }
  void GiveFocus() override { widget_->setFocus(Qt::OtherFocusReason); }
  // The control that keeps the focus inside its window.
  bool Focused() const override { return widget_->window()->focusWidget() == widget_; }
  std::string Hint() const override { return hint_; }
  void SetHint(std::string_view hint) override {
    hint_ = hint;
    ShowHint();
  }
  void SetShowHint(bool show) override {
    showHint_ = show;
    ShowHint();
  }

 protected:
  void ShowHint() { widget_->setToolTip(showHint_ ? Q(hint_) : QString()); }

  QtApplication& qapp_;
  std::string hint_;

 private:
  QPointer<W> widget_;
  bool showHint_ = this->Def().showHint;
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
    w->onClose = [this] {
      form_.RequestClose();
      qapp_.WindowClosed();
    };
    w->onShow = [this] {
      ApplyTabOrder();
      // A dialog is placed on its owner each time it opens.
      if (!placed_ && !form_.Def().dialog) PlaceOnScreen();
    };
  }

  std::string Text() const override { return S(Get()->windowTitle()); }
  void SetText(std::string_view text) override { Get()->setWindowTitle(Q(text)); }
  QWidget* Host() const override { return Get(); }
  QSize DesignSize() const override { return {Def().rect.width, Def().rect.height}; }

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
    placed_ = true;
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
  Form& form_;
  std::vector<TabStop> tabStops_;
  bool placed_ = false;
};

class QtPanel : public QtControl<Control, Resizing<QFrame>>, public Container {
 public:
  QtPanel(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new Resizing<QFrame>(parent)), text_(def.text) {
    Get()->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Get()->setLineWidth(1);
    Get()->onResize = [this] { Arrange(); };
  }
  // A panel shows no caption.
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override { text_ = text; }
  QWidget* Host() const override { return Get(); }
  QSize DesignSize() const override { return {Def().rect.width, Def().rect.height}; }

 private:
  std::string text_;
};

class QtGroupBox : public QtControl<Control, Resizing<QGroupBox>>, public Container {
 public:
  QtGroupBox(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new Resizing<QGroupBox>(Q(def.text), parent)) {
    Get()->onResize = [this] { Arrange(); };
  }
  std::string Text() const override { return S(Get()->title()); }
  void SetText(std::string_view text) override { Get()->setTitle(Q(text)); }
  QWidget* Host() const override { return Get(); }
  QSize DesignSize() const override { return {Def().rect.width, Def().rect.height}; }
};

// A label's text reaches the widget once per frame: a count shown 1,000
// times in a loop lays the label out once.
class QtLabel : public QtControl<Control, ClickLabel>, public Deferred {
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
  ~QtLabel() override { qapp_.Forget(*this); }

  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override {
    if (text == text_) return;
    text_ = text;
    qapp_.MarkDirty(*this);
  }
  // The hint, too, reaches the tooltip once per frame.
  void SetHint(std::string_view hint) override {
    if (hint == hint_) return;
    hint_ = hint;
    qapp_.MarkDirty(*this);
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

 private:
  std::string text_;
  int room_ = 0;
};

class QtButton : public QtControl<Control, QPushButton> {
 public:
  QtButton(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QPushButton(Q(def.text), parent)) {
    Get()->setAutoDefault(false);
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

class QtEdit : public QtControl<Edit, KeyEdit> {
 public:
  QtEdit(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new KeyEdit(parent)) {
    Get()->setMaxLength(def.maxLength > 0 ? def.maxLength : std::numeric_limits<int>::max());
    Get()->filter = [this](char32_t ch) { return FilterKey(ch); };
    Get()->handled = [this] { qapp_.EventHandled(); };
    QObject::connect(Get(), &QLineEdit::textChanged, [this] { RaiseChange(); });
  }
  std::string Text() const override { return S(Get()->text()); }
  void SetText(std::string_view text) override {
    Get()->setText(Q(text));
    Get()->setCursorPosition(0);  // where a native edit puts it after its text is set
  }
  int CaretOffset() const override {
    const KeyEdit* w = Get();
    const int at = w->hasSelectedText() ? w->selectionStart() : w->cursorPosition();
    return CodePointCount(w->text(), at);
  }
  void SetCaretOffset(int offset) override { Select(offset, 0); }

  void Select(int start, int length) {
    KeyEdit* w = Get();
    const QString text = w->text();
    const int from = Utf16Index(text, std::max(start, 0));
    const int to = Utf16Index(text, std::max(start, 0) + std::max(length, 0));
    if (to > from) {
      w->setSelection(from, to - from);
    } else {
      w->setCursorPosition(from);
    }
  }
};

// The lines live in the ListControl; the widget gets them in one
// replacement of its whole text, at most once per frame.
class QtList : public QtControl<ListControl, QPlainTextEdit>, public Deferred {
 public:
  QtList(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QPlainTextEdit(parent)) {
    QPlainTextEdit* w = Get();
    InstallListMenu(*this, w);
    w->setReadOnly(true);
    w->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    w->setTabChangesFocus(true);
    w->setUndoRedoEnabled(false);
    w->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette p = w->palette();
    if (def.background != kDefaultColor) p.setColor(QPalette::Base, ColorOf(def.background));
    // The selection looks the same whether or not the list has the focus.
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
      p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    }
    w->setPalette(p);
  }
  ~QtList() override { qapp_.Forget(*this); }

  int CaretOffset() const override {
    if (Queued()) qapp_.SyncNow(const_cast<QtList&>(*this));
    return ToModel(Get()->textCursor().selectionStart());
  }
  void SetCaretOffset(int offset) override { Select(offset, 0); }
  int SelectionLength() const override {
    if (Queued()) qapp_.SyncNow(const_cast<QtList&>(*this));
    const QTextCursor c = Get()->textCursor();
    return ToModel(c.selectionEnd()) - ToModel(c.selectionStart());
  }
  void SelectAll() override {
    if (Queued()) qapp_.SyncNow(*this);
    Get()->selectAll();
  }
  void CopySelection() override {
    if (Queued()) qapp_.SyncNow(*this);
    Get()->copy();
  }

  void Select(int start, int length) {
    if (Queued()) qapp_.SyncNow(*this);
    QTextCursor c = Get()->textCursor();
    c.setPosition(ToWidget(start));
    c.setPosition(ToWidget(start + std::max(length, 0)), QTextCursor::KeepAnchor);
    Get()->setTextCursor(c);
  }

  void Sync() override {
    QPlainTextEdit* w = Get();
    std::size_t size = 0;
    for (const auto& l : Lines()) size += l.size() + 1;
    std::string joined;
    joined.reserve(size);
    for (const auto& l : Lines()) {
      joined += l;
      joined += '\n';
    }
    // The caret keeps its offset and the view its scroll position, as when
    // lines are taken out of a native list one by one.
    const int caret = w->textCursor().selectionStart();
    const int scroll = w->verticalScrollBar()->value();
    w->setPlainText(QString::fromStdString(joined));
    QTextCursor c = w->textCursor();
    c.setPosition(std::min(caret, w->document()->characterCount() - 1));
    w->setTextCursor(c);
    w->verticalScrollBar()->setValue(scroll);
  }

 protected:
  void LinesChanged() override { qapp_.MarkDirty(*this); }

 private:
  // Widget positions count a line break as one UTF-16 unit; the control's
  // offsets count it as two characters (CR LF).
  int ToWidget(int offset) const {
    const QTextDocument* doc = Get()->document();
    const int line = LineFromChar(std::max(offset, 0));
    if (line >= LineCount()) return doc->characterCount() - 1;
    const int column = std::max(offset, 0) - LineStart(line);
    const QTextBlock block = doc->findBlockByNumber(line);
    return block.position() + Utf16Index(block.text(), column);
  }
  int ToModel(int position) const {
    const QTextBlock block = Get()->document()->findBlock(position);
    if (!block.isValid() || block.blockNumber() >= LineCount()) return LineStart(LineCount());
    return LineStart(block.blockNumber()) +
           CodePointCount(block.text(), position - block.position());
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
    if (!manual_) timer_.start();
  }
  QTimer* Native() { return &timer_; }

  std::string Text() const override { return {}; }
  void SetText(std::string_view) override {}
  bool Enabled() const override { return enabled_; }
  void NativeSetEnabled(bool enabled) override {
    enabled_ = enabled;
    if (enabled && !manual_) {
      timer_.start();
    } else {
      timer_.stop();
    }
  }
  void GiveFocus() override {}
  bool Focused() const override { return false; }
  std::string Hint() const override { return {}; }
  void SetHint(std::string_view) override {}
  void SetShowHint(bool) override {}

 private:
  QTimer timer_;
  bool manual_;
  bool enabled_ = true;
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

void SetSelection(Control& control, int start, int length) {
  if (auto* edit = dynamic_cast<QtEdit*>(&control)) {
    edit->Select(start, length);
  } else if (auto* list = dynamic_cast<QtList*>(&control)) {
    list->Select(start, length);
  } else {
    throw Error("No text to select in " + std::string(control.Name()));
  }
}

// ---- application ------------------------------------------------------------

QtApplication::QtApplication(Platform& platform) : Application(platform) {
  if (QApplication::instance() == nullptr) throw Error("QApplication must exist first");
  sinceFlush_.start();
  // Whatever a handler changed is shown before the loop waits again.
  aboutToBlock_ =
      QObject::connect(QAbstractEventDispatcher::instance(),
                       &QAbstractEventDispatcher::aboutToBlock, [this] { FlushViews(); });
}

QtApplication::~QtApplication() {
  QObject::disconnect(aboutToBlock_);
}

void QtApplication::MarkDirty(Deferred& view) {
  if (view.queued_) return;
  view.queued_ = true;
  dirty_.push_back(&view);
}

void QtApplication::Forget(Deferred& view) {
  if (!view.queued_) return;
  view.queued_ = false;
  dirty_.erase(std::remove(dirty_.begin(), dirty_.end(), &view), dirty_.end());
}

void QtApplication::SyncNow(Deferred& view) {
  Forget(view);
  view.Sync();
}

void QtApplication::FlushViews() {
  if (dirty_.empty()) {
    sinceFlush_.restart();
    return;
  }
  QElapsedTimer cost;
  cost.start();
  std::vector<Deferred*> now;
  now.swap(dirty_);
  for (Deferred* v : now) {
    v->queued_ = false;
    v->Sync();
  }
  flushCostMs_ = cost.elapsed();
  sinceFlush_.restart();
}

void QtApplication::PumpMessages() {
  struct Depth {
    int& d;
    explicit Depth(int& depth) : d(depth) { ++d; }
    ~Depth() { --d; }
  } depth(pumpDepth_);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // At most once a frame, and never more than half of the time: showing a
  // list of 100,000 lines takes longer than a frame.
  if (!dirty_.empty() && sinceFlush_.elapsed() >= std::max(kFrameMs, flushCostMs_)) FlushViews();
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
  bool tabStop = false;
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
      tabStop = true;
      break;
    case Kind::CheckBox:
      made = std::make_unique<QtCheckBox>(*this, def, host);
      tabStop = true;
      break;
    case Kind::Radio:
      made = std::make_unique<QtRadio>(*this, def, host);
      tabStop = true;
      break;
    case Kind::Edit:
      made = std::make_unique<QtEdit>(*this, def, host);
      tabStop = true;
      break;
    case Kind::List:
      made = std::make_unique<QtList>(*this, def, host);
      tabStop = true;
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
  parent->Adopt(w, def);
  // A label measures its first caption in its own font.
  if (auto* view = dynamic_cast<Deferred*>(made.get())) view->Sync();
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

void QtApplication::NativeOpenLink(std::string_view url) {
  QDesktopServices::openUrl(QUrl(Q(url), QUrl::TolerantMode));
}

}  // namespace tk::qt
