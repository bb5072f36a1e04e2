// What only real Qt widgets show: modal boxes, the clipboard, painting,
// fonts, the message loop and the desktop's link handler.
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <stdexcept>

#include "app/config.h"
#include "core/text.h"
#include "lists/lists.h"
#include "qt_harness.h"

namespace {

using Numbers = std::vector<std::string>;

class QtWindow : public Behaviour {
 protected:
  QtHarness& Qh() { return static_cast<QtHarness&>(H()); }
  QWidget* W(std::string_view name) { return Qh().Widget(name); }
  QPlainTextEdit* ListView(std::string_view name) { return qobject_cast<QPlainTextEdit*>(W(name)); }
};

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
};

// Closes every modal box that appears by pressing `key`, noting what it showed.
class BoxCloser {
 public:
  explicit BoxCloser(Qt::Key key) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this, key] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      seen.push_back({box->windowTitle(), box->text(), box->icon()});
      QTest::keyClick(box, key);
    });
    timer_.start();
  }
  std::vector<SeenBox> seen;

 private:
  QTimer timer_;
};

const QString kTitle = QStringLiteral("Qelmar3D彩票助手");

TEST_F(QtWindow, RefusedInputShowsARealNoticeThatEnterCloses) {
  H().App().SetNoticeHook({});
  BoxCloser closer(Qt::Key_Return);
  Click("btnGet");  // no digits chosen
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_EQ(closer.seen[0].title, kTitle);
  EXPECT_EQ(closer.seen[0].text.toStdString(), numbers::kEmptyDigits);
  EXPECT_EQ(closer.seen[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  // The window goes on.
  Generate(true, "1", "2", "3");
  EXPECT_EQ(Lines("mmoList"), Numbers{"123"});
}

TEST_F(QtWindow, NoticeClosesWithEscapeToo) {
  H().App().SetNoticeHook({});
  BoxCloser closer(Qt::Key_Escape);
  H().App().ShowNotice("号码已存在 <b>&amp;</b>");
  ASSERT_EQ(closer.seen.size(), 1u);
  // Shown as plain text, markup and all.
  EXPECT_EQ(closer.seen[0].text, QStringLiteral("号码已存在 <b>&amp;</b>"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(QtWindow, AnErrorEscapingAHandlerShowsTheErrorBox) {
  H().App().SetErrorHook({});
  BoxCloser closer(Qt::Key_Escape);
  C("btn1").OnClick = [](tk::Control&) { throw std::runtime_error("磁盘已满"); };
  Click("btn1");
  ASSERT_EQ(closer.seen.size(), 1u);
  EXPECT_EQ(closer.seen[0].title, kTitle);
  EXPECT_EQ(closer.seen[0].text, QStringLiteral("磁盘已满"));
  EXPECT_EQ(closer.seen[0].icon, QMessageBox::Critical);
  Generate(true, "4", "5", "6");
  EXPECT_EQ(Lines("mmoList"), Numbers{"456"});
}

TEST_F(QtWindow, ListTextCanBeSelectedAndCopied) {
  Generate(true, "12", "3", "4");
  QPlainTextEdit* list = ListView("mmoList");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("134\n234\n"));
  // One line, chosen by its offsets in the list's own counting (CR LF as 2).
  User().Select(C("mmoList"), 5, 3);
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("234"));
  // The keys that copy do not change the list.
  EXPECT_EQ(Lines("mmoList"), (Numbers{"134", "234"}));
}

TEST_F(QtWindow, CaretOffsetsSurviveCharactersOutsideTheBasicPlane) {
  // U+1F600 is two UTF-16 units but one character.
  Paste("edtNum", "a😀b");
  User().PlaceCaret(C("edtNum"), 2);
  EXPECT_EQ(Form().edtNum.CaretOffset(), 2);
  Type("edtNum", "x");
  EXPECT_EQ(Text("edtNum"), "a😀xb");
  auto& list = List("mmoDel");
  list.AppendLine("😀😀1");
  list.AppendLine("234");
  User().PlaceCaret(list, 5 + 1);  // inside the second line
  EXPECT_EQ(list.CaretOffset(), 6);
  EXPECT_EQ(list.LineFromChar(list.CaretOffset()), 1);
}

TEST_F(QtWindow, KeyHandlersSeeTypedCharactersFirst) {
  tk::Edit& edit = Form().edtNum;
  edit.OnKeyPress = [](tk::Control&, char32_t& key) {
    if (key == U'a') key = U'中';  // replaced
    if (key == U'x') key = 0;      // discarded
  };
  Type("edtNum", "1a2x3");
  EXPECT_EQ(edit.Text(), "1中23");
  User().TypeChar(edit, tk::kBackspace);
  EXPECT_EQ(edit.Text(), "1中2");
  // Keys that type nothing pass untouched: Home, then Delete.
  QTest::keyClick(W("edtNum"), Qt::Key_Home);
  QTest::keyClick(W("edtNum"), Qt::Key_Delete);
  EXPECT_EQ(edit.Text(), "中2");
}

TEST_F(QtWindow, TextFromAnInputMethodPassesTheKeyHandlerToo) {
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("1二3"));
  QApplication::sendEvent(W("edtRight"), &commit);
  EXPECT_EQ(Text("edtRight"), "13");
  // A digit row's edit takes no character itself: the boxes tick instead.
  QInputMethodEvent digits;
  digits.setCommitString(QStringLiteral("72"));
  QApplication::sendEvent(W("edt1"), &digits);
  EXPECT_EQ(Text("edt1"), "72");
  EXPECT_TRUE(Box("chk8").Checked());
  EXPECT_TRUE(Box("chk3").Checked());
}

// Counts what one replacement of a list's whole text signals.
int SignalsOfOneReplacement() {
  QPlainTextEdit scratch;
  int changes = 0;
  QObject::connect(&scratch, &QPlainTextEdit::textChanged, [&] { ++changes; });
  scratch.setPlainText(QStringLiteral("000\n001\n"));
  return changes;
}

class EventCounter : public QObject {
 public:
  EventCounter(QObject* watched, QEvent::Type type) : type_(type) {
    watched->installEventFilter(this);
  }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == type_) ++count;
    return false;
  }

 private:
  QEvent::Type type_;
};

