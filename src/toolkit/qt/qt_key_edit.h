// The line edit of the Qt backend: typed characters pass the control's key
// handler first, and a very long text is painted from a window around the
// caret.
#pragma once

#include <QLineEdit>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <functional>
#include <memory>

namespace tk::qt {

class KeyEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  // The key handler: gets a typed character, answers the one to act on (0: none).
  std::function<char32_t(char32_t)> filter;
  // After a key the filter saw has been handled.
  std::function<void()> handled;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  // QLineEdit lays out and draws every glyph of its text on each paint,
  // caret blinks included: about a second for two million characters. A
  // text that long is shown from a window of it around the caret instead.
  void paintEvent(QPaintEvent* e) override;
  // The mouse places the caret in what is shown.
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  // Text from an input method goes through the same filter, one character
  // at a time.
  void inputMethodEvent(QInputMethodEvent* e) override;

 private:
  static constexpr qsizetype kLongText = 4096;  // UTF-16 units
  bool Long() const { return text().size() > kLongText; }

  // What the edit does with a character its filter let through or chose.
  void Act(char32_t ch);

  // The part of a long text that the box shows: it starts at `first`, and
  // the caret stays inside the box, moving the start as little as it can.
  struct Shown {
    QRect box;
    int first = 0;
    QString text;
    std::unique_ptr<QTextLayout> layout;
    QPointF origin;
  };
  Shown Window();
  int PositionAt(qreal x);

  int first_ = 0;
  int anchor_ = 0;
};

}  // namespace tk::qt
