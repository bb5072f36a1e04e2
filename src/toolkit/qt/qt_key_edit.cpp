#include "toolkit/qt/qt_key_edit.h"

#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "toolkit/toolkit.h"

namespace tk::qt {

namespace {

// Paste, cut and undo come as the control characters a Windows edit
// gets for Ctrl+V, Ctrl+X and Ctrl+Z, whichever key the desktop binds.
constexpr char32_t kCtrlV = 22;
constexpr char32_t kCtrlX = 24;
constexpr char32_t kCtrlZ = 26;

// The character a key press types: Backspace as 8, the editing shortcuts
// as above, a printable character as itself, and 0 for keys that type
// nothing (arrows, other shortcuts).
char32_t TypedChar(const QKeyEvent& e) {
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

}  // namespace

void KeyEdit::keyPressEvent(QKeyEvent* e) {
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

void KeyEdit::Act(char32_t ch) {
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

void KeyEdit::paintEvent(QPaintEvent* e) {
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

void KeyEdit::mousePressEvent(QMouseEvent* e) {
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

void KeyEdit::mouseMoveEvent(QMouseEvent* e) {
  if (!Long() || !(e->buttons() & Qt::LeftButton)) {
    QLineEdit::mouseMoveEvent(e);
    return;
  }
  setSelection(anchor_, PositionAt(e->position().x()) - anchor_);
  e->accept();
}

void KeyEdit::mouseDoubleClickEvent(QMouseEvent* e) {
  if (Long()) {
    mousePressEvent(e);
  } else {
    QLineEdit::mouseDoubleClickEvent(e);
  }
}

void KeyEdit::inputMethodEvent(QInputMethodEvent* e) {
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

KeyEdit::Shown KeyEdit::Window() {
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

int KeyEdit::PositionAt(qreal x) {
  const Shown s = Window();
  return s.first + s.layout->lineAt(0).xToCursor(x - s.origin.x());
}

}  // namespace tk::qt
