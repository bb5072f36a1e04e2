// The behaviour suite on Qt Widgets.
#include "qt_harness.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/main_table.h"

QtHarness::QtHarness() {
  app.SetTitle(app::kTitle);
  rec.Attach(app);
  platform.SetProgramFolder(home.Slashed());
  // Ticks come from the test, never from the clock.
  app.SetManualTimers(true);
  form = std::make_unique<TForm1>(app);
  window = tk::qt::WidgetOf(form->Window());
  window->show();
  if (!QTest::qWaitForWindowExposed(window)) ADD_FAILURE() << "window never shown";
  window->activateWindow();
  app.FlushViews();
}

QtHarness::~QtHarness() {
  driver.Settle();
  form.reset();
}

std::optional<Look> QtHarness::LookOf(tk::Control& control) {
  QWidget* w = tk::qt::WidgetOf(control);
  if (w == nullptr) return std::nullopt;
  app.FlushViews();
  Look look;
  const QRect g = w->geometry();
  look.rect = {g.x(), g.y(), g.width(), g.height()};
  look.visible = w->isVisible();
  const QPalette& p = w->palette();
  look.textColor = static_cast<std::int32_t>(p.color(w->foregroundRole()).rgb() & 0xFFFFFF);
  auto* list = qobject_cast<QPlainTextEdit*>(w);
  const QPalette::ColorRole back = list != nullptr ? QPalette::Base : w->backgroundRole();
  look.background = static_cast<std::int32_t>(p.color(back).rgb() & 0xFFFFFF);
  look.fontPixelHeight = w->font().pixelSize();
  look.underline = w->font().underline();
  look.handCursor =
      w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::PointingHandCursor;
  if (list != nullptr) {
    look.readOnly = list->isReadOnly();
    look.keepsSelection = p.color(QPalette::Inactive, QPalette::Highlight) ==
                              p.color(QPalette::Active, QPalette::Highlight) &&
                          p.color(QPalette::Inactive, QPalette::HighlightedText) ==
                              p.color(QPalette::Active, QPalette::HighlightedText);
  } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    look.readOnly = edit->isReadOnly();
  }
  look.hint = w->toolTip().toStdString();
  return look;
}

std::vector<std::string> QtHarness::TabChain() {
  if (QWidget* f = window->focusWidget()) f->clearFocus();
  // With nothing focused, Tab goes to the first control.
  QTest::keyClick(window, Qt::Key_Tab);
  std::vector<std::string> names;
  for (int i = 0; i < 500; ++i) {
    QWidget* f = window->focusWidget();
    if (f == nullptr) break;
    const std::string name = f->objectName().toStdString();
    if (!names.empty() && name == names.front()) break;
    names.push_back(name);
    QTest::keyClick(f, Qt::Key_Tab);
  }
  return names;
}

void QtHarness::ResizeClient(int width, int height) {
  window->resize(width, height);
  for (int i = 0; i < 200 && window->size() != QSize(width, height); ++i) QTest::qWait(5);
  QApplication::processEvents();
  app.FlushViews();
}

std::optional<tk::Rect> QtHarness::WindowPlacement() {
  const QRect frame = window->frameGeometry();
  return tk::Rect{frame.x(), frame.y(), window->width(), window->height()};
}

void QtHarness::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

std::unique_ptr<Harness> MakeHarness() {
  return std::make_unique<QtHarness>();
}