TEST_F(QtWindow, AHandlerReachesTheWidgetsOnceNotPerLine) {
  const int one = SignalsOfOneReplacement();
  ASSERT_GT(one, 0);
  const std::string all = "0123456789";
  Tick(0, all);
  Tick(1, all);
  Tick(2, all);
  int changes = 0;
  QObject::connect(ListView("mmoList"), &QPlainTextEdit::textChanged, [&] { ++changes; });
  // The count runs from 1 to 1000; its label grows once, not at 10, 100 and 1000.
  EventCounter resizes(W("lblCount"), QEvent::Resize);
  Click("btnGet");
  EXPECT_EQ(changes, one);
  EXPECT_EQ(resizes.count, 1);
  EXPECT_EQ(qobject_cast<QLabel*>(W("lblCount"))->text(), QStringLiteral("1000"));
  EXPECT_EQ(ListView("mmoList")->blockCount(), 1001);  // 1,000 lines and the empty rest

  changes = 0;
  Generate(false, "0123456789", "0123456789", "0123456789");
  Click("btnDelete");
  EXPECT_EQ(changes, one);
  EXPECT_EQ(ListView("mmoList")->toPlainText(), QString());
}

TEST_F(QtWindow, ARunThatPumpsMessagesShowsTheListAtMostOncePerFrame) {
  const int one = SignalsOfOneReplacement();
  Click("btnAll");
  Paste("edtNum", "0123456789");
  int changes = 0;
  QObject::connect(ListView("mmoList"), &QPlainTextEdit::textChanged, [&] { ++changes; });
  QElapsedTimer clock;
  clock.start();
  Click("btnDel");
  const qint64 ms = clock.elapsed();
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_EQ(ListView("mmoList")->toPlainText(), QString());
  // One refresh may come at the first pump, one per 16 ms after it, and
  // one when the handler returns.
  EXPECT_GE(changes / one, 1);
  EXPECT_LE(changes / one, ms / 16 + 2) << "in " << ms << " ms";
}

