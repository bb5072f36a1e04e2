// The Qt controls that hold text the user selects or picks: the line edit,
// the lists and the drop-down list.
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <algorithm>
#include <limits>

#include "toolkit/qt/qt_control.h"
#include "toolkit/qt/qt_key_edit.h"
#include "toolkit/qt/qt_menu.h"

namespace tk::qt {

namespace {

class QtEdit : public QtControl<Edit, KeyEdit> {
 public:
  QtEdit(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new KeyEdit(parent)) {
    Get()->setMaxLength(def.maxLength > 0 ? def.maxLength : std::numeric_limits<int>::max());
    Get()->filter = [this](char32_t ch) { return FilterKey(ch); };
    Get()->handled = [this] { qapp_.EventHandled(); };
    QObject::connect(Get(), &QLineEdit::textChanged, [this] { RaiseChange(); });
    // QLineEdit passes Enter on to its window once it has said so.
    QObject::connect(Get(), &QLineEdit::returnPressed, [this] {
      if (EnterPressed()) qapp_.EventHandled();
    });
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

class QtCombo : public QtControl<ComboBox, QComboBox> {
 public:
  QtCombo(QtApplication& app, const ControlSpec& def, QWidget* parent)
      : QtControl(app, def, new QComboBox(parent)) {
    Get()->setEditable(false);
    // `activated` comes from the user only.
    QObject::connect(Get(), &QComboBox::activated, [this](int index) {
      UserSelected(index);
      qapp_.EventHandled();
    });
  }
  std::string Text() const override { return ComboBox::Text(); }
  void SetText(std::string_view text) override { ComboBox::SetText(text); }

 protected:
  void NativeSetItems(const std::vector<std::string>& items) override {
    QComboBox* w = Get();
    const QSignalBlocker quiet(w);
    w->clear();
    for (const std::string& item : items) w->addItem(Q(item));
    w->setCurrentIndex(-1);
  }
  void NativeSetSelected(int index) override {
    const QSignalBlocker quiet(Get());
    Get()->setCurrentIndex(index);
  }
};

// The lines live in the ListControl; the widget gets them in one
// replacement of its whole text, at most once per frame.
class QtList : public QtControl<ListControl, QPlainTextEdit>, public View {
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

  int CaretOffset() const override {
    if (Queued()) qapp_.Views().SyncNow(const_cast<QtList&>(*this));
    return ToModel(Get()->textCursor().selectionStart());
  }
  void SetCaretOffset(int offset) override { Select(offset, 0); }
  int SelectionLength() const override {
    if (Queued()) qapp_.Views().SyncNow(const_cast<QtList&>(*this));
    const QTextCursor c = Get()->textCursor();
    return ToModel(c.selectionEnd()) - ToModel(c.selectionStart());
  }
  void SelectAll() override {
    if (Queued()) qapp_.Views().SyncNow(*this);
    Get()->selectAll();
  }
  void CopySelection() override {
    if (Queued()) qapp_.Views().SyncNow(*this);
    Get()->copy();
  }

  void Select(int start, int length) {
    if (Queued()) qapp_.Views().SyncNow(*this);
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
  void LinesChanged() override { qapp_.Views().MarkDirty(*this); }

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

}  // namespace

std::unique_ptr<Control> MakeEdit(QtApplication& app, const ControlSpec& def, QWidget* parent) {
  return std::make_unique<QtEdit>(app, def, parent);
}

std::unique_ptr<Control> MakeList(QtApplication& app, const ControlSpec& def, QWidget* parent) {
  return std::make_unique<QtList>(app, def, parent);
}

std::unique_ptr<Control> MakeCombo(QtApplication& app, const ControlSpec& def, QWidget* parent) {
  return std::make_unique<QtCombo>(app, def, parent);
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

}  // namespace tk::qt