TEST_F(QtWindow, TheLoopShowsWhatAHandlerDidAndEndsWhenTheWindowCloses) {
  QWidget* all = W("btnAll");
  int shownBlocks = -1;
  QString shownCount;
  // Clicks from the loop itself: nothing of the test's driver settles them.
  QTimer::singleShot(0, [&] { QTest::mouseClick(all, Qt::LeftButton, {}, all->rect().center()); });
  QTimer::singleShot(40, [&] {
    shownBlocks = ListView("mmoList")->blockCount();
    shownCount = qobject_cast<QLabel*>(W("lblCount"))->text();
    Qh().window->close();
  });
  H().App().Run(Form());
  EXPECT_TRUE(Form().Closed());
  EXPECT_FALSE(Qh().window->isVisible());
  EXPECT_EQ(shownBlocks, 1001);
  EXPECT_EQ(shownCount, QStringLiteral("1000"));
}

TEST_F(QtWindow, ClosingTheWindowRunsTheCloseHandlerOnce) {
  int closes = 0;
  Form().OnClose = [&](tk::Control&, tk::CloseAction&) { ++closes; };
  QTimer::singleShot(0, [&] { Qh().window->close(); });
  H().App().Run(Form());
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(Form().Closed());
}

class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QStringList urls;

 public slots:
  void open(const QUrl& url) { urls << url.toString(); }
};

TEST_F(QtWindow, LinksGoToTheDesktopAndOnlyWebAddresses) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
  H().App().SetLinkHook({});
  Click("lbl10");
  Click("lbl12");
  Click("lbl9");
  H().App().OpenLink("file:///etc/passwd");
  H().App().OpenLink("https://example.com/a?b=中");
  for (const char* scheme : {"http", "https", "file"}) {
    QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }
  EXPECT_EQ(catcher.urls,
            (QStringList{QStringLiteral(QELMAR3D_HOME_URL), QStringLiteral(QELMAR3D_UPDATE_URL),
                         QStringLiteral("https://example.com/a?b=中")}));
}

int PixelsLike(const QImage& image, const std::function<bool(QColor)>& like) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += like(image.pixelColor(x, y)) ? 1 : 0;
  }
  return n;
}

TEST_F(QtWindow, PaintedColours) {
  auto red = [](QColor c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
  auto blue = [](QColor c) { return c.blue() > 200 && c.red() < 80 && c.green() < 80; };
  EXPECT_GT(PixelsLike(W("chk13")->grab().toImage(), red), 5);
  EXPECT_EQ(PixelsLike(W("chk3")->grab().toImage(), red), 0);
  EXPECT_GT(PixelsLike(W("lblCount")->grab().toImage(), blue), 3);
  EXPECT_GT(PixelsLike(W("lbl10")->grab().toImage(), blue), 20);

  const QImage empty = ListView("mmoDel")->grab().toImage();
  EXPECT_EQ(empty.pixelColor(empty.width() / 3, empty.height() / 2), QColor(255, 251, 240));
}

TEST_F(QtWindow, ASelectedLineStaysMarkedAfterTheFocusMovesOn) {
  // A desktop theme may paint the selection of an unfocused widget in a pale
  // colour of its own; this one paints it grey.
  const QPalette before = QApplication::palette();
  QPalette themed = before;
  themed.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0xC0, 0xC0, 0xC0));
  QApplication::setPalette(themed);
  {
    QtHarness h;
    tk::ListControl& list = h.Form().mmoList;
    for (const char* n : {"123", "456", "789"}) list.AppendLine(n);
    h.User().Select(list, 0, 3);
    h.Form().edtNum.GiveFocus();
    auto* view = qobject_cast<QPlainTextEdit*>(tk::qt::WidgetOf(list));
    ASSERT_FALSE(view->hasFocus());
    const QColor mark = view->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_GT(PixelsLike(view->grab().toImage(), [&](QColor c) { return c == mark; }), 50);
  }
  QApplication::setPalette(before);
}

TEST_F(QtWindow, ChineseTextHasRealGlyphs) {
  const QStringList wanted = tk::qt::LabelFontFamilies();  // every face, the labels' too
  for (tk::Control* c : Form().Controls()) {
    QWidget* w = tk::qt::WidgetOf(*c);
    if (w == nullptr) continue;
    SCOPED_TRACE(std::string(c->Name()));
    EXPECT_TRUE(wanted.contains(QFontInfo(w->font()).family()))
        << QFontInfo(w->font()).family().toStdString();
    const QFontMetrics metrics(w->font());
    for (char32_t ch : QString::fromStdString(c->Text()).toUcs4()) {
      EXPECT_TRUE(metrics.inFontUcs4(ch)) << "U+" << std::hex << static_cast<unsigned>(ch);
    }
  }
}

TEST_F(QtWindow, AHugePastedTextShowsAndTakesTheMouseAroundTheCaret) {
  // Digits, then a long run of blanks: the end shows digits, the start none.
  std::string text = "1234567890";
  text += std::string(20000, ' ');
  text += "1234567890";
  Paste("edtNum", text);
  auto* edit = qobject_cast<QLineEdit*>(W("edtNum"));
  auto dark = [](QColor c) { return c.lightness() < 100; };
  auto inked = [&] {
    const QImage shown = edit->grab().toImage();
    // Inside the frame only.
    return PixelsLike(shown.copy(shown.rect().adjusted(3, 3, -3, -3)), dark);
  };
  auto clickAt = [&](int x) {
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(x, edit->height() / 2));
    return Form().edtNum.CaretOffset();
  };
  const int end = static_cast<int>(core::CharCount(text));
  EXPECT_GT(inked(), 20);  // the caret is at the end, and so is the view
  EXPECT_GT(clickAt(edit->width() - 4), end - 3);
  EXPECT_GT(clickAt(edit->width() / 2), end - 40);
  EXPECT_LT(clickAt(edit->width() / 2), end - 3);
  QTest::keyClick(edit, Qt::Key_Home);
  EXPECT_EQ(Form().edtNum.CaretOffset(), 0);
  EXPECT_GT(inked(), 20);
  EXPECT_EQ(clickAt(5), 0);
  EXPECT_LT(clickAt(edit->width() / 2), 40);
  // The middle shows blanks alone: no ink but the steady caret.
  edit->setCursorPosition(10000);
  edit->setFocus();
  EXPECT_LT(inked(), 20);
  // A selection shows in the highlight colour.
  edit->selectAll();
  const QColor mark = edit->palette().color(QPalette::Highlight);
  EXPECT_GT(PixelsLike(edit->grab().toImage(), [&](QColor c) { return c == mark; }), 50);
  EXPECT_EQ(Text("edtNum"), text);
}

TEST_F(QtWindow, TheIconComesInEverySize) {
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QImage icon(QStringLiteral(":/icons/%1.png").arg(size));
    EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    // Drawn, not blank: the red card covers most of it.
    auto card = [](QColor c) { return c.alpha() > 200 && c.red() > 150 && c.green() < 90; };
    EXPECT_GT(PixelsLike(icon, card), size * size / 3) << size;
  }
}

}  // namespace

#include "qt_widgets_test.moc"
